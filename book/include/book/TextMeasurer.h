// How wide text is in the book-page font. The layout and the justification
// see only this interface; the program measures with the platform's fonts,
// vltool and the tests may use the fixed metrics below.
#pragma once

#include <cmath>
#include <cstdint>
#include <string_view>

class TextMeasurer {
public:
    static constexpr int64_t kUnit = 64;  // advances are kept in 1/64 pixel

    virtual ~TextMeasurer() = default;

    // The sum of the advances of the characters of `bytes` (system code page
    // text), in 1/64 pixel. Additive: the advance of a string is the sum of
    // the advances of its parts, so growing lines can be summed as they grow.
    virtual int64_t advance(std::string_view bytes) = 0;

    // Whole pixels, rounded once for the whole string.
    static int toPixels(int64_t advance) { return static_cast<int>((advance + kUnit / 2) / kUnit); }
    int width(std::string_view bytes) { return toPixels(advance(bytes)); }
};

// Every single-byte character 8 pixels wide, every double-byte character 16:
// layouts that come out the same on every machine.
class FixedMeasurer : public TextMeasurer {
public:
    int64_t advance(std::string_view bytes) override;
};
