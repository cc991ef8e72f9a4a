// Fonts of the book model (LOGFONT records) as the platform's fonts, and the
// measurer the layout uses with them.
#pragma once

#include "book/CodePage.h"
#include "book/TextMeasurer.h"
#include "book/WinTypes.h"

#include <QFont>
#include <QFontMetricsF>

#include <array>
#include <string>
#include <memory>
#include <map>
#include <unordered_map>
#include <vector>

// Faces the stored books name that this platform does not have.
void installFontSubstitutions();

// The font a LOGFONT names: its face (decoded from the system code page), a
// pixel size from its height (a positive height is the cell height, ascent
// plus descent, as on Windows; a negative one the character height), weight,
// italic, underline and strike-out.
QFont fontFromLogFont(const LOGFONT& logFont);

// Advances of the characters of page text in one font. Each character is
// measured once, decoded whole as it is drawn, and remembered, so long texts
// cost a table lookup a character.
class QtTextMeasurer : public TextMeasurer {
public:
    // Text in the code page of the font's character set, as it is drawn.
    explicit QtTextMeasurer(const LOGFONT& logFont);
    // Text in codePage, one of the names in book/CodePage.h.
    explicit QtTextMeasurer(const QFont& font, const char* codePage = codepage::kSystem);

    int64_t advance(std::string_view bytes) override;

private:
    int64_t measure(std::string_view character) const;
    int64_t doubleByte(std::string_view character);
    int64_t fourByte(std::string_view character);

    QFontMetricsF m_metrics;
    const char* m_codePage;
    std::array<int64_t, 256> m_single{};
    std::vector<int64_t> m_double;                  // by lead * 256 + trail; -1 until measured
    std::unordered_map<uint32_t, int64_t> m_four;  // by the four bytes
};

// The measurers of the fonts a painter meets, each made once. Past a few
// fonts it starts again, so a book of many fonts cannot grow it for good; a
// measurer stays good until the next call.
class MeasurerCache {
public:
    TextMeasurer& forFont(const LOGFONT& font);

private:
    static constexpr size_t kMaxFonts = 8;
    std::map<std::string, std::unique_ptr<QtTextMeasurer>> m_measurers;
};
