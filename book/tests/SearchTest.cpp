#include "book/BookSearch.h"
#include "book/CVersaleoDoc.h"

#include "DocFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace booksearch;

constexpr auto npos = std::string_view::npos;

// GBK bytes of some characters.
const std::string kZhong = "\xD6\xD0";  // 中
const std::string kWen = "\xCE\xC4";    // 文
const std::string kA = "\xB0\xA1";      // 啊
const std::string kMo = "\xC4\xB0";     // 谋, whose trail byte is 啊's lead byte
const std::string kSpace = "\xA1\xA1";  // the full-width space

// A book whose content pages hold the given lines, after its covers and index.
class SearchBook : public testing::Test {
protected:
    SearchBook() { addBookPages(doc, 2); }
    int addPage(std::vector<std::string> lines, PageKind kind = PageKind::BookPage)
    {
        PageList leaf;
        auto page = doc.createPage(kind);
        page->lines = std::move(lines);
        page->rebuildCells();
        leaf.push_back(std::move(page));
        leaf.push_back(doc.createPage(kind));
        const int at = doc.lastContentPage() + 1;
        doc.insertPages(at, std::move(leaf));
        return at;
    }
    Query query(std::string text, bool matchCase = false, bool wide = false) { return {std::move(text), matchCase, wide}; }
    CVersaleoDoc doc;
};

TEST(SearchText, AChineseWordNeverMatchesAcrossACharacterBoundary)
{
    // 谋 then the full-width space: C4 B0 A1 A1 holds the bytes of 啊 (B0 A1)
    // from the middle of one character into the next.
    EXPECT_EQ(findFirst(kMo + kSpace, kA, 0), npos);
    EXPECT_EQ(findLastBefore(kMo + kSpace, kA, 100), npos);
    EXPECT_EQ(findFirst(kMo + kA, kA, 0), 2u);
    // 中文 is not found in 文中文 from its middle byte.
    EXPECT_EQ(findFirst(kWen + kZhong + kWen, kZhong + kWen, 0), 2u);
    EXPECT_EQ(findFirst("\xD6" + kZhong + kWen, kZhong + kWen, 0), npos) << "a lone lead byte takes the next as trail";
}

TEST(SearchText, NothingMatchesInsideAFourByteCharacter)
{
    const std::string fourByte = "\x81\x30\x81\x30";
    EXPECT_EQ(findFirst("a" + fourByte + "0", "0", 0), 5u);
    EXPECT_EQ(findFirst(fourByte, "0", 0), npos);
    EXPECT_EQ(findFirst(fourByte + kZhong, kZhong, 0), 4u);
}

TEST(SearchText, AMatchMustEndOnACharacterBoundary)
{
    // "a" followed by a lead byte: the hit would end inside 中.
    EXPECT_EQ(findFirst("a" + kZhong, std::string("a\xD6"), 0), npos);
}

TEST(SearchText, FoldingLowersOnlySingleByteLetters)
{
    // 0x81 0x41 is a character whose trail byte is the letter A.
    EXPECT_EQ(foldCase("ABC\x81\x41Z"), "abc\x81\x41z");
    EXPECT_EQ(findFirst("x\x81\x41", "a", 0, true), npos);
    EXPECT_EQ(findFirst("\x81\x41", foldCase("\x81\x61"), 0, true), npos) << "two characters must not fold into one";
    EXPECT_EQ(findFirst("\x81\x61", foldCase("\x81\x61"), 0, true), 0u);
    EXPECT_EQ(findFirst("The MOON", "moon", 0, true), 4u);
    EXPECT_EQ(findFirst("The MOON", "moon", 0, false), npos);
    EXPECT_EQ(findLastBefore("Ab aB ab", "ab", 8, true), 6u);
    EXPECT_EQ(findFirst(kMo + kSpace, kA, 0, true), npos);
}

TEST(SearchText, PreviousTakesOccurrencesLeftToRightWithoutOverlap)
{
    EXPECT_EQ(findLastBefore("aaa", "aa", 3), 0u);
    EXPECT_EQ(findLastBefore("aaaa", "aa", 4), 2u);
    EXPECT_EQ(findLastBefore("ab ab ab", "ab", 6), 3u);
    EXPECT_EQ(findLastBefore("ab ab ab", "ab", 0), npos);
}

TEST(SearchText, TheLineOfAPositionIsTheFirstWhoseRunningSumExceedsIt)
{
    const std::vector<size_t> lengths = {5, 3, 4};
    const std::pair<size_t, int> cases[] = {{0, 1}, {4, 1}, {5, 2}, {7, 2}, {8, 3}, {11, 3}, {50, 3}};
    for (const auto& [position, line] : cases)
        EXPECT_EQ(lineOfPosition(lengths, position), line) << position;
}

TEST_F(SearchBook, CapitalsFindSmallLettersUnlessMatchCaseIsTicked)
{
    const int page = addPage({"the lantern glows\r\n"});
    const auto hit = findNext(doc, query("LANTERN"), 0, 0);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->page, page);
    EXPECT_EQ(hit->position, 4u);
    EXPECT_FALSE(findNext(doc, query("LANTERN", true), 0, 0));
    EXPECT_TRUE(findNext(doc, query("lantern", true), 0, 0));
}

TEST_F(SearchBook, NextTwiceOnAPageWithTwoHitsThenMovesOn)
{
    const int first = addPage({"a bell and ", "another bell\r\n"});
    addPage({"no ringing here\r\n"});
    const int third = addPage({"the last bell\r\n"});
    const auto one = findNext(doc, query("bell"), first, 0);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->line, 1);
    const auto two = findNext(doc, query("bell"), one->page, one->position + 4);
    ASSERT_TRUE(two);
    EXPECT_EQ(two->page, first);
    EXPECT_EQ(two->line, 2);
    const auto three = findNext(doc, query("bell"), two->page, two->position + 4);
    ASSERT_TRUE(three);
    EXPECT_EQ(three->page, third);
    EXPECT_EQ(three->position, 9u);
    EXPECT_FALSE(findNext(doc, query("bell"), three->page, three->position + 4));
}

TEST_F(SearchBook, AHitSpanningTwoLinesMarksTheLineItStartsIn)
{
    const int page = addPage({"first line ends with moon", "light on the second\r\n"});
    const auto hit = findNext(doc, query("moonlight"), 0, 0);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->page, page);
    EXPECT_EQ(hit->line, 1);
}

TEST_F(SearchBook, OnlyBookPagesAreSearched)
{
    addPage({"a note about tea\r\n"}, PageKind::NotePage);
    const int book = addPage({"green tea\r\n"});
    const auto hit = findNext(doc, query("tea"), 0, 0);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->page, book);
}

TEST_F(SearchBook, OnePageModeSearchesAndNumbersTheWideLines)
{
    const int page = addPage({"one", "two\r\n", "three", "four\r\n"});
    const auto narrow = findNext(doc, query("four"), 0, 0);
    ASSERT_TRUE(narrow);
    EXPECT_EQ(narrow->line, 4);
    const auto wide = findNext(doc, query("four", false, true), 0, 0);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->page, page);
    EXPECT_EQ(wide->line, 2);
    // The wide line joins "three" and "four" with a space between.
    EXPECT_TRUE(findNext(doc, query("three four", false, true), 0, 0));
    EXPECT_FALSE(findNext(doc, query("three four"), 0, 0));
}

TEST_F(SearchBook, PreviousFromTheStartFindsNothing)
{
    const int page = addPage({"word\r\n"});
    EXPECT_FALSE(findPrevious(doc, query("word"), page, 0));
    EXPECT_FALSE(findPrevious(doc, query("word"), 0, 0));
    const auto hit = findPrevious(doc, query("word"), page, 4);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->position, 0u);
}

TEST_F(SearchBook, PreviousWalksDownToTheLastHitOfAnEarlierPage)
{
    const int first = addPage({"cat and cat\r\n"});
    const int second = addPage({"dog\r\n"});
    const auto hit = findPrevious(doc, query("cat"), second, 0);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->page, first);
    EXPECT_EQ(hit->position, 8u);
    const auto before = findPrevious(doc, query("cat"), first, hit->position);
    ASSERT_TRUE(before);
    EXPECT_EQ(before->position, 0u);
}

TEST_F(SearchBook, PreviousSearchesAnEarlierPageLongerThan2048BytesWhole)
{
    std::vector<std::string> lines(40, std::string(99, 'x') + " ");
    lines.back() = "needle\r\n";
    const int longPage = addPage(lines);
    const int later = addPage({"nothing\r\n"});
    const auto hit = findPrevious(doc, query("needle"), later, 0);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->page, longPage);
    EXPECT_EQ(hit->position, 39u * 100);
    EXPECT_EQ(hit->line, 40);
}

TEST_F(SearchBook, ASearchForAChineseWordInABook)
{
    const int page = addPage({kMo + kSpace + "\r\n", kWen + kZhong + kWen + "\r\n"});
    EXPECT_FALSE(findNext(doc, query(kA), 0, 0));
    const auto hit = findNext(doc, query(kZhong + kWen), 0, 0);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->page, page);
    EXPECT_EQ(hit->position, 8u);
    EXPECT_EQ(hit->line, 2);
}

TEST(SearchEmptyBook, FindsNothing)
{
    CVersaleoDoc doc;
    EXPECT_FALSE(findNext(doc, {"x", false, false}, 0, 0));
    EXPECT_FALSE(findPrevious(doc, {"x", false, false}, 0, 0));
}

TEST_F(SearchBook, AnEmptyTextFindsNothing)
{
    addPage({"x\r\n"});
    EXPECT_FALSE(findNext(doc, query(""), 0, 0));
    EXPECT_FALSE(findPrevious(doc, query(""), doc.pageCount() - 1, 0));
}

}  // namespace
