// The one character rule of page text (GB18030) as every character-level
// operation sees it: tokens, cells, wrapping, cuts and selections.
#include "book/CBookPage.h"
#include "book/CodePage.h"
#include "book/Dbcs.h"
#include "book/TextLayout.h"
#include "book/TextMeasurer.h"

#include <gtest/gtest.h>

namespace {

const std::string kHan = "\xD6\xD0";               // 中, two bytes as in GBK
const std::string kEmoji = "\x94\x39\xFC\x36";     // U+1F600, four bytes
const std::string kHangul = "\x83\x34\xE9\x39";    // U+D55C 한, four bytes

TEST(CharacterRule, LengthsOfEveryKindOfCharacter)
{
    struct Case {
        std::string text;
        size_t length;
    };
    const Case cases[] = {
        {"a", 1},
        {kHan, 2},
        {"\x81\x40", 2},       // the lowest GBK trail
        {"\xFE\x80", 2},       // a trail of 0x80 exists in GBK
        {kEmoji, 4},
        {kHangul, 4},
        {"\x81\x30\x81\x30", 4},  // the first four-byte character
        {"\x80" "a", 1},       // 0x80 starts nothing
        {"\xFF\x40", 1},
        {"\xD6", 1},           // a lead byte cut off at the end
        {"\xD6 ", 1},          // a space cannot trail
        {"\xD6\r\n", 1},       // nor a line end
        {"\xD6\x7F", 1},
        {"\xD6\xFF", 1},
        {"\x81\x30\x81", 1},   // a four-byte character cut off
        {"\x81\x30" "ab", 1},  // a digit after a lead, but not a four-byte form
        {"\x81\x30\x81" "a", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dbcs::charLength(c.text, 0), c.length) << testing::PrintToString(c.text);
}

TEST(CharacterRule, GbkTextKeepsItsCellsAndFourByteCharactersTakeOne)
{
    const std::string gbk = codepage::fromUtf8("中文，书。ab c");
    EXPECT_EQ(codepage::fromUtf8("中文，书。ab c", "GBK"), gbk);  // the same bytes as GBK
    EXPECT_EQ(dbcs::cellCount(gbk), 8u);
    EXPECT_EQ(dbcs::cellCount("a" + kEmoji + kHangul + "b\r\n"), 4u);
    // a stray byte is a cell of its own, and the line end after it takes none
    EXPECT_EQ(dbcs::cellCount("\xD6\r\n"), 1u);
    EXPECT_EQ(dbcs::cellCount("\x80\xFF"), 2u);
}

TEST(CharacterRule, TokensNeverSwallowALineEndOrSplitACharacter)
{
    EXPECT_EQ(layout::tokenize("\xD6\r\nab", false),
              (std::vector<std::string_view>{"\xD6", "\r\n", "ab", }));
    EXPECT_EQ(layout::tokenize("x\xD6 y", false), (std::vector<std::string_view>{"x", "\xD6", " ", "y"}));
    EXPECT_EQ(layout::tokenize(kEmoji + kHan + "1" + kHangul, false),
              (std::vector<std::string_view>{kEmoji, kHan, "1", kHangul}));
}

TEST(CharacterRule, AStrayByteBeforeALineEndKeepsTheParagraphs)
{
    FixedMeasurer m;
    // Before, the stray byte took the carriage return as its trail and the two
    // paragraphs ran together.
    const auto lines = layout::wrap("one\xD6\r\ntwo\r\n", m, 407, false);
    EXPECT_EQ(lines, (std::vector<std::string>{"one\xD6\r\n", "two\r\n"}));
}

TEST(CharacterRule, AFourByteCharacterAtTheEndOfAFullLineMovesWhole)
{
    FixedMeasurer m;
    // Fixed metrics: digits are 8 pixels and tokens of their own; eleven fill
    // 88 of 100 pixels and a 16-pixel character does not fit after them.
    const std::string text = std::string("12345678901") + kEmoji + "2\r\n";
    const auto lines = layout::wrap(text, m, 100, false);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "12345678901");
    EXPECT_EQ(lines[1], kEmoji + "2\r\n");
    EXPECT_EQ(m.width(kEmoji), 16);
    EXPECT_EQ(m.width("\xD6 "), 16);  // a stray byte and a space are two narrow characters
}

TEST(CharacterRule, CutToLengthNeverLeavesPartOfACharacter)
{
    const std::string text = "ab" + kEmoji + "c";
    for (size_t n = 2; n < 6; ++n)
        EXPECT_EQ(dbcs::cutCopy(text, n), "ab") << n;
    EXPECT_EQ(dbcs::cutCopy(text, 6), "ab" + kEmoji);
    EXPECT_EQ(dbcs::cutCopy(text, 7), text);
    // stray bytes are whole characters, so a cut may fall after them
    EXPECT_EQ(dbcs::cutCopy("a\x80\x80" "b", 2), "a\x80");
    EXPECT_EQ(dbcs::cutCopy(kHan + "\xD6 ", 3), kHan + "\xD6");
}

TEST(CharacterRule, SelectionsAndJustifiedCellsTakeFourByteCharactersWhole)
{
    CBookPage page(PageKind::BookPage);
    page.lines = {"a" + kEmoji + "b" + kHangul + "\r\n"};
    page.rebuildCells();
    ASSERT_EQ(page.cells().size(), 4u);
    page.cells()[1].selected = 1;  // the emoji alone
    EXPECT_EQ(page.selectedText(false), kEmoji + "\r\n");

    FixedMeasurer m;
    const std::string line = kEmoji + kHan + kHangul + "xy";
    const layout::LineDrawing drawing = layout::justifyLine(line, 0, 0, 200, false, 20, m);
    ASSERT_EQ(drawing.cells.size(), 5u);
    EXPECT_EQ(drawing.cells[0].right - drawing.cells[0].left, 16);
    // each multi-byte character ends a segment: four segments spread over the line
    ASSERT_EQ(drawing.runs.size(), 4u);
    EXPECT_EQ(drawing.runs[0].text, kEmoji);
    EXPECT_EQ(drawing.runs[2].text, kHangul);
    EXPECT_EQ(drawing.runs[3].x + 16, 200);
}

TEST(CharacterRule, TitleCutsKeepFourByteCharactersWhole)
{
    IndexEntry entry;
    std::string title(IndexEntry::kImportLimit - 2, 'a');
    entry.setTitle(title + kEmoji);
    EXPECT_EQ(entry.titleText(), title);
}

}  // namespace
