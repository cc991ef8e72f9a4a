#include "DocFixtures.h"

#include <gtest/gtest.h>

namespace {

TEST(Windows, ANewDocumentHasSixWindowsOfFourCoversAndWindowOneActive)
{
    CVersaleoDoc doc;
    EXPECT_EQ(doc.activeWindow(), 1);
    EXPECT_EQ(doc.pageCount(), 4);
    for (int n = 2; n <= CVersaleoDoc::kWindowCount; ++n) {
        EXPECT_EQ(doc.window(n).pages.size(), 4u);
        EXPECT_EQ(doc.window(n).pages[0]->kind(), PageKind::CoverPage);
    }
}

TEST(Windows, SwitchingKeepsEachWindowsPagesCurrentPageAndModifiedFlag)
{
    CVersaleoDoc doc;
    addBookPages(doc, 4, 1);
    doc.currentPage = 6;
    doc.modified = 1;
    const CBookPage* firstOfOne = doc.pages[4].get();

    doc.switchWindow(3);
    EXPECT_EQ(doc.activeWindow(), 3);
    EXPECT_EQ(doc.pageCount(), 4);
    EXPECT_EQ(doc.indexEntryCount(), 0);
    EXPECT_EQ(doc.currentPage, 0);
    EXPECT_EQ(doc.modified, 0);
    addBookPages(doc, 2);
    doc.currentPage = 5;

    doc.switchWindow(1);
    EXPECT_EQ(doc.pageCount(), 10);
    EXPECT_EQ(doc.pages[4].get(), firstOfOne);
    EXPECT_EQ(doc.indexEntryCount(), 4);
    EXPECT_EQ(doc.currentPage, 6);
    EXPECT_EQ(doc.modified, 1);

    doc.switchWindow(3);
    EXPECT_EQ(doc.pageCount(), 8);
    EXPECT_EQ(doc.currentPage, 5);
    EXPECT_EQ(doc.modified, 0);
}

TEST(Windows, SwitchingToTheActiveOrAMissingWindowDoesNothing)
{
    CVersaleoDoc doc;
    addBookPages(doc, 2);
    doc.switchWindow(1);
    doc.switchWindow(0);
    doc.switchWindow(7);
    EXPECT_EQ(doc.activeWindow(), 1);
    EXPECT_EQ(doc.pageCount(), 8);
}

TEST(Windows, TheClipboardIsSharedAcrossWindows)
{
    CVersaleoDoc doc;
    addBookPages(doc, 2);
    doc.copyLeaves(4, 5);
    doc.switchWindow(2);
    // a fresh window has no index pages yet: its content starts at 2
    doc.currentPage = 1;
    EXPECT_EQ(doc.pasteLeaves(), 1);
    ASSERT_EQ(doc.pageCount(), 8);  // the paste rebuilt the index pages
    EXPECT_EQ(pageNames(doc)[4], "page 1");
}

TEST(Windows, EmptyingKeepsTheCoversAndResetsTheState)
{
    CVersaleoDoc doc;
    addBookPages(doc, 6, 1);
    doc.textSources.push_back(std::make_unique<TextSource>());
    doc.currentPage = 7;
    doc.modified = 1;
    doc.viewValue1 = 3;
    doc.viewValue2 = 4;
    doc.emptyWindow();
    EXPECT_EQ(doc.pageCount(), 4);
    for (const auto& page : doc.pages)
        EXPECT_EQ(page->kind(), PageKind::CoverPage);
    EXPECT_EQ(doc.indexEntryCount(), 0);
    EXPECT_TRUE(doc.textSources.empty());
    EXPECT_EQ(doc.currentPage, 0);
    EXPECT_EQ(doc.modified, 0);
    EXPECT_EQ(doc.viewValue1, -1);
    EXPECT_EQ(doc.viewValue2, -1);
}

TEST(Windows, ClearDestroysEverything)
{
    CVersaleoDoc doc;
    addBookPages(doc, 2, 1);
    doc.copyLeaves(4, 5);
    doc.clear();
    EXPECT_EQ(doc.pageCount(), 0);
    EXPECT_TRUE(doc.clipboard.empty());
    EXPECT_EQ(doc.indexEntryCount(), 0);
}

TEST(Statistics, CountsInTheStatusBarFormat)
{
    CVersaleoDoc doc;
    addBookPages(doc, 4, 1);
    addBookmark(doc, "m");
    PageList notes;
    notes.push_back(doc.createPage(PageKind::NotePage));
    notes.push_back(doc.createPage(PageKind::NotePage));
    doc.insertPages(doc.lastContentPage() + 1, std::move(notes));
    doc.pages[4]->marks.push_back(PageMark{});
    doc.pages[4]->marks.push_back(PageMark{});
    doc.pages[5]->tags.push_back(std::make_unique<PageTag>());
    // marks on a note page do not count
    doc.pages[static_cast<size_t>(doc.lastContentPage())]->marks.push_back(PageMark{});
    EXPECT_EQ(doc.statisticsLine(),
              "Statistic:  [Index page: 2]  [Book page: 4]  [Note page: 2]  [Bookmark: 1]  "
              "[Index: 4]  [Tag: 1]  [Mark: 2]");
}

}  // namespace
