// Fonts of the book model (LOGFONT records) as the platform's fonts, and the
// measurer the layout uses with them.
#pragma once

#include "book/TextMeasurer.h"
#include "book/WinTypes.h"

#include <QFont>
#include <QFontMetricsF>

#include <array>
#include <vector>

// Faces the stored books name that this platform does not have.
void installFontSubstitutions();

// The font a LOGFONT names: its face (decoded from the system code page), a
// pixel size from its height (a positive height is the cell height, ascent
// plus descent, as on Windows; a negative one the character height), weight,
// italic, underline and strike-out.
QFont fontFromLogFont(const LOGFONT& logFont);

// Advances of the characters of system code page text in one font. Each
// character is measured once and remembered, so long texts cost a table
// lookup a character.
class QtTextMeasurer : public TextMeasurer {
public:
    explicit QtTextMeasurer(const LOGFONT& logFont);
    explicit QtTextMeasurer(const QFont& font);

    int64_t advance(std::string_view bytes) override;

private:
    int64_t measure(const QString& text) const;
    int64_t doubleByte(unsigned char lead, unsigned char trail);

    QFontMetricsF m_metrics;
    std::array<int64_t, 256> m_single{};
    std::vector<int64_t> m_double;  // by lead * 256 + trail; -1 until measured
};
