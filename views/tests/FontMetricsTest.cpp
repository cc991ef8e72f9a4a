#include "views/FontMetrics.h"

#include "book/CodePage.h"
#include "book/PageStyle.h"
#include "book/TextLayout.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <cmath>

namespace {

class FontMetrics : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        installFontSubstitutions();
    }
};

TEST_F(FontMetrics, TheBookFontIsArialOrItsMetricTwin)
{
    const QFont font = fontFromLogFont(defaultBookFont());
    const QString family = QFontInfo(font).family();
    EXPECT_TRUE(family == "Arial" || family == "Liberation Sans") << family.toStdString();
    // a cell height of 20 is an em of about 18 pixels
    EXPECT_GE(font.pixelSize(), 17);
    EXPECT_LE(font.pixelSize(), 19);
    LOGFONT character = defaultBookFont();
    character.lfHeight = -20;
    EXPECT_EQ(fontFromLogFont(character).pixelSize(), 20);
}

// font-height-overflow.vl stored a cell height of 268435476 on a note page.
TEST_F(FontMetrics, HugeStoredHeightsGiveTheLargestSaneFont)
{
    LOGFONT font = defaultBookFont();
    for (const int32_t height : {268435476, INT32_MAX, INT32_MIN, -268435476}) {
        font.lfHeight = height;
        EXPECT_EQ(fontFromLogFont(font).pixelSize(), 1000) << height;
    }
    font.lfHeight = 1;
    EXPECT_EQ(fontFromLogFont(font).pixelSize(), 1);
}

TEST_F(FontMetrics, ChineseFacesFallBackToAChineseFont)
{
    LOGFONT song = defaultBookFont();
    song.setFaceName(codepage::fromUtf8("宋体"));
    EXPECT_EQ(QFontInfo(fontFromLogFont(song)).family(), QString("WenQuanYi Micro Hei"));
}

TEST_F(FontMetrics, AbsurdStoredSizesStaySane)
{
    LOGFONT huge = defaultBookFont();
    huge.lfHeight = INT32_MIN;
    EXPECT_EQ(fontFromLogFont(huge).pixelSize(), 1000);
    huge.lfHeight = 0;
    EXPECT_GT(fontFromLogFont(huge).pixelSize(), 0);
    huge.lfWeight = 99999;
    EXPECT_EQ(fontFromLogFont(huge).weight(), 1000);
}

TEST_F(FontMetrics, AdvancesAddUpAndRoundOncePerString)
{
    QtTextMeasurer m(defaultBookFont());
    const int64_t space = m.advance(" ");
    EXPECT_GT(space, 0);
    EXPECT_EQ(m.advance("    "), 4 * space);
    EXPECT_EQ(m.advance("ab"), m.advance("a") + m.advance("b"));
    const std::string han = codepage::fromUtf8("中文");
    EXPECT_EQ(han.size(), 4u);
    EXPECT_EQ(m.advance(han), m.advance(han.substr(0, 2)) + m.advance(han.substr(2)));
    // a Chinese character is wider than a Latin letter
    EXPECT_GT(m.advance(han.substr(0, 2)), m.advance("a"));
    // a wide letter is wider than a narrow one
    EXPECT_GT(m.width("WWWW"), m.width("iiii"));
}

// A character of four bytes (Hangul, emoji and everything else beyond GBK)
// is measured as the one character it decodes to, not as four stray bytes.
TEST_F(FontMetrics, AFourByteCharacterMeasuresAsTheCharacterItIs)
{
    const QFontMetricsF metrics(fontFromLogFont(defaultBookFont()));
    QtTextMeasurer m(defaultBookFont());
    for (const char* character : {"한", "😀", "\u0E01"}) {
        const std::string bytes = codepage::fromUtf8(character);
        ASSERT_EQ(bytes.size(), 4u) << character;
        const auto expected =
            std::llround(metrics.horizontalAdvance(QString::fromUtf8(character)) * TextMeasurer::kUnit);
        EXPECT_EQ(m.advance(bytes), expected) << character;
        EXPECT_EQ(m.advance(bytes), expected) << character;  // and again from what was kept
        EXPECT_EQ(m.advance("a" + bytes + "b"), m.advance("a") + expected + m.advance("b")) << character;
    }
}

TEST_F(FontMetrics, TextIsMeasuredInTheCodePageOfTheFontsCharacterSet)
{
    const std::string bytes = "\xA8\xA1";  // 芋 in Big5, ā in GBK
    LOGFONT song = defaultBookFont();
    song.setFaceName(codepage::fromUtf8("宋体"));
    song.lfCharSet = 136;
    const QFontMetricsF metrics(fontFromLogFont(song));
    const auto advanceOf = [&](const char* text) {
        return std::llround(metrics.horizontalAdvance(QString::fromUtf8(text)) * TextMeasurer::kUnit);
    };
    QtTextMeasurer big5(song);
    EXPECT_EQ(big5.advance(bytes), advanceOf("芋"));
    song.lfCharSet = 134;
    QtTextMeasurer gbk(song);
    EXPECT_EQ(gbk.advance(bytes), advanceOf("ā"));
    EXPECT_NE(advanceOf("芋"), advanceOf("ā"));
    // A measurer made from a platform font reads system text.
    EXPECT_EQ(QtTextMeasurer(fontFromLogFont(song)).advance(bytes), advanceOf("ā"));
}

TEST_F(FontMetrics, RealMetricsWrapEnglishWithinTheLineWidth)
{
    QtTextMeasurer m(defaultBookFont());
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "reading ";
    const auto lines = layout::wrap(text, m, 407, true);
    ASSERT_GT(lines.size(), 3u);
    for (const auto& line : lines) {
        EXPECT_LE(m.width(line.substr(0, line.find('\r'))), 407);
        EXPECT_NE(line.back(), ' ');
    }
    // the second line is full: one more word would not have fitted
    EXPECT_GT(m.width(lines[1] + " reading"), 407);
}

}  // namespace
