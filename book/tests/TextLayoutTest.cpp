#include "DocFixtures.h"

#include "book/TextLayout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<std::string>;
using layout::tokenize;
using layout::wrap;

const std::string kHan = "\xD6\xD0";

TEST(Tokenize, KindsOfTokens)
{
    const std::string text = "Well-known  words,\t\t1234\r\n" + kHan + kHan + "\rend\n";
    EXPECT_EQ(tokenize(text, false),
              (std::vector<std::string_view>{"Well-known", " ", "words", ",", " ", "1", "2", "3", "4", "\r\n", kHan,
                                             kHan, "\r\n", "end", "\r\n"}));
    EXPECT_EQ(tokenize(text, true), (std::vector<std::string_view>{"Well-known", "words", ",", "1", "2", "3", "4",
                                                                    kHan, kHan, "end"}));
}

TEST(Tokenize, LongWordsAreSplitAndALoneLeadByteIsAToken)
{
    const std::string text = std::string(600, 'a') + "\xD6";
    const auto tokens = tokenize(text, false);
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[0].size(), layout::kMaxWordBytes);
    EXPECT_EQ(tokens[1].size(), layout::kMaxWordBytes);
    EXPECT_EQ(tokens[2].size(), 600 - 2 * layout::kMaxWordBytes);
    EXPECT_EQ(tokens[3], "\xD6");
}

// Fixed metrics: 8 pixels a byte character, so a 407-pixel line holds 50.
class Wrap : public testing::Test {
protected:
    FixedMeasurer m;
    Lines wrapped(const std::string& text) { return wrap(text, m, 407, true); }
};

TEST_F(Wrap, ParagraphsAreIndentedAndEndWithTheLineEnd)
{
    EXPECT_EQ(wrapped("One line.\nTwo"), (Lines{"    One line.\r\n", "    Two\r\n"}));
    EXPECT_EQ(wrap("One line.", m, 407, false), (Lines{"One line.\r\n"}));
}

TEST_F(Wrap, ABlankLineIsTheIndentAndTheLineEnd)
{
    EXPECT_EQ(wrapped("a\r\n\r\nb"), (Lines{"    a\r\n", "    \r\n", "    b\r\n"}));
}

TEST_F(Wrap, EnglishWordsNeverBreakInside)
{
    // 4 + 9 * 5 = 49 characters fit, the tenth word goes on
    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "word ";
    const Lines lines = wrapped(text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "    word word word word word word word word word");  // trailing space removed
    EXPECT_EQ(lines[1], "word word word \r\n");
    for (const std::string& line : lines)
        EXPECT_LE(m.width(line.substr(0, line.find('\r'))), 407);
}

TEST_F(Wrap, ChineseBreaksAnywhereAndDigitsBetweenEachOther)
{
    std::string chinese;
    for (int i = 0; i < 30; ++i)
        chinese += kHan;
    const Lines han = wrapped(chinese);
    ASSERT_EQ(han.size(), 2u);
    EXPECT_EQ(han[0].size(), 4 + 2 * 23u);  // (407 - 32) / 16 = 23 characters after the indent
    EXPECT_EQ(han[1], std::string(chinese.substr(0, 14)) + "\r\n");

    const Lines digits = wrapped(std::string(60, '1'));
    ASSERT_EQ(digits.size(), 2u);
    EXPECT_EQ(digits[0], "    " + std::string(46, '1'));
    EXPECT_EQ(digits[1], std::string(14, '1') + "\r\n");
}

TEST_F(Wrap, AWordWiderThanTheLineIsDropped)
{
    EXPECT_EQ(wrapped("short " + std::string(60, 'x') + " end"), (Lines{"    short  end\r\n"}));
}

TEST_F(Wrap, NothingBelowAHundredPixelsOrWithoutTokens)
{
    EXPECT_TRUE(wrap("text", m, 99, true).empty());
    EXPECT_TRUE(wrapped("").empty());
}

// Layout into pages: need-bookmark and need-index on, fixed metrics.
class Layout : public testing::Test {
protected:
    CVersaleoDoc doc;
    FixedMeasurer m;
    std::vector<PageKind> newKinds()
    {
        std::vector<PageKind> kinds;
        for (int i = doc.firstContentPage(); i <= doc.lastContentPage(); ++i)
            kinds.push_back(doc.pages[static_cast<size_t>(i)]->kind());
        return kinds;
    }
    static std::string lines(int n)
    {
        std::string text;
        for (int i = 0; i < n; ++i)
            text += "line\n";
        return text;
    }
};

TEST_F(Layout, AnEmptyTextGivesTheBookmarkLeafAndOneEmptyLeaf)
{
    TextSource source;
    layout::layOutText(doc, doc.firstContentPage(), "", &source, "caption", "title.txt", m);
    doc.rebuildIndexPages();
    EXPECT_EQ(newKinds(), (std::vector<PageKind>{PageKind::BookmarkPage, PageKind::BookmarkPage,
                                                 PageKind::BookPage, PageKind::BookPage}));
    const CBookPage& first = *doc.pages[6];
    EXPECT_TRUE(first.lines.empty());
    ASSERT_EQ(first.indexEntries.size(), 1u);
    EXPECT_EQ(first.indexEntries[0]->titleText(), "title.txt");
    EXPECT_EQ(doc.pages[4]->caption, "caption");
    EXPECT_EQ(source.firstPage, &first);
    EXPECT_EQ(source.lastPage, doc.pages[7].get());
    EXPECT_EQ(doc.modified, 1);
}

TEST_F(Layout, TwentySevenLinesMakeTwoBookPagesAndNoFiller)
{
    layout::layOutText(doc, doc.firstContentPage(), lines(27), nullptr, "c", "t", m);
    EXPECT_EQ(newKinds().size(), 4u);
    EXPECT_EQ(doc.pages[4]->lines.size(), 26u);
    EXPECT_EQ(doc.pages[5]->lines.size(), 1u);
    EXPECT_EQ(doc.pages[4]->cells().size(), 26u * 4);

    CVersaleoDoc plain;
    layout::layOutText(plain, plain.firstContentPage(), lines(27), nullptr, "", "", m);
    EXPECT_EQ(plain.pageCount(), 4 + 2);
}

TEST_F(Layout, TenLinesMakeOnePageAndAFiller)
{
    layout::layOutText(doc, doc.firstContentPage(), lines(10), nullptr, "", "", m);
    ASSERT_EQ(doc.pageCount(), 6);
    EXPECT_EQ(doc.pages[2]->lines.size(), 10u);
    EXPECT_TRUE(doc.pages[3]->lines.empty());
    EXPECT_EQ(doc.pages[3]->kind(), PageKind::BookPage);
}

TEST_F(Layout, TextAfterANulByteIsNotLaidOut)
{
    const std::string text = std::string("seen\n") + '\0' + "unseen\n";
    layout::layOutText(doc, doc.firstContentPage(), text, nullptr, "", "", m);
    EXPECT_EQ(doc.pages[2]->lines, (Lines{"    seen\r\n"}));
}

TEST(ImportText, CaptionAndTitleFromTheFileNameCutAtACharacterBoundary)
{
    CVersaleoDoc doc;
    FixedMeasurer m;
    // a 22-byte title whose 20th and 21st bytes are one character
    const std::string title = std::string(19, 't') + kHan + "x";
    layout::importText(doc, "/books/" + title + ".txt", "text\n", m);
    doc.rebuildIndexPages();
    EXPECT_EQ(doc.pages[4]->caption, std::string(19, 't'));
    ASSERT_EQ(doc.indexEntryCount(), 1);
    EXPECT_EQ(doc.indexEntries[0]->titleText(), title + ".txt");  // 26 bytes fit in 36
    ASSERT_EQ(doc.textSources.size(), 1u);
    EXPECT_EQ(doc.textSources[0]->bytes, "text\n");
    EXPECT_EQ(doc.textSources[0]->firstPage, doc.pages[6].get());

    CVersaleoDoc off;
    off.needBookmark = 0;
    off.needIndex = 0;
    layout::importText(off, "/books/a.txt", "text\n", m);
    EXPECT_EQ(off.pageCount(), 6);
    EXPECT_EQ(off.bookmarkCount(), 0);
}

TEST(ImportText, AFileNameOfTheFileSystemBecomesPageText)
{
    CVersaleoDoc doc;
    FixedMeasurer m;
    layout::importText(doc, "/books/\xE4\xB8\xAD\xE6\x96\x87.txt", "text\n", m);  // 中文.txt in UTF-8
    doc.rebuildIndexPages();
    EXPECT_EQ(doc.pages[4]->caption, "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(doc.indexEntries[0]->titleText(), "\xD6\xD0\xCE\xC4.txt");
}

TEST(ImportText, AnUnreadableFileIsAnEmptyText)
{
    EXPECT_EQ(layout::readPlainText(""), "");
    EXPECT_EQ(layout::readPlainText("/nonexistent/file.txt"), "");
}

class Justify : public testing::Test {
protected:
    FixedMeasurer m;
    static int rightEdge(const layout::LineDrawing& d, TextMeasurer& measurer)
    {
        const auto& last = d.runs.back();
        return last.x + measurer.width(last.text);
    }
};

TEST_F(Justify, AJustifiedLineEndsExactlyAtTheLineWidth)
{
    // words of 3, 5 and 2 characters: 80 px of text, 327 px over 2 gaps
    const auto d = layout::justifyLine("abc defgh ij", 40, 30, 407, false, 20, m);
    ASSERT_EQ(d.runs.size(), 3u);
    EXPECT_EQ(d.runs[0].x, 40);
    EXPECT_EQ(d.runs[1].x, 40 + 24 + 163 + 1);  // the first gap takes the rest pixel
    EXPECT_EQ(d.runs[2].x, 40 + 24 + 164 + 40 + 163);
    EXPECT_EQ(rightEdge(d, m), 40 + 407);
    ASSERT_EQ(d.cells.size(), 10u);
    EXPECT_EQ(d.cells[3], (Rect{d.runs[1].x, 30, d.runs[1].x + 8, 50}));
}

// Real fonts have fractional advances: 6.4 px a letter, 3.3 px a space.
class FractionalMeasurer : public TextMeasurer {
public:
    int64_t advance(std::string_view bytes) override
    {
        int64_t sum = 0;
        for (const char c : bytes)
            sum += c == ' ' ? 211 : 410;
        return sum;
    }
};

TEST_F(Justify, JustifiedLinesWithFractionalAdvancesEndExactlyAndCellsNeverOverlap)
{
    FractionalMeasurer fractional;
    for (const std::string line : {"a bb ccc dddd eeeee", "xy zw uv ts rq po nm lk ji hg fe dc ba", "one two"}) {
        const auto d = layout::justifyLine(line, 41, 0, 333, false, 10, fractional);
        ASSERT_GE(d.runs.size(), 2u) << line;
        EXPECT_EQ(rightEdge(d, fractional), 41 + 333) << line;
        EXPECT_EQ(d.cells.back().right, 41 + 333) << line;
        for (size_t i = 1; i < d.cells.size(); ++i)
            EXPECT_LE(d.cells[i - 1].right, d.cells[i].left) << line << " cell " << i;
        // Gaps between words differ by the rounding of two word starts at most.
        int smallest = 1 << 30, largest = 0;
        for (size_t k = 1; k < d.runs.size(); ++k) {
            const int gap = d.runs[k].x - (d.runs[k - 1].x + fractional.width(d.runs[k - 1].text));
            smallest = std::min(smallest, gap);
            largest = std::max(largest, gap);
        }
        EXPECT_LE(largest - smallest, 2) << line;
    }
}

// 6.5 px a letter: a last word whose advance ends on half a pixel.
class HalfPixelMeasurer : public TextMeasurer {
public:
    int64_t advance(std::string_view bytes) override { return 416 * static_cast<int64_t>(bytes.size()); }
};

TEST_F(Justify, ATightLinesLastWordNeitherOverlapsTheOneBeforeNorPassesTheEdge)
{
    HalfPixelMeasurer half;
    for (const int width : {13, 14, 27, 40}) {
        const auto d = layout::justifyLine("a b", 0, 0, width, false, 10, half);
        ASSERT_EQ(d.cells.size(), 2u) << width;
        EXPECT_LE(d.cells[0].right, d.cells[1].left) << width;
        EXPECT_EQ(d.cells[1].right, width) << width;
        EXPECT_EQ(rightEdge(d, half), width) << width;
    }
}

TEST_F(Justify, LeftAlignedCellsFollowTheExactAdvancesOfTheRun)
{
    FractionalMeasurer fractional;
    const auto d = layout::justifyLine("aaaaa aaaaa\r\n", 0, 0, 407, false, 10, fractional);
    ASSERT_EQ(d.cells.size(), 10u);
    // Ten letters and a space: 10 * 6.4 + 3.3 = 67.3 px, the last cell ends at 67.
    EXPECT_EQ(d.cells.back().right, 67);
    EXPECT_EQ(d.cells[4].right, 32);
    EXPECT_EQ(d.cells[5].left, 35);
}

TEST_F(Justify, IndentedFirstLineKeepsItsIndentAndSpreadsTheRest)
{
    const std::string line = "    ab " + kHan + kHan;
    const auto d = layout::justifyLine(line, 0, 0, 100, false, 10, m);
    // segments "  ", "  ", "ab", HAN, HAN
    ASSERT_EQ(d.runs.size(), 5u);
    EXPECT_EQ(d.runs[0].text, "  ");
    EXPECT_EQ(d.runs[2].text, "ab");
    EXPECT_EQ(d.runs[3].text, kHan);
    EXPECT_EQ(rightEdge(d, m), 100);
    EXPECT_EQ(d.cells.size(), 4u);  // the indent has no cells
}

TEST_F(Justify, ParagraphEndsAndSingleSegmentsAreLeftAligned)
{
    const auto end = layout::justifyLine("last words\r\n", 5, 0, 407, false, 10, m);
    ASSERT_EQ(end.runs.size(), 1u);
    EXPECT_EQ(end.runs[0].x, 5);
    EXPECT_EQ(end.cells.size(), 9u);
    EXPECT_EQ(end.cells[5].left, 5 + 6 * 8);  // the space advanced without a cell

    const auto word = layout::justifyLine("lonely", 5, 0, 407, false, 10, m);
    ASSERT_EQ(word.runs.size(), 1u);
    EXPECT_EQ(word.runs[0].x, 5);
    const auto han = layout::justifyLine(kHan, 5, 0, 407, false, 10, m);
    ASSERT_EQ(han.runs.size(), 1u);
    EXPECT_EQ(han.cells.size(), 1u);

    const auto forced = layout::justifyLine("a b c", 0, 0, 407, true, 10, m);
    EXPECT_EQ(forced.runs.size(), 1u);
    EXPECT_TRUE(layout::justifyLine("", 0, 0, 407, false, 10, m).runs.empty());
    EXPECT_TRUE(layout::justifyLine("a b", 0, 0, 0, false, 10, m).runs.empty());
}

}  // namespace
