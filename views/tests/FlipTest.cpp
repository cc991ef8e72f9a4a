#include "views/FlipAnimation.h"
#include "views/Canvas.h"

#include "book/TextLayout.h"
#include "views/FontMetrics.h"

#include "ViewFixture.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(FlipTravel, TheStepIsTwiceTheFlipSpeed)
{
    const auto slow = flip::offsets(400, 10, true);
    ASSERT_GE(slow.size(), 2u);
    EXPECT_EQ(slow[0] - slow[1], 20);
    const auto fast = flip::offsets(400, 50, true);
    EXPECT_EQ(fast[0] - fast[1], 100);
}

TEST(FlipTravel, AWidthThatIsAMultipleOfTheStepRunsFromWToMinusW)
{
    const auto xs = flip::offsets(400, 50, true);
    EXPECT_EQ(xs.front(), 400);
    EXPECT_EQ(xs.back(), -400);
    EXPECT_EQ(xs.size(), 9u);
    const auto back = flip::offsets(400, 50, false);
    EXPECT_EQ(back.front(), -400);
    EXPECT_EQ(back.back(), 400);
}

TEST(FlipTravel, OtherWidthsEndExactlyAtTheFarEdge)
{
    const auto xs = flip::offsets(430, 50, true);
    EXPECT_EQ(xs.front(), 400);  // w - (w mod s)
    EXPECT_EQ(xs.back(), -430);
    const auto back = flip::offsets(430, 50, false);
    EXPECT_EQ(back.front(), -400);
    EXPECT_EQ(back.back(), 430);
    EXPECT_EQ(flip::lift(0, 430), 50);
    EXPECT_EQ(flip::lift(430, 430), 0);
}

TEST(FlipTravel, SheetsAndTheRecordsTheyTurn)
{
    EXPECT_EQ(flip::sheetCount(4, 6), 1);
    EXPECT_EQ(flip::turningRecords(4, 6), (std::vector<int>{4, 5}));
    EXPECT_EQ(flip::turningRecords(5, 7), (std::vector<int>{6, 7}));
    EXPECT_EQ(flip::turningRecords(6, 4), (std::vector<int>{4, 5}));
    // a jump turns one thick sheet of every leaf between
    EXPECT_EQ(flip::sheetCount(4, 12), 4);
    EXPECT_EQ(flip::turningRecords(4, 12).size(), 8u);
}

}  // namespace

TEST_F(Views, ClicksInTheFlipZonesTurnBothWays)
{
    doc.currentPage = 6;
    two.refresh();
    two.ensureComposed();
    const Rect right = two.painter().pageRects().right;
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(right.right - 5, 300));
    EXPECT_EQ(doc.currentPage, 8);
    two.ensureComposed();
    const Rect left = two.painter().pageRects().left;
    // the left page becomes current first, then flips back
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(left.left + 5, 300));
    EXPECT_EQ(doc.currentPage, 5);
    for (const auto& page : doc.pages)
        EXPECT_FALSE(page->hidden);
}

TEST_F(Views, ClickingTheFacingPageChangesTheIndexByOne)
{
    doc.currentPage = 6;
    two.refresh();
    two.ensureComposed();
    two.setRecording(true);
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
    EXPECT_EQ(doc.currentPage, 5);
    EXPECT_TRUE(two.recordedFrames().empty());  // no animation
}

TEST_F(Views, ArrowsAndClamping)
{
    doc.currentPage = 5;
    QTest::keyClick(&two, Qt::Key_Left);
    EXPECT_EQ(doc.currentPage, 7);  // two-page: forward by two whatever the parity
    QTest::keyClick(&two, Qt::Key_Right);
    EXPECT_EQ(doc.currentPage, 5);
    two.turnTo(doc.pageCount() + 40);
    EXPECT_EQ(doc.currentPage, doc.pageCount() - 1);
    doc.currentPage = 0;
    QTest::keyClick(&one, Qt::Key_Left);
    EXPECT_EQ(doc.currentPage, 1);  // one-page view: the leaf turns, the view slides to the left page
    QTest::keyClick(&one, Qt::Key_Right);
    EXPECT_EQ(doc.currentPage, 0);
}

TEST_F(Views, BlockedInputStopsInsteadOfTurning)
{
    bool blocked = true;
    int stops = 0;
    two.inputBlocked = [&blocked] { return blocked; };
    two.blockedClick = [&] { ++stops; blocked = false; };
    doc.currentPage = 6;
    two.refresh();
    two.ensureComposed();
    const Rect right = two.painter().pageRects().right;
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, QPoint(right.right - 5, 300));
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(doc.currentPage, 6);
    QTest::keyClick(&two, Qt::Key_Left);
    EXPECT_EQ(doc.currentPage, 8);  // unblocked again
}

TEST_F(Views, AFlipShowsTheSheetCrossingTheSpine)
{
    doc.currentPage = 6;
    two.setRecording(true);
    two.turnTo(8);
    const auto& frames = two.recordedFrames();
    ASSERT_GE(frames.size(), 5u);
    EXPECT_EQ(doc.currentPage, 8);
    // halfway the sheet stands over the spine and the under-spread shows
    const QImage& first = frames.front();
    const QImage& last = frames.back();
    EXPECT_EQ(first.size(), QSize(960, 640));
    EXPECT_NE(first, last);
    if (const char* out = std::getenv("VERSALEO_SCREENSHOTS")) {
        for (size_t i = 0; i < frames.size(); ++i)
            frames[i].save(QString(out) + QString("/flip-%1.png").arg(i, 2, 10, QChar('0')));
    }
}


TEST_F(Views, ALoneBookmarkTurnsAtItsOwnSize)
{
    // A bookmark leaf (front and back) before the third content leaf.
    int front = doc.firstContentPage() + 4;
    front += front % 2;
    for (int side = 0; side < 2; ++side) {
        auto bookmark = doc.createPage(PageKind::BookmarkPage);
        bookmark->bookmarkColour = 2;
        doc.pages.insert(doc.pages.begin() + front + side, std::move(bookmark));
    }
    doc.numberBookmarks();
    doc.currentPage = front;
    two.refresh();
    two.ensureComposed();
    const Rect tab = two.painter().geometryOf(*doc.pages[static_cast<size_t>(front)]).area;
    flip::Renderer renderer(doc, two.painter());
    renderer.begin(front, front + 2, two.size());
    EXPECT_EQ(renderer.pageWidth(), tab.width());
    // Half way over, the page above the tab stays as it lies: only the tab lifts.
    const QImage under = renderer.frame(0).copy();
    const QImage half = renderer.frame(renderer.pageWidth() / 2).copy();
    const QPoint above(tab.left + tab.width() / 4, tab.top - 55);
    EXPECT_EQ(half.pixel(above), under.pixel(above));
    EXPECT_NE(half, under);
    if (const char* out = std::getenv("VERSALEO_SCREENSHOTS"))
        half.save(QString(out) + "/bookmark-flip.png");
    renderer.end();
    EXPECT_EQ(doc.currentPage, front + 2);
    // With other leaves it turns at the page's size.
    flip::Renderer jump(doc, two.painter());
    jump.begin(front + 2, std::max(0, front - 4), two.size());
    EXPECT_EQ(jump.pageWidth(), two.width() / 2 - 40);
    jump.end();
}

TEST(RollUpTravel, StepsEndAtThePageHeight)
{
    const auto even = flip::RollUp::steps(570, 10);
    EXPECT_EQ(even.front(), 0);
    EXPECT_EQ(even.back(), 570);
    const auto odd = flip::RollUp::steps(575, 10);
    EXPECT_EQ(odd.front(), 5);
    EXPECT_EQ(odd.back(), 575);
    EXPECT_EQ(odd.size(), 58u);
    EXPECT_TRUE(flip::RollUp::steps(0, 10).empty());
}

TEST_F(Views, ARolledUpPageShrinksTowardsItsTopAndLeavesTheOtherSide)
{
    doc.currentPage = 6;
    const QColor fill(255, 200, 120), outline(0, 0, 255);
    for (const bool right : {true, false}) {
        flip::RollUp roll(two.painter());
        roll.begin(two.size(), right, fromQColor(fill), fromQColor(outline));
        const QImage start = roll.frame(0).copy();
        const int k = roll.pageHeight() / 2;
        const QImage half = roll.frame(k).copy();
        if (const char* out = std::getenv("VERSALEO_SCREENSHOTS"))
            half.save(QString(out) + (right ? "/roll-right.png" : "/roll-left.png"));
        const int w = two.width(), h = two.height();
        const int b = h - 20 - k;
        // A column of the page well inside it, mirrored for the left page.
        const int x = right ? w / 2 + 200 : w - (w / 2 + 200) - 1;
        EXPECT_EQ(half.pixelColor(x, 40), fill) << right;
        EXPECT_NE(half.pixelColor(x, b + 40), fill) << right;  // rolled away there
        EXPECT_EQ(start.pixelColor(x, h - 30), fill) << right;   // at first the page is whole
        // The roll under the lower edge is drawn in the outline colour.
        int rolled = 0;
        for (int y = b - k; y <= b; ++y)
            rolled += y >= 0 && half.pixelColor(x, y) == outline;
        EXPECT_GT(rolled, 0) << right;
        // The other page is untouched.
        const int other = right ? 100 : w - 101;
        for (int y = 40; y < h - 40; y += 37)
            EXPECT_EQ(half.pixel(other, y), start.pixel(other, y)) << right;
    }
}

TEST_F(Views, EachFlipFrameRepaintsOnlyWhatTheSheetChanges)
{
    const auto of = [](const CBookView& view, int x) { return view.flipUpdateRect(x); };
    EXPECT_EQ(of(two, 5), QRect(480, 0, 480, 640));
    EXPECT_EQ(of(two, -5), QRect(0, 0, 480, 640));
    EXPECT_EQ(of(two, 0), QRect(0, 0, 960, 640));
    doc.currentPage = 6;  // a right page in the one-page view
    EXPECT_EQ(of(one, 5), QRect(40, 0, 920, 640));
    EXPECT_EQ(of(one, -5), QRect(0, 0, 40, 640));
    doc.currentPage = 7;  // a left page
    EXPECT_EQ(of(one, -5), QRect(0, 0, 920, 640));
    EXPECT_EQ(of(one, 5), QRect(920, 0, 40, 640));
}
