#include "book/Annotations.h"

#include "book/CodePage.h"

#include "DocFixtures.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

// C C I I page1..page6 C C: content runs from 4 to 9.
class Annotations : public testing::Test {
protected:
    Annotations() { addBookPages(doc, 6); }
    CBookPage& page(int i) { return *doc.pages[static_cast<size_t>(i)]; }
    CVersaleoDoc doc;
};

TEST_F(Annotations, TheTwentySixthEntryKeepsTheReaderOnTheirPageWhenTheIndexGrows)
{
    doc.currentPage = 9;  // page 6
    for (int i = 0; i < 25; ++i)
        ASSERT_TRUE(annotations::addIndexEntry(doc, 4, "entry"));
    EXPECT_EQ(doc.indexPageCount(), 2);
    const CBookPage* reading = &page(doc.currentPage);
    // 51 entries need four index pages: two more pages in front of the reader
    for (int i = 0; i < 26; ++i)
        ASSERT_TRUE(annotations::addIndexEntry(doc, doc.currentPage, "more"));
    EXPECT_EQ(doc.indexPageCount(), 4);
    EXPECT_EQ(&page(doc.currentPage), reading);
    EXPECT_EQ(doc.currentPage, 11);
    EXPECT_EQ(doc.indexEntryCount(), 51);
    EXPECT_EQ(doc.modified, 1);
}

TEST_F(Annotations, EntriesAreAddedRetitledAndRemovedOnBookPagesOnly)
{
    EXPECT_FALSE(annotations::addIndexEntry(doc, 2, "on an index page"));
    EXPECT_FALSE(annotations::addIndexEntry(doc, 99, "past the end"));
    EXPECT_FALSE(annotations::addIndexEntry(doc, -1, "before the start"));
    EXPECT_EQ(doc.modified, 0);
    ASSERT_TRUE(annotations::addIndexEntry(doc, 6, "first"));
    ASSERT_TRUE(annotations::addIndexEntry(doc, 6, "second"));
    EXPECT_EQ(doc.indexEntries[1]->bookPageNumber, 3);
    EXPECT_FALSE(annotations::retitleIndexEntry(doc, 6, 2, "no such entry"));
    ASSERT_TRUE(annotations::retitleIndexEntry(doc, 6, 0, "renamed"));
    EXPECT_EQ(page(6).indexEntries[0]->titleText(), "renamed");
    EXPECT_FALSE(annotations::removeIndexEntry(doc, 6, 5));
    ASSERT_TRUE(annotations::removeIndexEntry(doc, 6, 0));
    ASSERT_EQ(doc.indexEntryCount(), 1);
    EXPECT_EQ(doc.indexEntries[0]->titleText(), "second");
}

TEST_F(Annotations, ATitleFillsItsFieldAndIsCutAtACharacterBoundary)
{
    // 38 bytes, then a double-byte character that would end at byte 40
    const std::string title = std::string(38, 'a') + codepage::fromUtf8("\u4e66");
    ASSERT_TRUE(annotations::addIndexEntry(doc, 4, title));
    EXPECT_EQ(doc.indexEntries[0]->titleText(), std::string(38, 'a'));
    ASSERT_TRUE(annotations::retitleIndexEntry(doc, 4, 0, std::string(37, 'b') + codepage::fromUtf8("\u4e66")));
    EXPECT_EQ(doc.indexEntries[0]->titleText(), std::string(37, 'b') + codepage::fromUtf8("\u4e66"));
}

TEST_F(Annotations, ANewLeafGoesToTheSpineOfTheOpenSpread)
{
    doc.currentPage = 6;  // even: the leaf goes in front of it and shows on the right
    EXPECT_EQ(annotations::insertBookmarkLeaf(doc, "Chapter", rgb(1, 2, 3)), 6);
    EXPECT_EQ(pageNames(doc), (Names{"C", "C", "I", "I", "page 1", "page 2", "M", "M", "page 3", "page 4", "page 5",
                                     "page 6", "C", "C"}));
    EXPECT_EQ(doc.currentPage, 6);
    doc.currentPage = 9;  // odd: after it, and the spread moves on to show it
    EXPECT_EQ(annotations::insertNoteLeaf(doc, rgb(9, 9, 9), rgb(0, 0, 1), LOGFONT{}), 10);
    EXPECT_EQ(pageNames(doc), (Names{"C", "C", "I", "I", "page 1", "page 2", "M", "M", "page 3", "page 4", "N", "N",
                                     "page 5", "page 6", "C", "C"}));
    EXPECT_EQ(doc.currentPage, 11);
    EXPECT_EQ(page(10).background, rgb(9, 9, 9));
    EXPECT_EQ(page(11).textColour, rgb(0, 0, 1));
    EXPECT_EQ(doc.modified, 1);
}

TEST_F(Annotations, NewBookmarksAreNumberedInBookOrder)
{
    addBookmark(doc, "last");
    doc.currentPage = 4;
    ASSERT_EQ(annotations::insertBookmarkLeaf(doc, "first", 0), 4);
    EXPECT_EQ(page(4).bookmarkColour, 1);
    EXPECT_EQ(page(5).bookmarkColour, 1);
    EXPECT_EQ(page(12).caption, "last");
    EXPECT_EQ(page(12).bookmarkColour, 2);
}

TEST_F(Annotations, ALeafCanGoRightAfterTheIndexOrInFrontOfTheBackCoverButNotAmongTheCovers)
{
    doc.currentPage = 3;  // the last index page
    EXPECT_EQ(annotations::newLeafPosition(doc), 4);
    doc.currentPage = doc.pageCount() - 2;  // the back cover's front
    EXPECT_EQ(annotations::newLeafPosition(doc), doc.pageCount() - 2);
    for (const int refused : {0, 1, 2, doc.pageCount() - 1}) {
        doc.currentPage = refused;
        EXPECT_EQ(annotations::newLeafPosition(doc), -1) << refused;
        EXPECT_EQ(annotations::insertNoteLeaf(doc, 0, 0, LOGFONT{}), -1) << refused;
    }
    EXPECT_EQ(doc.pageCount(), 12);
    EXPECT_EQ(doc.modified, 0);
}

TEST_F(Annotations, ACaptionIsCutToTwentyBytesWithoutSplittingADoubleByteCharacter)
{
    // nineteen ASCII bytes and a two-byte character that would end at byte 21
    const std::string caption = std::string(19, 'x') + codepage::fromUtf8("\u7b7e");
    doc.currentPage = 4;
    ASSERT_EQ(annotations::insertBookmarkLeaf(doc, caption, 0), 4);
    EXPECT_EQ(page(4).caption, std::string(19, 'x'));
    const std::string ten = codepage::fromUtf8("\u4e00\u4e8c\u4e09\u56db\u4e94\u516d\u4e03\u516b\u4e5d\u5341\u767e");
    ASSERT_TRUE(annotations::updateBookmarkLeaf(doc, 5, ten, rgb(7, 7, 7)));
    for (const int side : {4, 5}) {
        EXPECT_EQ(page(side).caption, ten.substr(0, 20));
        EXPECT_EQ(page(side).background, rgb(7, 7, 7));
    }
}

TEST_F(Annotations, UpdatesChangeOnlyPagesOfTheirKind)
{
    EXPECT_FALSE(annotations::updateBookmarkLeaf(doc, 4, "not a bookmark", 0));
    EXPECT_FALSE(annotations::updateNotePage(doc, 4, 0, 0, LOGFONT{}));
    EXPECT_EQ(doc.modified, 0);
    doc.currentPage = 4;
    ASSERT_EQ(annotations::insertNoteLeaf(doc, rgb(1, 1, 1), rgb(2, 2, 2), LOGFONT{}), 4);
    LOGFONT font;
    font.lfWeight = 700;
    ASSERT_TRUE(annotations::updateNotePage(doc, 5, rgb(3, 3, 3), rgb(4, 4, 4), font));
    EXPECT_EQ(page(5).background, rgb(3, 3, 3));
    EXPECT_EQ(page(5).font.lfWeight, 700);
    // the other side of the leaf is a page of its own
    EXPECT_EQ(page(4).background, rgb(1, 1, 1));
}

}  // namespace
