#include "views/FontMetrics.h"

#include "views/TextCodec.h"

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

QtTextMeasurer::QtTextMeasurer(const LOGFONT& logFont)
    : QtTextMeasurer(fontFromLogFont(logFont), codepage::forCharset(logFont.lfCharSet))
{
}

QtTextMeasurer::QtTextMeasurer(const QFont& font, const char* codePage)
    : m_metrics(font), m_codePage(codePage), m_double(65536, -1)
{
    // A high byte on its own is drawn as what it decodes to alone, mostly U+FFFD.
    for (int c = 0; c < 256; ++c) {
        const char byte = static_cast<char>(c);
        m_single[static_cast<size_t>(c)] = measure(std::string_view(&byte, 1));
    }
}

int64_t QtTextMeasurer::measure(std::string_view character) const
{
    QString text;
    TextDecoder::of(m_codePage).append(text, character);
    return std::llround(m_metrics.horizontalAdvance(text) * kUnit);
}

int64_t QtTextMeasurer::doubleByte(std::string_view character)
{
    const auto lead = static_cast<unsigned char>(character[0]), trail = static_cast<unsigned char>(character[1]);
    int64_t& cached = m_double[static_cast<size_t>(lead) * 256 + trail];
    if (cached < 0)
        cached = measure(character);
    return cached;
}

int64_t QtTextMeasurer::fourByte(std::string_view character)
{
    uint32_t key = 0;
    for (const char c : character)
        key = key << 8 | static_cast<unsigned char>(c);
    const auto [found, added] = m_four.try_emplace(key, 0);
    if (added)
        found->second = measure(character);
    return found->second;
}

int64_t QtTextMeasurer::advance(std::string_view bytes)
{
    int64_t total = 0;
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = dbcs::charLength(bytes, i);
        switch (length) {
        case 1: total += m_single[static_cast<unsigned char>(bytes[i])]; break;
        case 2: total += doubleByte(bytes.substr(i, 2)); break;
        default: total += fourByte(bytes.substr(i, length)); break;
        }
        i += length;
    }
    return total;
}

TextMeasurer& MeasurerCache::forFont(const LOGFONT& font)
{
    const std::string key(reinterpret_cast<const char*>(&font), sizeof font);
    if (m_measurers.size() >= kMaxFonts && !m_measurers.contains(key))
        m_measurers.clear();
    auto& measurer = m_measurers[key];
    if (!measurer)
        measurer = std::make_unique<QtTextMeasurer>(font);
    return *measurer;
}
