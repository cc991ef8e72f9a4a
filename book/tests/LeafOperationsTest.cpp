#include "DocFixtures.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

// C C I I page1..page6 C C: content runs from 4 to 9.
class Leaves : public testing::Test {
protected:
    Leaves() { addBookPages(doc, 6); }
    CVersaleoDoc doc;
};

TEST_F(Leaves, CopyOnTheBackSideCopiesTheWholeLeaf)
{
    doc.currentPage = 7;  // page 4, back of the leaf 6-7
    EXPECT_EQ(doc.copyCurrentLeaf(), 1);
    ASSERT_EQ(doc.clipboard.size(), 2u);
    EXPECT_EQ(doc.clipboard[0]->lines[0], "page 3\r\n");
    EXPECT_EQ(doc.clipboard[1]->lines[0], "page 4\r\n");
    EXPECT_EQ(doc.pageCount(), 12);  // copying changes nothing else
    EXPECT_EQ(doc.modified, 0);
}

TEST_F(Leaves, CopyReplacesTheClipboardWithARange)
{
    doc.copyLeaves(4, 5);
    EXPECT_EQ(doc.copyLeaves(5, 8), 1);  // widened to 4..9
    ASSERT_EQ(doc.clipboard.size(), 6u);
    EXPECT_EQ(doc.clipboard[5]->lines[0], "page 6\r\n");
}

TEST_F(Leaves, PasteOnAnEvenPageInsertsBeforeIt)
{
    doc.copyLeaves(4, 5);
    doc.currentPage = 8;
    EXPECT_EQ(doc.pasteLeaves(), 1);
    EXPECT_EQ(pageNames(doc), (Names{"C", "C", "I", "I", "page 1", "page 2", "page 3", "page 4", "page 1",
                                     "page 2", "page 5", "page 6", "C", "C"}));
    EXPECT_EQ(doc.currentPage, 8);
    EXPECT_EQ(doc.modified, 1);
}

TEST_F(Leaves, PasteOnAnOddPageInsertsAfterItAndMovesOn)
{
    doc.copyLeaves(4, 5);
    doc.currentPage = 7;
    EXPECT_EQ(doc.pasteLeaves(), 1);
    EXPECT_EQ(pageNames(doc), (Names{"C", "C", "I", "I", "page 1", "page 2", "page 3", "page 4", "page 1",
                                     "page 2", "page 5", "page 6", "C", "C"}));
    EXPECT_EQ(doc.currentPage, 9);
}

TEST_F(Leaves, PasteAtTheEdgesOfTheContent)
{
    doc.copyLeaves(8, 9);
    doc.currentPage = 3;  // the last index page: insert at the content start
    EXPECT_EQ(doc.pasteLeaves(), 1);
    EXPECT_EQ(doc.pages[4]->lines[0], "page 5\r\n");
    doc.currentPage = doc.pageCount() - 2;  // the back cover's first page: before it
    EXPECT_EQ(doc.pasteLeaves(), 1);
    EXPECT_EQ(doc.pages[static_cast<size_t>(doc.pageCount() - 3)]->lines[0], "page 6\r\n");
    EXPECT_EQ(doc.pageCount() % 2, 0);
}

TEST_F(Leaves, PasteOutsideItsRangeOrWithAnEmptyClipboardChangesNothing)
{
    EXPECT_EQ(doc.pasteLeaves(), 0);  // empty clipboard
    doc.copyLeaves(4, 5);
    for (int page : {0, 2, doc.pageCount() - 1}) {
        doc.currentPage = page;
        EXPECT_EQ(doc.pasteLeaves(), 0) << page;
    }
    EXPECT_EQ(doc.pageCount(), 12);
    EXPECT_EQ(doc.modified, 0);
}

TEST_F(Leaves, OutOfRangeOperationsReturnZeroAndChangeNothing)
{
    const Names before = pageNames(doc);
    for (auto [first, last] : {std::pair{3, 5}, std::pair{4, 10}, std::pair{0, 1}, std::pair{10, 11},
                               std::pair{7, 6}, std::pair{-2, 5}}) {
        EXPECT_EQ(doc.copyLeaves(first, last), 0);
        EXPECT_EQ(doc.deleteLeaves(first, last), 0);
        EXPECT_EQ(doc.cutLeaves(first, last), 0);
    }
    for (int page : {0, 1, 2, 3, 10, 11, 50, -1}) {
        doc.currentPage = page;
        EXPECT_EQ(doc.deleteCurrentLeaf(), 0);
        EXPECT_EQ(doc.copyCurrentLeaf(), 0);
    }
    EXPECT_EQ(pageNames(doc), before);
    EXPECT_TRUE(doc.clipboard.empty());
    EXPECT_EQ(doc.modified, 0);
}

TEST_F(Leaves, DeletingTheLastContentLeafOnItsOddPageMovesBackTwo)
{
    doc.currentPage = 9;
    EXPECT_EQ(doc.deleteCurrentLeaf(), 1);
    EXPECT_EQ(doc.currentPage, 7);
    EXPECT_EQ(pageNames(doc), (Names{"C", "C", "I", "I", "page 1", "page 2", "page 3", "page 4", "C", "C"}));
    EXPECT_EQ(doc.modified, 1);
}

TEST_F(Leaves, DeletingOnAnEvenPageKeepsThePlace)
{
    doc.currentPage = 6;
    EXPECT_EQ(doc.deleteCurrentLeaf(), 1);
    EXPECT_EQ(doc.currentPage, 6);
    EXPECT_EQ(doc.pages[6]->lines[0], "page 5\r\n");
}

TEST_F(Leaves, DeletingTheOnlyLeafLeavesAnEmptyBookInsideItsPages)
{
    CVersaleoDoc small;
    addBookPages(small, 2);
    small.currentPage = 5;
    EXPECT_EQ(small.deleteCurrentLeaf(), 1);
    EXPECT_EQ(small.pageCount(), 6);
    EXPECT_EQ(small.currentPage, 3);
    EXPECT_GE(small.currentPage, 0);
    EXPECT_LT(small.currentPage, small.pageCount());
}

TEST_F(Leaves, CutMovesLeavesToTheClipboardAndRebuildsTheIndex)
{
    doc.pages[6]->indexEntries.push_back(std::make_unique<IndexEntry>());
    doc.rebuildIndexPages();
    ASSERT_EQ(doc.indexEntryCount(), 1);
    EXPECT_EQ(doc.cutLeaves(6, 6), 1);
    EXPECT_EQ(doc.indexEntryCount(), 0);
    ASSERT_EQ(doc.clipboard.size(), 2u);
    EXPECT_EQ(doc.clipboard[0]->indexEntries.size(), 1u);
    // pasting brings the entry back into the index
    doc.currentPage = 4;
    doc.pasteLeaves();
    EXPECT_EQ(doc.indexEntryCount(), 1);
    EXPECT_EQ(doc.indexEntries[0]->bookPageNumber, 1);
}

TEST_F(Leaves, PastedPagesAreCopiesNotTheClipboardItself)
{
    doc.copyLeaves(4, 5);
    doc.currentPage = 4;
    doc.pasteLeaves();
    doc.pasteLeaves();
    EXPECT_EQ(doc.clipboard.size(), 2u);
    EXPECT_NE(doc.pages[4].get(), doc.pages[6].get());
    EXPECT_EQ(doc.pages[4]->lines, doc.pages[6]->lines);
}

TEST_F(Leaves, DeletingDropsTextSourcesWhosePagesGo)
{
    auto kept = std::make_unique<TextSource>();
    kept->firstPage = doc.pages[8].get();
    kept->lastPage = doc.pages[9].get();
    auto gone = std::make_unique<TextSource>();
    gone->firstPage = doc.pages[4].get();
    gone->lastPage = doc.pages[7].get();
    doc.textSources.push_back(std::move(kept));
    doc.textSources.push_back(std::move(gone));
    EXPECT_EQ(doc.deleteLeaves(6, 7), 1);
    ASSERT_EQ(doc.textSources.size(), 1u);
    EXPECT_EQ(doc.indexOfPage(doc.textSources[0]->firstPage), 6);
}

}  // namespace
