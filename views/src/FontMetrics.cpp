#include "views/FontMetrics.h"

#include "book/CodePage.h"
#include "book/Dbcs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

void installFontSubstitutions()
{
    // Chinese and Japanese faces of stored books; WenQuanYi Micro Hei covers both.
    for (const char* face : {"宋体", "SimSun", "新宋体", "NSimSun", "黑体", "SimHei", "MS Gothic", "MS Mincho"})
        QFont::insertSubstitution(QString::fromUtf8(face), QStringLiteral("WenQuanYi Micro Hei"));
}

QFont fontFromLogFont(const LOGFONT& logFont)
{
    QFont font(QString::fromUtf8(codepage::toUtf8(logFont.faceName())));
    font.setItalic(logFont.lfItalic != 0);
    font.setUnderline(logFont.lfUnderline != 0);
    font.setStrikeOut(logFont.lfStrikeOut != 0);
    const int weight = logFont.lfWeight <= 0 ? 400 : std::min(logFont.lfWeight, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));

    // Stored heights may be anything: keep the size sane, and work in 64 bits
    // and doubles so no height can overflow on the way.
    constexpr int kReference = 100;
    constexpr int64_t kMaxPixels = 1000;
    int64_t pixels = 16;
    if (logFont.lfHeight < 0) {
        pixels = -int64_t{logFont.lfHeight};
    } else if (logFont.lfHeight > 0) {
        const int64_t height = std::min<int64_t>(logFont.lfHeight, kMaxPixels * 4);
        font.setPixelSize(kReference);
        const double cell = QFontMetricsF(font).height();
        pixels = cell > 0 ? std::llround(static_cast<double>(height) * kReference / cell) : height;
    }
    font.setPixelSize(static_cast<int>(std::clamp<int64_t>(pixels, 1, kMaxPixels)));
    return font;
}

QtTextMeasurer::QtTextMeasurer(const LOGFONT& logFont) : QtTextMeasurer(fontFromLogFont(logFont)) {}

QtTextMeasurer::QtTextMeasurer(const QFont& font) : m_metrics(font), m_double(65536, -1)
{
    for (int c = 0; c < 128; ++c)
        m_single[static_cast<size_t>(c)] = measure(QString(QChar(c)));
    // A lead byte without its trail shows as the replacement character.
    const int64_t replacement = measure(QString(QChar(0xFFFD)));
    for (int c = 128; c < 256; ++c)
        m_single[static_cast<size_t>(c)] = replacement;
}

int64_t QtTextMeasurer::measure(const QString& text) const
{
    return std::llround(m_metrics.horizontalAdvance(text) * kUnit);
}

int64_t QtTextMeasurer::doubleByte(unsigned char lead, unsigned char trail)
{
    int64_t& cached = m_double[static_cast<size_t>(lead) * 256 + trail];
    if (cached < 0) {
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        cached = measure(QString::fromUtf8(codepage::toUtf8(std::string_view(pair, 2))));
    }
    return cached;
}

int64_t QtTextMeasurer::advance(std::string_view bytes)
{
    int64_t total = 0;
    for (size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (dbcs::charLength(bytes, i) == 2) {
            total += doubleByte(c, static_cast<unsigned char>(bytes[i + 1]));
            i += 2;
        } else {
            total += m_single[c];
            ++i;
        }
    }
    return total;
}
