// The Windows value types the book model stores, with their exact layouts:
// colours as COLORREF, fonts as LOGFONT records, rectangles and points.
// No GUI types here: the model is shared by the reader, vltool and the tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

using COLORREF = uint32_t;  // 0x00BBGGRR

constexpr COLORREF rgb(uint8_t red, uint8_t green, uint8_t blue)
{
    return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) | (static_cast<COLORREF>(blue) << 16);
}
constexpr uint8_t redOf(COLORREF c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t greenOf(COLORREF c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t blueOf(COLORREF c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

// The 60-byte font record as the book file stores it.
struct LOGFONT {
    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    char lfFaceName[32] = {};

    // The face name, cut to 31 bytes so the record stays NUL-terminated.
    void setFaceName(std::string_view face)
    {
        std::memset(lfFaceName, 0, sizeof lfFaceName);
        std::memcpy(lfFaceName, face.data(), face.size() < sizeof lfFaceName ? face.size() : sizeof lfFaceName - 1);
    }
    std::string_view faceName() const { return {lfFaceName, ::strnlen(lfFaceName, sizeof lfFaceName)}; }

    friend bool operator==(const LOGFONT& a, const LOGFONT& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
};
static_assert(sizeof(LOGFONT) == 60, "LOGFONT must keep the Windows layout");

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool contains(int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    friend bool operator==(const Rect&, const Rect&) = default;
};
static_assert(sizeof(Rect) == 16);

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};
