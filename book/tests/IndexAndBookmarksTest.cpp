#include "DocFixtures.h"

#include <gtest/gtest.h>

namespace {

struct IndexCase {
    int entries;
    int expectedIndexPages;
};

class IndexPages : public testing::TestWithParam<IndexCase> {};

TEST_P(IndexPages, TwentyFiveEntriesToAPageInWholeLeaves)
{
    CVersaleoDoc doc;
    // one entry on each of `entries` pages (rounded up to whole leaves)
    const int pagesNeeded = GetParam().entries + GetParam().entries % 2;
    addBookPages(doc, pagesNeeded == 0 ? 2 : pagesNeeded, GetParam().entries ? 1 : 0);
    if (GetParam().entries % 2) {
        // drop the entry of the filler page
        doc.pages[static_cast<size_t>(doc.lastContentPage())]->indexEntries.clear();
        doc.rebuildIndexPages();
    }
    EXPECT_EQ(doc.indexEntryCount(), GetParam().entries);
    EXPECT_EQ(doc.indexPageCount(), GetParam().expectedIndexPages);
    EXPECT_EQ(doc.pageCount() % 2, 0);
    // the index follows the front cover directly
    for (int i = 0; i < GetParam().expectedIndexPages; ++i)
        EXPECT_EQ(doc.pages[static_cast<size_t>(2 + i)]->kind(), PageKind::IndexPage);
}

std::ostream& operator<<(std::ostream& out, const IndexCase& c)
{
    return out << c.entries << " entries";
}

INSTANTIATE_TEST_SUITE_P(Counts, IndexPages,
                         testing::Values(IndexCase{0, 2}, IndexCase{1, 2}, IndexCase{25, 2}, IndexCase{26, 2},
                                         IndexCase{50, 2}, IndexCase{51, 4}, IndexCase{101, 6}));

TEST(IndexRebuild, NumbersEntriesByTheirBookPageAndCollectsThemInOrder)
{
    CVersaleoDoc doc;
    addBookPages(doc, 4);
    addBookmark(doc, "mark");
    addBookPages(doc, 2);
    // entries on the 2nd and 5th book pages, two on the latter
    auto add = [&](int bookPage, const char* title) {
        auto entry = std::make_unique<IndexEntry>();
        entry->setTitle(title);
        doc.pages[static_cast<size_t>(doc.pageOfBookPage(bookPage))]->indexEntries.push_back(std::move(entry));
    };
    add(5, "e");
    add(2, "b");
    add(5, "f");
    doc.rebuildIndexPages();
    ASSERT_EQ(doc.indexEntryCount(), 3);
    EXPECT_EQ(doc.indexEntries[0]->titleText(), "b");
    EXPECT_EQ(doc.indexEntries[0]->bookPageNumber, 2);
    EXPECT_EQ(doc.indexEntries[1]->titleText(), "e");
    EXPECT_EQ(doc.indexEntries[1]->bookPageNumber, 5);
    EXPECT_EQ(doc.indexEntries[2]->bookPageNumber, 5);
}

TEST(IndexRebuild, RemovesIndexPagesWhereverTheyStand)
{
    CVersaleoDoc doc;
    addBookPages(doc, 2);
    doc.pages.insert(doc.pages.begin() + 5, doc.createPage(PageKind::IndexPage));
    doc.pages.insert(doc.pages.begin() + 5, doc.createPage(PageKind::IndexPage));
    doc.rebuildIndexPages();
    EXPECT_EQ(doc.indexPageCount(), 2);
    EXPECT_EQ(pageNames(doc), (std::vector<std::string>{"C", "C", "I", "I", "page 1", "page 2", "C", "C"}));
}

TEST(Bookmarks, ColourNumbersCycleOneToFiveInBookOrder)
{
    CVersaleoDoc doc;
    for (int i = 0; i < 7; ++i) {
        addBookmark(doc, "m" + std::to_string(i));
        addBookPages(doc, 2);
    }
    EXPECT_EQ(doc.bookmarkCount(), 7);
    const std::vector<int> expected{1, 2, 3, 4, 5, 1, 2};
    for (int n = 0; n < 7; ++n) {
        const int front = doc.pageOfBookmark(n);
        ASSERT_GE(front, 0);
        EXPECT_EQ(doc.pages[static_cast<size_t>(front)]->caption, "m" + std::to_string(n));
        EXPECT_EQ(doc.pages[static_cast<size_t>(front)]->bookmarkColour, expected[static_cast<size_t>(n)]);
        EXPECT_EQ(doc.pages[static_cast<size_t>(front) + 1]->bookmarkColour, expected[static_cast<size_t>(n)]);
    }
    EXPECT_EQ(doc.pageOfBookmark(7), -1);
    EXPECT_EQ(doc.pageOfBookmark(-1), -1);
}

TEST(PageLookup, BookPageNumbersSkipOtherKinds)
{
    CVersaleoDoc doc;
    addBookmark(doc, "m");
    addBookPages(doc, 2);
    // C C I I M M B B C C
    EXPECT_EQ(doc.bookPageNumberOf(5), 0);
    EXPECT_EQ(doc.bookPageNumberOf(6), 1);
    EXPECT_EQ(doc.bookPageNumberOf(99), 2);
    EXPECT_EQ(doc.pageOfBookPage(1), 6);
    EXPECT_EQ(doc.pageOfBookPage(2), 7);
    EXPECT_EQ(doc.pageOfBookPage(3), -1);
    EXPECT_EQ(doc.pageOfBookPage(0), -1);
    EXPECT_EQ(doc.indexOfPage(doc.pages[7].get()), 7);
    CBookPage stranger(PageKind::BookPage);
    EXPECT_EQ(doc.indexOfPage(&stranger), -1);
    EXPECT_EQ(doc.countPages(PageKind::CoverPage, 1, 8), 2);
    EXPECT_EQ(doc.countPages(PageKind::CoverPage, 2, 7), 0);
}

}  // namespace
