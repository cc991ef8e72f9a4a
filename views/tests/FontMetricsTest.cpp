#include "views/FontMetrics.h"

#include "book/CodePage.h"
#include "book/PageStyle.h"
#include "book/TextLayout.h"

#include <QFontInfo>
#include <QGuiApplication>

#include <gtest/gtest.h>

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
