// The gif plug-in: GIF files through giflib. Reads the first picture of the
// file; writes pictures with a colour table (1, 4 or 8 bits).
#include "CodecSupport.h"

#include <gif_lib.h>

#include <vector>

namespace {

// Steps over the records before the first picture (extensions); true when
// an image descriptor follows.
bool toFirstImage(GifFileType* gif)
{
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) != GIF_OK)
            return false;
        if (type == IMAGE_DESC_RECORD_TYPE)
            return true;
        if (type != EXTENSION_RECORD_TYPE)
            return false;
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) != GIF_OK)
            return false;
        while (block) {
            if (DGifGetExtensionNext(gif, &block) != GIF_OK)
                return false;
        }
    }
}

// The rows of the first picture top to bottom, its four passes put in
// place when it is interlaced; empty when the data is damaged.
std::vector<GifPixelType> firstImageRows(GifFileType* gif, int width, int height, bool interlaced)
{
    std::vector<GifPixelType> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    const auto row = [&](int y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); };
    if (interlaced) {
        const int starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass) {
            for (int y = starts[pass]; y < height; y += steps[pass]) {
                if (DGifGetLine(gif, row(y), width) != GIF_OK)
                    return {};
            }
        }
    } else {
        for (int y = 0; y < height; ++y) {
            if (DGifGetLine(gif, row(y), width) != GIF_OK)
                return {};
        }
    }
    return pixels;
}

}  // namespace

// Only the first picture is read, and nothing is allocated for it before its
// size is checked: later frames may claim any size over a few bytes.
PIXMILL_CODEC_API HDIB LoadFromFile(const char* path)
{
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path, &error);
    if (!gif)
        return nullptr;
    HDIB result = nullptr;
    if (gif->SWidth > 0 && gif->SHeight > 0 && codec::sizeAllowed(gif->SWidth, gif->SHeight) &&
        toFirstImage(gif) && DGifGetImageDesc(gif) == GIF_OK) {
        const GifImageDesc& desc = gif->Image;
        const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        if (map && desc.Width > 0 && desc.Height > 0 && codec::sizeAllowed(desc.Width, desc.Height) &&
            map->ColorCount > 0 && map->ColorCount <= 256) {
            const std::vector<GifPixelType> pixels = firstImageRows(gif, desc.Width, desc.Height, desc.Interlace);
            codec::NewDib dib(static_cast<uint32_t>(desc.Width), static_cast<uint32_t>(desc.Height), 8,
                              static_cast<uint32_t>(map->ColorCount));
            if (!pixels.empty() && dib.ok()) {
                for (int i = 0; i < map->ColorCount; ++i) {
                    uint8_t* entry = dib.palette() + 4 * i;
                    entry[0] = map->Colors[i].Blue;
                    entry[1] = map->Colors[i].Green;
                    entry[2] = map->Colors[i].Red;
                }
                for (int y = 0; y < desc.Height; ++y)
                    std::memcpy(dib.rowFromTop(static_cast<uint32_t>(y)),
                                pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(desc.Width),
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
    const codec::LockedDib locked(dib);
    const auto& view = locked.view();
    if (!view || view->bitCount > 8 || view->colours == 0)
        return 0;
    int tableSize = 2;
    while (tableSize < static_cast<int>(view->colours))
        tableSize *= 2;
    ColorMapObject* map = GifMakeMapObject(tableSize, nullptr);
    if (!map)
        return 0;
    for (uint32_t i = 0; i < view->colours; ++i) {
        const pixmill::Bgr c = view->paletteColour(i);
        map->Colors[i] = GifColorType{c.r, c.g, c.b};
    }
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path, false, &error);
    if (!gif) {
        GifFreeMapObject(map);
        return 0;
    }
    const int w = view->width, h = view->height;
    bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(static_cast<size_t>(w));
    for (int y = 0; ok && y < h; ++y) {
        const uint8_t* row = view->rowFromTop(y);
        for (int x = 0; x < w; ++x) {
            unsigned index = 0;
            switch (view->bitCount) {
            case 1: index = (row[x / 8] >> (7 - x % 8)) & 1; break;
            case 4: index = x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15; break;
            default: index = row[x]; break;
            }
            // A pixel naming no colour of the table shows the first one.
            line[static_cast<size_t>(x)] = static_cast<GifPixelType>(index < view->colours ? index : 0);
        }
        ok = EGifPutLine(gif, line.data(), w) == GIF_OK;
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(map);
    return ok ? 1 : 0;
}
