// The gif plug-in: GIF files through giflib. Reads the first picture of the
// file; writes pictures with a colour table (1, 4 or 8 bits).
#include "CodecSupport.h"

#include <gif_lib.h>

#include <vector>

namespace {

// The rows of an interlaced picture in the order they are stored.
std::vector<int> storedRowOrder(int height, bool interlaced)
{
    std::vector<int> order;
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            order.push_back(y);
        return order;
    }
    const int starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = starts[pass]; y < height; y += steps[pass])
            order.push_back(y);
    }
    return order;
}

}  // namespace

PIXMILL_CODEC_API HDIB LoadFromFile(const char* path)
{
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path, &error);
    if (!gif)
        return nullptr;
    HDIB result = nullptr;
    if (gif->SWidth > 0 && gif->SHeight > 0 && codec::sizeAllowed(gif->SWidth, gif->SHeight) &&
        DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0) {
        const SavedImage& frame = gif->SavedImages[0];
        const GifImageDesc& desc = frame.ImageDesc;
        const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        if (map && frame.RasterBits && desc.Width > 0 && desc.Height > 0 &&
            codec::sizeAllowed(desc.Width, desc.Height) && map->ColorCount > 0 && map->ColorCount <= 256) {
            codec::NewDib dib(static_cast<uint32_t>(desc.Width), static_cast<uint32_t>(desc.Height), 8,
                              static_cast<uint32_t>(map->ColorCount));
            if (dib.ok()) {
                for (int i = 0; i < map->ColorCount; ++i) {
                    uint8_t* entry = dib.palette() + 4 * i;
                    entry[0] = map->Colors[i].Blue;
                    entry[1] = map->Colors[i].Green;
                    entry[2] = map->Colors[i].Red;
                }
                const std::vector<int> order = storedRowOrder(desc.Height, desc.Interlace);
                for (size_t stored = 0; stored < order.size(); ++stored)
                    std::memcpy(dib.rowFromTop(static_cast<uint32_t>(order[stored])),
                                frame.RasterBits + stored * static_cast<size_t>(desc.Width),
                                static_cast<size_t>(desc.Width));
                result = dib.take();
            }
        }
    }
    DGifCloseFile(gif, &error);
    return result;
}

PIXMILL_CODEC_API int SaveToFile(HDIB dib, const char* path)
{
    const long colours = GetDIBColorsNum(dib);
    const auto* bits = static_cast<const uint8_t*>(GetDIBBits(dib));
    const auto* header = static_cast<const uint8_t*>(DibLock(dib));
    DibUnlock(dib);
    if (!bits || !header || colours <= 0)
        return 0;
    uint16_t bitCount = 0;
    std::memcpy(&bitCount, header + 14, 2);
    const long width = GetDIBWidth(dib), height = GetDIBHeight(dib);
    if (bitCount > 8 || width <= 0 || height <= 0)
        return 0;
    int tableSize = 2;
    while (tableSize < colours)
        tableSize *= 2;
    ColorMapObject* map = GifMakeMapObject(tableSize, nullptr);
    if (!map)
        return 0;
    const uint8_t* palette = header + 40;
    for (long i = 0; i < colours; ++i)
        map->Colors[i] = GifColorType{palette[4 * i + 2], palette[4 * i + 1], palette[4 * i]};
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path, false, &error);
    if (!gif) {
        GifFreeMapObject(map);
        return 0;
    }
    const auto w = static_cast<int>(width), h = static_cast<int>(height);
    bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK && EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    const uint32_t stride = codec::strideOf(static_cast<uint32_t>(w), bitCount);
    std::vector<GifPixelType> line(static_cast<size_t>(w));
    for (int y = 0; ok && y < h; ++y) {
        const uint8_t* row = bits + size_t{stride} * static_cast<size_t>(h - 1 - y);
        for (int x = 0; x < w; ++x) {
            switch (bitCount) {
            case 1: line[static_cast<size_t>(x)] = (row[x / 8] >> (7 - x % 8)) & 1; break;
            case 4: line[static_cast<size_t>(x)] = x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15; break;
            default: line[static_cast<size_t>(x)] = row[x]; break;
            }
        }
        ok = EGifPutLine(gif, line.data(), w) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    return ok ? 1 : 0;
}
