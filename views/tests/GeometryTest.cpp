#include "views/PageGeometry.h"
#include "views/SpreadGeometry.h"

#include <gtest/gtest.h>

namespace {

void addLeaves(CVersaleoDoc& doc, int leaves, PageKind kind = PageKind::BookPage)
{
    PageList pages;
    for (int i = 0; i < 2 * leaves; ++i)
        pages.push_back(doc.createPage(kind));
    doc.insertPages(doc.lastContentPage() + 1, std::move(pages));
}

TEST(MarkRuns, OneRunALineAndUndrawnCellsLeftOut)
{
    // two cells on line 0, one on line 1, then two cells whose line was not drawn
    const std::vector<CellPlace> cells{{0, {10, 0, 20, 16}}, {0, {20, 0, 36, 16}}, {1, {10, 20, 18, 36}},
                                       {-1, {}}, {-1, {}}};
    PageMark mark;
    mark.firstCell = -5;  // stored marks may lie outside the page: clamped
    mark.lastCell = 99;
    EXPECT_EQ(markRuns(cells, mark), (std::vector<Rect>{{10, 0, 36, 16}, {10, 20, 18, 36}}));
    mark.firstCell = 1;
    mark.lastCell = 1;
    EXPECT_EQ(markRuns(cells, mark), (std::vector<Rect>{{20, 0, 36, 16}}));
    mark.firstCell = 3;
    mark.lastCell = 4;
    EXPECT_TRUE(markRuns(cells, mark).empty());
    mark.firstCell = 2;
    mark.lastCell = 1;
    EXPECT_TRUE(markRuns(cells, mark).empty());
}

TEST(Spread, PagesMeetInTheMiddle)
{
    const spread::PageRects pages = spread::pageRects(960, 640);
    EXPECT_EQ(pages.left, (Rect{40, 30, 480, 620}));
    EXPECT_EQ(pages.right, (Rect{480, 30, 920, 620}));
}

TEST(Spread, FacingPairFromTheCurrentIndex)
{
    CVersaleoDoc doc;
    addLeaves(doc, 3);  // 4 covers + 6 pages
    doc.currentPage = 0;
    EXPECT_EQ(spread::facingPair(doc).left, -1);  // index 0 stands alone on the right
    EXPECT_EQ(spread::facingPair(doc).right, 0);
    doc.currentPage = 5;
    EXPECT_EQ(spread::facingPair(doc).left, 5);
    EXPECT_EQ(spread::facingPair(doc).right, 6);
    doc.currentPage = 6;
    EXPECT_EQ(spread::facingPair(doc).left, 5);
    // a hidden record next to the pair is stepped over
    doc.pages[5]->hidden = true;
    doc.pages[6]->hidden = true;
    doc.pages[7]->hidden = true;
    EXPECT_EQ(spread::facingPair(doc).left, 4);
    EXPECT_EQ(spread::facingPair(doc).right, 8);
}

TEST(Spread, NoMoreThanEightEdgeLayers)
{
    CVersaleoDoc doc;
    addLeaves(doc, 30);
    doc.rebuildIndexPages();
    doc.currentPage = 40;
    const auto counts = spread::edgeCounts(doc, spread::facingPair(doc));
    EXPECT_EQ(counts.leftLeaves, 20);
    EXPECT_EQ(counts.leftLayers, 8);
    EXPECT_EQ(counts.rightLeaves, (doc.pageCount() - 40) / 2);
    EXPECT_EQ(counts.rightLayers, 8);
    doc.currentPage = 4;
    const auto front = spread::edgeCounts(doc, spread::facingPair(doc));
    EXPECT_EQ(front.leftLeaves, 2);
    EXPECT_EQ(front.leftLayers, 2);
    // layer offsets: the outermost furthest out, the last under the page
    EXPECT_EQ(spread::leftLayerOffset(1, 3), (Point{-6, -6}));
    EXPECT_EQ(spread::leftLayerOffset(3, 3), (Point{0, 0}));
    EXPECT_EQ(spread::rightLayerOffset(1, 3), (Point{6, -6}));
}

TEST(Spread, BothSidesSplitTheirLeavesIntoLayersAlike)
{
    // Eleven leaves on each side of the pair (21, 22) of a 44-page book: the
    // leaf d leaves away from the page lies on the same layer on both sides.
    const spread::FacingPair pair{21, 22};
    for (int d = 1; d <= 10; ++d) {
        const int leftFront = pair.left - 1 - 2 * d;
        const int rightFront = pair.right + 2 * d;
        EXPECT_EQ(spread::leftLayerOf(leftFront, pair, 8), spread::rightLayerOf(rightFront, pair, 44, 8)) << d;
    }
    EXPECT_EQ(spread::rightLayerOf(24, pair, 44, 8), 8);  // the next leaf: innermost
    EXPECT_EQ(spread::rightLayerOf(42, pair, 44, 8), 1);  // the back cover: outermost
}

TEST(Spread, BookmarksDoNotCountAsLeaves)
{
    CVersaleoDoc doc;
    addLeaves(doc, 2);
    addLeaves(doc, 1, PageKind::BookmarkPage);
    addLeaves(doc, 2);
    doc.rebuildIndexPages();  // C C I I B B B B M M B B B B C C
    doc.currentPage = 13;
    const auto counts = spread::edgeCounts(doc, spread::facingPair(doc));
    EXPECT_EQ(counts.bookmarksBefore, 1);
    EXPECT_EQ(counts.leftLeaves, 6);
    EXPECT_EQ(counts.rightLeaves, 1);
}

TEST(Spread, BookmarkTabsInFiveSlots)
{
    const spread::PageRects pages = spread::pageRects(960, 640);  // page height 590
    const int slot = (590 - 36) / 5;
    EXPECT_EQ(spread::bookmarkTab(pages, 960, 1, true), (Rect{24, 30 + 6, 480, 30 + 6 + slot}));
    EXPECT_EQ(spread::bookmarkTab(pages, 960, 5, false), (Rect{480, 30 + 4 * slot + 30, 936, 30 + 5 * slot + 30}));
}

TEST(Rows, RemaindersGoToTheFirstRows)
{
    const spread::Rows rows = spread::evenRows(10, 29, 4);
    EXPECT_EQ(rows.heights, (std::vector<int>{8, 7, 7, 7}));
    EXPECT_EQ(rows.tops, (std::vector<int>{10, 18, 25, 32}));
    EXPECT_EQ(rows.bottom, 39);
}

TEST(Rows, ShortWidePagesKeepThirteenRows)
{
    const Rect page{0, 0, 400, 600};  // text area 340 x 540
    for (int lines : {1, 13}) {
        const auto layout = spread::bookTextLayout(page, lines, true);
        EXPECT_EQ(layout.rows.tops.size(), 13u);
        EXPECT_EQ(layout.rows.heights[12], 540 / 13);
        EXPECT_EQ(layout.fontHeight, std::min(540 / 13, 340 / 40));
    }
    EXPECT_EQ(spread::bookTextLayout(page, 14, true).rows.tops.size(), 14u);
    const auto narrow = spread::bookTextLayout(page, 3, false);
    EXPECT_EQ(narrow.rows.tops.size(), 26u);
    EXPECT_EQ(narrow.fontHeight, std::min(540 / 26, 340 / 20));
    EXPECT_EQ(narrow.area, (Rect{30, 30, 370, 570}));
}

TEST(Labels, BoxesGrowInStepsOfFive)
{
    EXPECT_EQ(spread::labelBoxWidth(40), 80);
    EXPECT_EQ(spread::labelBoxWidth(70), 80);
    EXPECT_EQ(spread::labelBoxWidth(71), 85);
    EXPECT_EQ(spread::labelBoxWidth(76), 90);
    EXPECT_EQ(spread::labelBox({0, 0, 400, 600}, 40), (Rect{160, 575, 240, 595}));
}

TEST(NotesAndIndex, AreasAndColumns)
{
    // 340 x 520 writing space: 340 / 0.645 = 527 is taller than it: cut the width
    const Rect note = spread::noteArea({0, 0, 400, 600}, 407.0 / 631.0);
    EXPECT_EQ(note.height(), 520);
    EXPECT_EQ(note.width(), static_cast<int>(520 * 407.0 / 631.0));
    EXPECT_NEAR(note.left + note.right, 400, 1);  // centred
    const Rect tall = spread::noteArea({0, 0, 400, 1000}, 407.0 / 631.0);
    EXPECT_EQ(tall.width(), 340);
    EXPECT_EQ(tall.height(), static_cast<int>(340 / (407.0 / 631.0)));
    const auto index = spread::indexLayout({0, 0, 400, 600});
    EXPECT_EQ(index.numberColumn, 30 + 340 * 6 / 7);
    EXPECT_EQ(index.rows.tops.size(), 26u);
}

TEST(Tags, TrianglesAndBoxes)
{
    EXPECT_EQ(spread::tagTriangle(100, 200, false)[0], (Point{150, 191}));
    EXPECT_EQ(spread::tagTriangle(100, 200, true)[2], (Point{150, 199}));
    PageTag empty;
    EXPECT_EQ(spread::tagLineCount(empty), 1);
    EXPECT_EQ(spread::tagBox(10, 20, spread::tagLineCount(empty), 16), (Rect{10, 20, 110, 40}));
    PageTag tag;
    tag.setLines({"one", "", "three"});
    EXPECT_EQ(spread::tagLineCount(tag), 3);
    const auto arrow = spread::markedLineArrow(40, 70, 100, 20);
    EXPECT_EQ(arrow[3], (Point{70, 110}));
    EXPECT_EQ(arrow[0], (Point{40, 105}));
    EXPECT_EQ(spread::spineRows(30, 620).front(), 30 + 37);
    EXPECT_EQ(spread::spineRows(30, 620).size(), 15u);
}

}  // namespace
