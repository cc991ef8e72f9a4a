// What every codec plug-in needs: a size limit for hostile files, and new
// bottom-up DIBs built through Pixmill's handle layer. Plug-ins export the
// two calls of the protocol and nothing else.
#pragma once

#include "pixmill/Pixmill.h"

#include "DibView.h"

#include <cstdint>
#include <cstring>
#include <optional>

#define PIXMILL_CODEC_API extern "C" __attribute__((visibility("default")))

namespace codec {

// Files that declare more than this are refused before anything is allocated.
inline constexpr uint64_t kMaxPixels = uint64_t{64} << 20;
inline constexpr uint32_t kMaxDimension = 1u << 15;

inline bool sizeAllowed(uint64_t width, uint64_t height)
{
    return width > 0 && height > 0 && width <= kMaxDimension && height <= kMaxDimension &&
           width * height <= kMaxPixels;
}

inline uint32_t strideOf(uint32_t width, uint32_t bitCount)
{
    return ((width * bitCount + 31) / 32) * 4;
}

// A DIB being filled by a reader; released unless taken.
class NewDib {
public:
    NewDib(uint32_t width, uint32_t height, uint16_t bitCount, uint32_t colours)
        : m_height(height), m_stride(strideOf(width, bitCount)), m_colours(colours)
    {
        if (!sizeAllowed(width, height) || colours > 256)
            return;
        const size_t size = 40 + size_t{colours} * 4 + size_t{m_stride} * height;
        m_dib = DibAlloc(size);
        if (!m_dib)
            return;
        m_base = static_cast<uint8_t*>(DibLock(m_dib));
        const uint32_t header[10] = {40, width, height, 1u | (uint32_t{bitCount} << 16), 0, m_stride * height, 0, 0,
                                     bitCount <= 8 ? colours : 0, 0};
        std::memcpy(m_base, header, sizeof header);
    }
    ~NewDib()
    {
        if (m_dib) {
            DibUnlock(m_dib);
            DibFree(m_dib);
        }
    }
    NewDib(const NewDib&) = delete;
    NewDib& operator=(const NewDib&) = delete;

    bool ok() const { return m_dib != nullptr; }
    uint8_t* palette() const { return m_base + 40; }
    // The row y from the top.
    uint8_t* rowFromTop(uint32_t y) const { return m_base + 40 + m_colours * 4 + size_t{m_stride} * (m_height - 1 - y); }
    HDIB take()
    {
        HDIB dib = m_dib;
        if (dib)
            DibUnlock(dib);
        m_dib = nullptr;
        return dib;
    }

private:
    HDIB m_dib = nullptr;
    uint8_t* m_base = nullptr;
    uint32_t m_height, m_stride, m_colours;
};

// A DIB handed to a writer, locked while the object lives, seen through the
// library's checked view: a writer reads no header field and no byte that
// the view has not checked against the block.
class LockedDib {
public:
    explicit LockedDib(HDIB dib) : m_dib(dib)
    {
        if (!dib)
            return;
        m_view = pixmill::DibView::over(dib, static_cast<uint8_t*>(DibLock(dib)), DibSize(dib));
    }
    ~LockedDib()
    {
        if (m_dib)
            DibUnlock(m_dib);
    }
    LockedDib(const LockedDib&) = delete;
    LockedDib& operator=(const LockedDib&) = delete;

    // Nothing when the block's fields do not fit it.
    const std::optional<pixmill::DibView>& view() const { return m_view; }

private:
    HDIB m_dib;
    std::optional<pixmill::DibView> m_view;
};

// A 24-bit copy of a DIB for writers that only write full colour; freed
// with the object.
class FullColour {
public:
    explicit FullColour(HDIB dib) : m_dib(CloneDIB(dib))
    {
        if (m_dib && ChangeToFullColorDIB(&m_dib)) {
            m_width = static_cast<uint32_t>(GetDIBWidth(m_dib));
            m_height = static_cast<uint32_t>(GetDIBHeight(m_dib));
            m_bits = static_cast<uint8_t*>(GetDIBBits(m_dib));
        }
    }
    ~FullColour() { DibFree(m_dib); }
    FullColour(const FullColour&) = delete;
    FullColour& operator=(const FullColour&) = delete;

    bool ok() const { return m_bits != nullptr; }
    uint32_t width() const { return m_width; }
    uint32_t height() const { return m_height; }
    uint32_t stride() const { return strideOf(m_width, 24); }
    // Blue, green, red bytes of row y from the top.
    const uint8_t* rowFromTop(uint32_t y) const { return m_bits + size_t{stride()} * (m_height - 1 - y); }

private:
    HDIB m_dib;
    uint32_t m_width = 0, m_height = 0;
    uint8_t* m_bits = nullptr;
};

}  // namespace codec
