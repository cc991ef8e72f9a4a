#include "book/CBookPage.h"
#include "book/PageContent.h"

#include <gtest/gtest.h>

namespace {

const std::string kHan = "\xD6\xD0";          // one double-byte character
const std::string kFour = "\x81\x30\x81\x30";  // one four-byte character

TEST(ContentLine, TrimmedAndJoinedFromItsTokens)
{
    EXPECT_EQ(content::rebuildLine("  one \t two   three  ", false), "one two three");
    EXPECT_EQ(content::rebuildLine("\t", false), "");
    EXPECT_EQ(content::rebuildLine("", true), "\r\n");
}

TEST(ContentLine, KeepsTheParagraphIndentAndTheParagraphEnd)
{
    EXPECT_EQ(content::rebuildLine("    A new paragraph", false), "    A new paragraph");
    EXPECT_EQ(content::rebuildLine("      deeper still  ", true), "    deeper still\r\n");
    // Three spaces are no indent; an indent with nothing after it is no text.
    EXPECT_EQ(content::rebuildLine("   not indented", false), "not indented");
    EXPECT_EQ(content::rebuildLine("        ", false), "");
}

TEST(ContentLine, MultiByteCharactersStayWhole)
{
    // A trail byte 0x40-0x7E looks like a letter or '@' on its own.
    const std::string han = "\xB0\x41";
    EXPECT_EQ(content::rebuildLine(" " + han + kHan + "  " + kFour + " ", true), han + kHan + " " + kFour + "\r\n");
}

TEST(ContentLine, ALineWiderThanThePageIsStoredAsTyped)
{
    const std::string wide(500, 'w');
    EXPECT_EQ(content::rebuildLine(wide, false), wide);
}

TEST(ContentReplace, SlotsReplaceTheirLinesAndKeepParagraphEnds)
{
    CBookPage page(PageKind::BookPage);
    page.lines = {"    First line of", "a paragraph\r\n", "second\r\n"};
    std::vector<std::string> slots(26);
    slots[0] = "    First  line of";
    slots[1] = "the paragraph";
    slots[2] = "";
    page.setWideLines({"stale"});
    content::replaceLines(page, slots);
    EXPECT_EQ(page.lines, (std::vector<std::string>{"    First line of", "the paragraph\r\n", "\r\n"}));
    EXPECT_EQ(page.cells().size(), 23u);
    EXPECT_FALSE(page.hasWideLines());
}

TEST(ContentReplace, TextInALaterSlotAppendsTheLinesUpToIt)
{
    CBookPage page(PageKind::BookPage);
    page.lines = {"one\r\n"};
    std::vector<std::string> slots(26);
    slots[0] = "one";
    slots[3] = "four";
    content::replaceLines(page, slots);
    EXPECT_EQ(page.lines, (std::vector<std::string>{"one\r\n", "", "", "four"}));
    EXPECT_EQ(page.cells().back().line, 3);
}

TEST(ContentReplace, AShortenedPageDropsTheMarksPastItsEndAndCutsBackTheOneAcross)
{
    CBookPage page(PageKind::BookPage);
    page.lines = {"abcde", "fghij\r\n"};
    page.rebuildCells();
    page.marks = {{1, 0, 2}, {2, 3, 7}, {3, 6, 9}, {4, 9, 9}};
    std::vector<std::string> slots(26);
    slots[0] = "abcde";
    content::replaceLines(page, slots);
    ASSERT_EQ(page.cells().size(), 5u);
    ASSERT_EQ(page.marks.size(), 2u);
    EXPECT_EQ(page.marks[0].lastCell, 2);
    EXPECT_EQ(page.marks[1].firstCell, 3);
    EXPECT_EQ(page.marks[1].lastCell, 4);
    EXPECT_EQ(page.marks[1].colour, 2u);
}

TEST(ContentReplace, ASlotHoldingItsLineLeavesItByteForByte)
{
    CBookPage page(PageKind::BookPage);
    page.lines = {"Two.  Blanks \x80", "end\r\n"};
    std::vector<std::string> slots(26);
    slots[0] = page.lines[0];
    slots[1] = "the end";
    content::replaceLines(page, slots);
    EXPECT_EQ(page.lines, (std::vector<std::string>{"Two.  Blanks \x80", "the end\r\n"}));
}

TEST(ContentReplace, AnEmptiedPageKeepsNoMark)
{
    CBookPage page(PageKind::BookPage);
    page.lines = {"abc\r\n"};
    page.rebuildCells();
    page.marks = {{1, 0, 0}};
    content::replaceLines(page, std::vector<std::string>(26));
    EXPECT_EQ(page.lines, (std::vector<std::string>{"\r\n"}));
    EXPECT_TRUE(page.cells().empty());
    EXPECT_TRUE(page.marks.empty());
}

}  // namespace
