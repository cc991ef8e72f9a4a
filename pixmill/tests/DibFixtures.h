// Small pictures for the Pixmill tests, built pixel by pixel.
#pragma once

#include "pixmill/Pixmill.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <ostream>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

inline COLORREF ref(Rgb c)
{
    return static_cast<COLORREF>(c.r) | static_cast<COLORREF>(c.g) << 8 | static_cast<COLORREF>(c.b) << 16;
}

// Owns a DIB handle for the length of a test.
struct Dib {
    HDIB h = nullptr;
    Dib() = default;
    explicit Dib(HDIB handle) : h(handle) {}
    ~Dib() { DibFree(h); }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;
    HDIB* operator&() { return &h; }
    explicit operator bool() const { return h != nullptr; }
};

inline uint8_t* header(HDIB dib) { return static_cast<uint8_t*>(DibLock(dib)); }
inline int bitCountOf(HDIB dib)
{
    uint16_t bits = 0;
    std::memcpy(&bits, header(dib) + 14, 2);
    DibUnlock(dib);
    return bits;
}
inline uint32_t strideOf(int width, int bits) { return static_cast<uint32_t>(((width * bits + 31) / 32) * 4); }

// The colour of pixel (x, y from the top) of a 24-bit DIB.
inline Rgb at(HDIB dib, int x, int y)
{
    const auto* bits = static_cast<const uint8_t*>(GetDIBBits(dib));
    const int height = static_cast<int>(GetDIBHeight(dib));
    const uint8_t* p = bits + strideOf(static_cast<int>(GetDIBWidth(dib)), 24) * static_cast<size_t>(height - 1 - y) + 3 * x;
    return {p[2], p[1], p[0]};
}

// A 24-bit picture from rows of colours given top row first.
inline HDIB picture(const std::vector<std::vector<Rgb>>& rows)
{
    const int height = static_cast<int>(rows.size());
    const int width = static_cast<int>(rows[0].size());
    HDIB dib = CreateNewDIB(width, height, 0);
    auto* bits = static_cast<uint8_t*>(GetDIBBits(dib));
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bits + strideOf(width, 24) * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = rows[static_cast<size_t>(y)][static_cast<size_t>(x)].b;
            row[3 * x + 1] = rows[static_cast<size_t>(y)][static_cast<size_t>(x)].g;
            row[3 * x + 2] = rows[static_cast<size_t>(y)][static_cast<size_t>(x)].r;
        }
    }
    return dib;
}

// A picture with a colour table: `bits` of 1, 4 or 8, indices given top row first.
inline HDIB indexed(int bits, const std::vector<Rgb>& palette, const std::vector<std::vector<int>>& rows)
{
    const int height = static_cast<int>(rows.size());
    const int width = static_cast<int>(rows[0].size());
    const uint32_t stride = strideOf(width, bits);
    const size_t size = 40 + palette.size() * 4 + stride * static_cast<size_t>(height);
    HDIB dib = DibAlloc(size);
    uint8_t* p = header(dib);
    const uint32_t fields[10] = {40, static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                                 1u | static_cast<uint32_t>(bits) << 16, 0, stride * static_cast<uint32_t>(height), 0, 0,
                                 static_cast<uint32_t>(palette.size()), 0};
    std::memcpy(p, fields, sizeof fields);
    for (size_t i = 0; i < palette.size(); ++i) {
        p[40 + 4 * i] = palette[i].b;
        p[40 + 4 * i + 1] = palette[i].g;
        p[40 + 4 * i + 2] = palette[i].r;
    }
    uint8_t* pixels = p + 40 + palette.size() * 4;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = pixels + stride * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const int v = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
            if (bits == 8)
                row[x] = static_cast<uint8_t>(v);
            else if (bits == 4)
                row[x / 2] = static_cast<uint8_t>(row[x / 2] | (x % 2 == 0 ? v << 4 : v));
            else
                row[x / 8] = static_cast<uint8_t>(row[x / 8] | v << (7 - x % 8));
        }
    }
    DibUnlock(dib);
    return dib;
}

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255}, kBlack{0, 0, 0};
