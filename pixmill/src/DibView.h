// A checked view of a locked DIB: its header fields, colour table and rows,
// with every size verified against the block before any pixel is touched.
// Internal to Pixmill; no GUI types.
#pragma once

#include "pixmill/Pixmill.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

static_assert(std::endian::native == std::endian::little, "DIB fields are little-endian");

namespace pixmill {

inline constexpr uint32_t kInfoHeaderSize = 40;
inline constexpr int kMaxDimension = 1 << 15;
inline constexpr uint64_t kMaxPixels = uint64_t{1} << 28;

struct Bgr {
    uint8_t b = 0, g = 0, r = 0;
};

inline Bgr fromColorRef(COLORREF c)
{
    return {static_cast<uint8_t>((c >> 16) & 0xFF), static_cast<uint8_t>((c >> 8) & 0xFF),
            static_cast<uint8_t>(c & 0xFF)};
}

inline uint32_t strideOf(int width, int bitCount)
{
    return static_cast<uint32_t>(((static_cast<uint64_t>(width) * static_cast<uint64_t>(bitCount) + 31) / 32) * 4);
}

template <typename T>
T readField(const uint8_t* p)
{
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

template <typename T>
void writeField(uint8_t* p, T value)
{
    std::memcpy(p, &value, sizeof value);
}

// The colours a header of this bit count implies when its colours-used field is 0.
constexpr uint32_t defaultColours(int bitCount)
{
    return bitCount == 1 ? 2 : bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
}

class DibView {
public:
    // Null for a null handle or a block whose fields do not fit it.
    static std::optional<DibView> of(HDIB dib);
    // The same for a block of `size` bytes at `base`: every field is checked
    // against the bytes really there. Header-only, so codec plug-ins (which
    // see the block through DibLock and DibSize) check DIBs the same way.
    static std::optional<DibView> over(HDIB handle, uint8_t* base, size_t size)
    {
        if (!base || size < 12)
            return std::nullopt;
        DibView view;
        view.handle = handle;
        view.base = base;
        view.blockSize = size;
        view.headerSize = readField<uint32_t>(base);
        uint32_t coloursUsed = 0;
        uint32_t compression = 0;
        if (view.headerSize == 12) {
            view.coreHeader = true;
            view.width = readField<uint16_t>(base + 4);
            view.height = readField<uint16_t>(base + 6);
            view.bitCount = readField<uint16_t>(base + 10);
            view.entrySize = 3;
        } else {
            if (view.headerSize < kInfoHeaderSize || view.headerSize > 4096 || size < view.headerSize)
                return std::nullopt;
            view.width = readField<int32_t>(base + 4);
            view.height = readField<int32_t>(base + 8);
            view.bitCount = readField<uint16_t>(base + 14);
            compression = readField<uint32_t>(base + 16);
            coloursUsed = readField<uint32_t>(base + 32);
        }
        switch (view.bitCount) {
        case 1: case 4: case 8: case 16: case 24: case 32: break;
        default: return std::nullopt;
        }
        if (compression != 0 || view.width <= 0 || view.height <= 0 || view.width > kMaxDimension ||
            view.height > kMaxDimension)
            return std::nullopt;
        view.colours = coloursUsed != 0 && !view.coreHeader ? coloursUsed : defaultColours(view.bitCount);
        if (view.colours > 256)
            return std::nullopt;
        view.stride = strideOf(view.width, view.bitCount);
        const uint64_t needed = uint64_t{view.headerSize} + uint64_t{view.colours} * view.entrySize +
                                uint64_t{view.stride} * static_cast<uint64_t>(view.height);
        if (needed > size)
            return std::nullopt;
        return view;
    }

    HDIB handle = nullptr;
    uint8_t* base = nullptr;
    size_t blockSize = 0;
    uint32_t headerSize = 0;
    bool coreHeader = false;
    int width = 0;
    int height = 0;
    int bitCount = 0;
    uint32_t colours = 0;
    uint32_t entrySize = 4;
    uint32_t stride = 0;

    uint8_t* palette() const { return base + headerSize; }
    uint8_t* bits() const { return base + headerSize + colours * entrySize; }
    // Stored row r (0 is the bottom row).
    uint8_t* row(int r) const { return bits() + static_cast<size_t>(r) * stride; }
    // The row that is y from the top.
    uint8_t* rowFromTop(int y) const { return row(height - 1 - y); }
    Bgr paletteColour(uint32_t index) const
    {
        if (index >= colours)
            return {};
        const uint8_t* e = palette() + index * entrySize;
        return {e[0], e[1], e[2]};
    }
    // The colour of pixel x of a stored row, at any supported depth.
    Bgr pixel(const uint8_t* rowBytes, int x) const;
    bool contains(int x, int y, int w, int h) const
    {
        return x >= 0 && y >= 0 && w > 0 && h > 0 && x <= width - w && y <= height - h;
    }
};

// A new zero-filled DIB with a 40-byte header and room for `colours` entries.
HDIB newDib(int width, int height, int bitCount, uint32_t colours);
// A new DIB laid out like `like` (header and colour table copied) with
// another width and height.
HDIB newDibLike(const DibView& like, int width, int height);

// Replaces *dib by `replacement` (freeing the old block); returns 1.
int replaceDib(HDIB* dib, HDIB replacement);

// Converts *dib to 24 bits when it has another depth; false on failure.
bool ensureFullColour(HDIB* dib);

}  // namespace pixmill
