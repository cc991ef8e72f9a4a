#include "DibView.h"

#include <cstdlib>
#include <new>

struct DibBlock {
    size_t size = 0;
    int locks = 0;
    uint8_t* data = nullptr;
};

HDIB DibAlloc(size_t size)
{
    if (size == 0)
        return nullptr;
    auto* block = new (std::nothrow) DibBlock;
    if (!block)
        return nullptr;
    block->data = static_cast<uint8_t*>(std::calloc(size, 1));
    if (!block->data) {
        delete block;
        return nullptr;
    }
    block->size = size;
    return block;
}

void* DibLock(HDIB dib)
{
    if (!dib)
        return nullptr;
    ++dib->locks;
    return dib->data;
}

int DibUnlock(HDIB dib)
{
    if (!dib || dib->locks == 0)
        return 0;
    return --dib->locks;
}

size_t DibSize(HDIB dib)
{
    return dib ? dib->size : 0;
}

HDIB DibFree(HDIB dib)
{
    if (dib) {
        std::free(dib->data);
        delete dib;
    }
    return nullptr;
}

namespace pixmill {

std::optional<DibView> DibView::of(HDIB dib)
{
    if (!dib)
        return std::nullopt;
    return over(dib, dib->data, dib->size);
}

Bgr DibView::pixel(const uint8_t* rowBytes, int x) const
{
    switch (bitCount) {
    case 1: return paletteColour((rowBytes[x / 8] >> (7 - x % 8)) & 1);
    case 4: return paletteColour(x % 2 == 0 ? rowBytes[x / 2] >> 4 : rowBytes[x / 2] & 15);
    case 8: return paletteColour(rowBytes[x]);
    case 16: {
        const uint16_t v = readField<uint16_t>(rowBytes + 2 * x);
        return {static_cast<uint8_t>((v & 31) << 3), static_cast<uint8_t>(((v >> 5) & 31) << 3),
                static_cast<uint8_t>(((v >> 10) & 31) << 3)};
    }
    case 24: return {rowBytes[3 * x], rowBytes[3 * x + 1], rowBytes[3 * x + 2]};
    default: return {rowBytes[4 * x], rowBytes[4 * x + 1], rowBytes[4 * x + 2]};
    }
}

HDIB newDib(int width, int height, int bitCount, uint32_t colours)
{
    if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxPixels)
        return nullptr;
    const uint32_t stride = strideOf(width, bitCount);
    const size_t size = kInfoHeaderSize + colours * 4 + static_cast<size_t>(stride) * static_cast<size_t>(height);
    HDIB dib = DibAlloc(size);
    if (!dib)
        return nullptr;
    uint8_t* p = static_cast<uint8_t*>(DibLock(dib));
    writeField<uint32_t>(p, kInfoHeaderSize);
    writeField<int32_t>(p + 4, width);
    writeField<int32_t>(p + 8, height);
    writeField<uint16_t>(p + 12, 1);
    writeField<uint16_t>(p + 14, static_cast<uint16_t>(bitCount));
    writeField<uint32_t>(p + 20, stride * static_cast<uint32_t>(height));
    if (colours != defaultColours(bitCount))
        writeField<uint32_t>(p + 32, colours);
    DibUnlock(dib);
    return dib;
}

HDIB newDibLike(const DibView& like, int width, int height)
{
    if (like.coreHeader) {
        // Copies of core-header pictures get an information header.
        HDIB dib = newDib(width, height, like.bitCount, like.colours);
        if (!dib)
            return nullptr;
        auto view = DibView::of(dib);
        for (uint32_t i = 0; i < like.colours; ++i)
            std::memcpy(view->palette() + 4 * i, like.palette() + 3 * i, 3);
        return dib;
    }
    if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxPixels)
        return nullptr;
    const uint32_t stride = strideOf(width, like.bitCount);
    const size_t prefix = like.headerSize + like.colours * like.entrySize;
    HDIB dib = DibAlloc(prefix + static_cast<size_t>(stride) * static_cast<size_t>(height));
    if (!dib)
        return nullptr;
    uint8_t* p = static_cast<uint8_t*>(DibLock(dib));
    std::memcpy(p, like.base, prefix);
    writeField<int32_t>(p + 4, width);
    writeField<int32_t>(p + 8, height);
    writeField<uint32_t>(p + 20, stride * static_cast<uint32_t>(height));
    DibUnlock(dib);
    return dib;
}

int replaceDib(HDIB* dib, HDIB replacement)
{
    DibFree(*dib);
    *dib = replacement;
    return 1;
}

bool ensureFullColour(HDIB* dib)
{
    const auto view = DibView::of(*dib);
    if (!view)
        return false;
    return view->bitCount == 24 || ChangeToFullColorDIB(dib) == 1;
}

}  // namespace pixmill
