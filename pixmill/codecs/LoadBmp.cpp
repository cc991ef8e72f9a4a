// The bmp plug-in: Windows bitmap files, read and written by hand.
#include "CodecSupport.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

uint32_t u32(const std::string& b, size_t at) { uint32_t v; std::memcpy(&v, b.data() + at, 4); return v; }
int32_t i32(const std::string& b, size_t at) { int32_t v; std::memcpy(&v, b.data() + at, 4); return v; }
uint16_t u16(const std::string& b, size_t at) { uint16_t v; std::memcpy(&v, b.data() + at, 2); return v; }

}  // namespace

PIXMILL_CODEC_API HDIB LoadFromFile(const char* path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return nullptr;
    const std::streamoff fileSize = in.tellg();
    if (fileSize < 26 || fileSize > (std::streamoff{1} << 30))
        return nullptr;
    std::string file(static_cast<size_t>(fileSize), '\0');
    in.seekg(0);
    if (!in.read(file.data(), fileSize) || file[0] != 'B' || file[1] != 'M')
        return nullptr;

    const uint32_t offBits = u32(file, 10);
    const uint32_t headerSize = u32(file, 14);
    const bool core = headerSize == 12;
    if (!core && (headerSize < 40 || headerSize > 1024))
        return nullptr;
    if (14 + uint64_t{headerSize} > file.size())
        return nullptr;
    int64_t width = core ? u16(file, 18) : i32(file, 18);
    int64_t height = core ? u16(file, 20) : i32(file, 22);
    const uint16_t bitCount = core ? u16(file, 24) : u16(file, 28);
    const uint32_t compression = core ? 0 : u32(file, 30);
    const uint32_t used = core ? 0 : u32(file, 46);
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (compression != 0 || width <= 0 || !codec::sizeAllowed(static_cast<uint64_t>(width), static_cast<uint64_t>(height)))
        return nullptr;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return nullptr;
    const uint32_t defaults = bitCount <= 8 ? (1u << bitCount) : 0;
    const uint32_t colours = bitCount <= 8 ? (used != 0 ? used : defaults) : 0;
    if (colours > 256)
        return nullptr;
    const uint32_t entry = core ? 3 : 4;
    const uint64_t paletteAt = 14 + uint64_t{headerSize};
    const auto w = static_cast<uint32_t>(width), h = static_cast<uint32_t>(height);
    const uint32_t stride = codec::strideOf(w, bitCount);
    if (paletteAt + uint64_t{colours} * entry > file.size() || offBits > file.size() ||
        uint64_t{stride} * h > file.size() - offBits)
        return nullptr;

    codec::NewDib dib(w, h, bitCount, colours);
    if (!dib.ok())
        return nullptr;
    for (uint32_t i = 0; i < colours; ++i)
        std::memcpy(dib.palette() + 4 * i, file.data() + paletteAt + i * entry, 3);
    for (uint32_t y = 0; y < h; ++y) {
        // Stored bottom-up unless the height was negative.
        const uint32_t stored = topDown ? y : h - 1 - y;
        std::memcpy(dib.rowFromTop(y), file.data() + offBits + size_t{stride} * stored, stride);
    }
    return dib.take();
}

PIXMILL_CODEC_API int SaveToFile(HDIB dib, const char* path)
{
    const codec::LockedDib locked(dib);
    const auto& view = locked.view();
    // The file holds the whole checked block; its sizes must fit 32 bits.
    if (!view || view->blockSize > UINT32_MAX - 14)
        return 0;
    const auto offBits = static_cast<uint32_t>(14 + (view->bits() - view->base));
    const auto fileSize = static_cast<uint32_t>(14 + view->blockSize);
    FILE* out = std::fopen(path, "wb");
    if (!out)
        return 0;
    uint8_t header[14] = {'B', 'M'};
    std::memcpy(header + 2, &fileSize, 4);
    std::memcpy(header + 10, &offBits, 4);
    bool ok = std::fwrite(header, 1, sizeof header, out) == sizeof header;
    ok = ok && std::fwrite(view->base, 1, view->blockSize, out) == view->blockSize;
    ok = std::fclose(out) == 0 && ok;
    return ok ? 1 : 0;
}
