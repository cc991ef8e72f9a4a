// The lantern slide: which page it shows and where the keys step, its
// layout rules with their own numbers, the painted slide's pixels, and the
// view's keys, drags and right clicks.
#include "views/SlideLayout.h"
#include "views/SlidePainter.h"

#include "book/TextLayout.h"

#include "CDemoView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void setKinds(CVersaleoDoc& doc, std::initializer_list<PageKind> kinds)
{
    doc.pages.clear();
    for (const PageKind kind : kinds)
        doc.pages.push_back(doc.createPage(kind));
}

constexpr PageKind C = PageKind::CoverPage, I = PageKind::IndexPage, M = PageKind::BookmarkPage,
                   B = PageKind::BookPage, N = PageKind::NotePage;

TEST(SlideChoice, OnlyBookPagesAreShown)
{
    CVersaleoDoc doc;
    //               0  1  2  3  4  5  6  7  8  9 10 11
    setKinds(doc, {C, C, I, I, M, M, B, N, N, B, C, C});
    const std::vector<std::pair<int, int>> atOrAfter = {{-3, 6}, {0, 6}, {4, 6}, {6, 6}, {7, 9}, {9, 9}, {10, -1},
                                                        {12, -1}};
    for (const auto& [from, expected] : atOrAfter)
        EXPECT_EQ(slide::slideAtOrAfter(doc, from), expected) << from;
}

TEST(SlideChoice, NextAndPreviousPassOverEveryOtherKind)
{
    CVersaleoDoc doc;
    setKinds(doc, {C, C, I, I, M, M, B, N, N, B, C, C});
    doc.currentPage = 6;
    EXPECT_EQ(slide::nextSlide(doc), 9);
    EXPECT_EQ(slide::previousSlide(doc), -1);  // the first book page
    doc.currentPage = 9;
    EXPECT_EQ(slide::nextSlide(doc), -1);  // the last book page
    EXPECT_EQ(slide::previousSlide(doc), 6);
    doc.currentPage = 7;  // on a note page: both ways to the book pages around it
    EXPECT_EQ(slide::nextSlide(doc), 9);
    EXPECT_EQ(slide::previousSlide(doc), 6);
    doc.currentPage = 40;  // past the end of a book that shrank
    EXPECT_EQ(slide::previousSlide(doc), 9);
    EXPECT_EQ(slide::nextSlide(doc), -1);
}

TEST(SlideChoice, ABookWithoutBookPagesHasNoSlide)
{
    CVersaleoDoc doc;
    setKinds(doc, {C, C, N, N, C, C});
    doc.currentPage = 2;
    EXPECT_EQ(slide::slideAtOrAfter(doc, 0), -1);
    EXPECT_EQ(slide::nextSlide(doc), -1);
    EXPECT_EQ(slide::previousSlide(doc), -1);
    doc.pages.clear();
    doc.currentPage = 0;
    EXPECT_EQ(slide::slideAtOrAfter(doc, 0), -1);
    EXPECT_EQ(slide::previousSlide(doc), -1);
}

TEST(SlideKeys, LeftGoesBackUnlikeTheReadingViews)
{
    for (const int key : {Qt::Key_PageUp, Qt::Key_Left, Qt::Key_Up})
        EXPECT_EQ(slide::stepForKey(key), slide::Step::Back) << key;
    for (const int key : {Qt::Key_PageDown, Qt::Key_Right, Qt::Key_Down})
        EXPECT_EQ(slide::stepForKey(key), slide::Step::Forward) << key;
    for (const int key : {Qt::Key_Space, Qt::Key_Home, Qt::Key_End, Qt::Key_Escape, Qt::Key_A})
        EXPECT_EQ(slide::stepForKey(key), slide::Step::None) << key;
}

TEST(SlideLayout, NarrowLinesTake26RowsAndATwentiethOfTheWidth)
{
    // 1920 x 1080: a text area of 1860 x 1020; 1020 = 26 x 39 + 6.
    const spread::TextLayout narrow = slide::textLayout(1920, 1080, 20, true);
    EXPECT_EQ(narrow.area, (Rect{30, 30, 1890, 1050}));
    ASSERT_EQ(narrow.rows.tops.size(), 26u);
    EXPECT_EQ(narrow.rows.heights[0], 40);
    EXPECT_EQ(narrow.rows.heights[5], 40);
    EXPECT_EQ(narrow.rows.heights[6], 39);
    EXPECT_EQ(narrow.rows.tops[0], 30);
    EXPECT_EQ(narrow.rows.tops[6], 30 + 6 * 40);
    EXPECT_EQ(narrow.rows.bottom, 1050);
    EXPECT_EQ(narrow.fontHeight, 39);  // the row, below 1860 / 20
    // A narrow view: the width rules the font.
    EXPECT_EQ(slide::textLayout(300, 1080, 20, true).fontHeight, 240 / 20);
}

TEST(SlideLayout, WideLinesTake13RowsOrOnePerLine)
{
    const spread::TextLayout few = slide::textLayout(1920, 1080, 5, false);
    ASSERT_EQ(few.rows.tops.size(), 13u);
    EXPECT_EQ(few.rows.heights[0], 79);  // 1020 = 13 x 78 + 6
    EXPECT_EQ(few.rows.heights[6], 78);
    EXPECT_EQ(few.fontHeight, 46);  // 1860 / 40, below the row
    EXPECT_EQ(slide::textLayout(1920, 1080, 13, false).rows.tops.size(), 13u);
    const spread::TextLayout many = slide::textLayout(1920, 1080, 30, false);
    ASSERT_EQ(many.rows.tops.size(), 30u);
    EXPECT_EQ(many.rows.heights[0], 34);
    EXPECT_EQ(many.fontHeight, 34);  // the row, below 1860 / 40
    // No lines at all still lays out 13 rows.
    EXPECT_EQ(slide::textLayout(1920, 1080, 0, false).rows.tops.size(), 13u);
}

TEST(SlideLayout, TheFooterIsCentredFivePixelsAboveTheBottom)
{
    EXPECT_EQ(slide::footerText(7), "- - - No.7 - - -");
    EXPECT_EQ(slide::footerBox(1920, 1080, 100, 18), (Rect{910, 1057, 1010, 1075}));
    EXPECT_EQ(slide::footerBox(301, 300, 100, 18), (Rect{100, 277, 200, 295}));
}

TEST(SlideLayout, SmallBackgroundsTileLargeOnesStretch)
{
    EXPECT_TRUE(tilesBackground(639, 480));
    EXPECT_TRUE(tilesBackground(640, 479));
    EXPECT_FALSE(tilesBackground(640, 480));
    EXPECT_TRUE(tilesBackground(0, 0));
}

TEST(SlideLayout, ADraggedWindowFollowsThePointersTravel)
{
    const Rect start{100, 50, 900, 650};
    EXPECT_EQ(slide::draggedWindow(start, {400, 300}, {450, 260}), (Rect{150, 10, 950, 610}));
    EXPECT_EQ(slide::draggedWindow(start, {400, 300}, {400, 300}), start);
}

// Pictures whose pixels the tests predict: a background of 16-pixel
// squares, red at the top-left of each, blue elsewhere.
class TiledPictures : public PictureSource {
public:
    QImage back = [] {
        QImage image(16, 16, QImage::Format_RGB32);
        image.fill(Qt::blue);
        image.setPixelColor(0, 0, Qt::red);
        return image;
    }();
    const QImage& background() override { return back; }
    const QImage& outerCover() override { return back; }
    const QImage& innerCover() override { return back; }
    QImage pagePicture(int) override { return {}; }
};

constexpr COLORREF kPaper = rgb(250, 240, 200);
constexpr COLORREF kInk = rgb(0, 0, 128);

// Pixels of r that are not the paper's colour.
int inkIn(const QImage& image, const QRect& r)
{
    const QRgb paper = toQColor(kPaper).rgb();
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) != (paper & 0xFFFFFF);
    }
    return count;
}

// A book of text with a note leaf after its second book page: covers, the
// book pages, the notes at 6 and 7 when the first book page is at 4.
class Slides : public testing::Test {
protected:
    static void SetUpTestSuite() { installFontSubstitutions(); }
    Slides()
    {
        std::string text;
        for (int i = 0; i < 160; ++i)
            text += "Slides show the pages of the book to a room. ";
        QtTextMeasurer measurer(doc.styles.bookPage.font);
        layout::layOutText(doc, doc.firstContentPage(), text, nullptr, "", "", measurer);
        doc.rebuildIndexPages();
        doc.numberBookmarks();
        for (auto& page : doc.pages) {
            page->background = kPaper;
            page->textColour = kInk;
        }
        const int second = doc.pageOfBookPage(2);
        notes = second + 1 + (second + 1) % 2;  // the leaf after the second book page's
        for (int k = 0; k < 2; ++k) {
            auto note = doc.createPage(PageKind::NotePage);
            note->lines = {"a thought"};
            doc.pages.insert(doc.pages.begin() + notes, std::move(note));
        }
    }
    QImage paint(int index, bool narrow, int w = 960, int h = 640)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::black);
        painter.paint(image, index, narrow);
        return image;
    }
    CVersaleoDoc doc;
    TiledPictures pictures;
    SlidePainter painter{doc, pictures};
    int notes = 0;  // the first note page
};

TEST_F(Slides, ASlideCoversTheViewWithThePageAndItsLines)
{
    const int first = doc.pageOfBookPage(1);
    ASSERT_GE(first, 0);
    for (const bool narrow : {true, false}) {
        CBookPage& page = *doc.pages[static_cast<size_t>(first)];
        const QImage image = paint(first, narrow);
        const size_t lineCount = narrow ? page.lines.size() : page.wideLines().size();
        const spread::TextLayout layout = slide::textLayout(960, 640, static_cast<int>(lineCount), narrow);
        // The font height the slide drew in is the page's now.
        EXPECT_EQ(page.font.lfHeight, layout.fontHeight) << narrow;
        // The paper everywhere outside the text; nothing of the background picture.
        EXPECT_EQ(image.pixelColor(0, 0), toQColor(kPaper));
        EXPECT_EQ(image.pixelColor(959, 639), toQColor(kPaper));
        EXPECT_EQ(inkIn(image, QRect(0, 0, 30, 640)), 0) << narrow;     // the left margin
        EXPECT_EQ(inkIn(image, QRect(0, 0, 960, 30)), 0) << narrow;     // the top margin
        // Every line's row holds ink, the rows past the last line none.
        const size_t shown = std::min(lineCount, layout.rows.tops.size());
        ASSERT_GT(shown, 3u);
        for (size_t i = 0; i < layout.rows.tops.size(); ++i) {
            const QRect row(30, layout.rows.tops[i], 900, layout.rows.heights[i]);
            if (i < shown) {
                EXPECT_GT(inkIn(image, row), 20) << narrow << " row " << i;
            } else if (row.bottom() < 640 - 30) {
                EXPECT_EQ(inkIn(image, row), 0) << narrow << " row " << i;
            }
        }
    }
}

TEST_F(Slides, TheFooterNumbersTheBookPage)
{
    const int third = doc.pageOfBookPage(3);
    ASSERT_GT(third, notes);  // past the notes: the number counts book pages only
    const QImage image = paint(third, true);
    const QFont footer = [] {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(16);
        return font;
    }();
    const QFontMetrics metrics(footer);
    const int width = metrics.horizontalAdvance(QStringLiteral("- - - No.3 - - -"));
    const Rect box = slide::footerBox(960, 640, width, metrics.height());
    EXPECT_GT(inkIn(image, QRect(box.left, box.top, box.width(), box.height())), 30);
    // Centred: nothing beside the box on the bottom band.
    EXPECT_EQ(inkIn(image, QRect(0, box.top, box.left - 2, box.height())), 0);
    EXPECT_EQ(inkIn(image, QRect(box.right + 2, box.top, 960 - box.right - 2, box.height())), 0);
    // The same box with a fourth page's number is another picture.
    const QImage fourth = paint(doc.pageOfBookPage(4), true);
    EXPECT_NE(image.copy(box.left, box.top, box.width(), box.height()),
              fourth.copy(box.left, box.top, box.width(), box.height()));
}

TEST_F(Slides, WithoutABookPageOnlyTheBackgroundShows)
{
    const QImage image = paint(notes, true);  // a note page is no slide
    for (const QPoint p : {QPoint(0, 0), QPoint(16, 32), QPoint(960 - 16, 640 - 16)})
        EXPECT_EQ(image.pixelColor(p), QColor(Qt::red)) << p.x() << "," << p.y();
    EXPECT_EQ(image.pixelColor(1, 0), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(500, 300), QColor(Qt::blue));
    // A large picture stretches over the whole view instead.
    pictures.back = QImage(640, 480, QImage::Format_RGB32);
    pictures.back.fill(Qt::green);
    pictures.back.setPixelColor(639, 479, Qt::red);
    painter.dropBackground();
    const QImage stretched = paint(-1, true);
    EXPECT_EQ(stretched.pixelColor(16, 32), QColor(Qt::green));
    EXPECT_EQ(stretched.pixelColor(959, 639), QColor(Qt::red));
}

// The view as a window of its own.
class DemoView : public Slides {
protected:
    DemoView()
    {
        view.resize(800, 600);
        view.pageChanged = [this] { ++changes; };
        view.show();
    }
    CDemoView view{doc, pictures};
    int changes = 0;
};

TEST_F(DemoView, ANotePageCurrentShowsTheNextBookPageAndMakesItCurrent)
{
    doc.currentPage = notes;
    view.showCurrentSlide();
    const int next = doc.pageOfBookPage(3);
    EXPECT_EQ(doc.currentPage, next);
    EXPECT_EQ(changes, 1);
    view.ensureComposed();
    EXPECT_EQ(view.slideImage(), paint(next, true, 800, 600));
    // On the bookmark leaf or a cover before the text: the first book page.
    doc.currentPage = 0;
    view.refresh();
    view.ensureComposed();
    EXPECT_EQ(doc.currentPage, doc.pageOfBookPage(1));
}

TEST_F(DemoView, KeysStepThroughTheBookPagesAndLeftGoesBack)
{
    doc.currentPage = doc.pageOfBookPage(1);
    std::vector<int> seen;
    for (const int key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Left, Qt::Key_Up, Qt::Key_PageUp}) {
        QTest::keyClick(&view, static_cast<Qt::Key>(key));
        seen.push_back(doc.currentPage);
    }
    const auto page = [this](int n) { return doc.pageOfBookPage(n); };
    EXPECT_EQ(seen, (std::vector<int>{page(2), page(3), page(4), page(3), page(2), page(1)}));
    // What the window shows is the slide of the page the keys reached.
    EXPECT_EQ(view.grab().toImage().convertToFormat(QImage::Format_RGB32), paint(page(1), true, 800, 600));
    // Keys the slide has no use for change nothing.
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Home, Qt::Key_End})
        QTest::keyClick(&view, key);
    EXPECT_EQ(doc.currentPage, page(1));
}

TEST_F(DemoView, NextOnTheLastBookPageAndPreviousOnTheFirstDoNothing)
{
    const int last = doc.pageOfBookPage(doc.bookPageCount());
    doc.currentPage = last;
    view.refresh();
    view.nextSlide();
    EXPECT_EQ(doc.currentPage, last);
    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_EQ(doc.currentPage, last);
    const int first = doc.pageOfBookPage(1);
    doc.currentPage = first;
    view.previousSlide();
    EXPECT_EQ(doc.currentPage, first);
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(doc.currentPage, first);
    EXPECT_EQ(changes, 0);
}

TEST_F(DemoView, ABookWithoutBookPagesShowsOnlyTheBackground)
{
    setKinds(doc, {C, C, N, N, C, C});
    doc.currentPage = 2;
    view.refresh();
    const QImage shown = view.grab().toImage();
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(16 * 10, 16 * 7), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(17, 17), QColor(Qt::blue));
    EXPECT_EQ(doc.currentPage, 2);  // nothing to make current
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(doc.currentPage, 2);
}

TEST_F(DemoView, TheOnePageModeShowsTheWideLines)
{
    const int first = doc.pageOfBookPage(1);
    CBookPage& page = *doc.pages[static_cast<size_t>(first)];
    doc.currentPage = first;
    view.setNarrowLines(true);
    view.ensureComposed();
    const QImage narrow = view.slideImage();
    // 800 x 600: rows of 540 / 26 = 20, below 740 / 20.
    EXPECT_EQ(page.font.lfHeight, 20);
    view.setNarrowLines(false);
    view.ensureComposed();
    // Half as many lines, twice as long: at most 740 / 40 = 18.
    EXPECT_EQ(page.font.lfHeight, 18);
    EXPECT_EQ(view.slideImage(), paint(first, false, 800, 600));
    EXPECT_NE(view.slideImage(), narrow);
}

TEST_F(DemoView, DraggingAnywhereMovesTheWindow)
{
    view.move(100, 80);
    const QPoint start = view.frameGeometry().topLeft();
    const auto send = [this](QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(local), QPointF(view.mapToGlobal(local)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&view, &event);
    };
    send(QEvent::MouseButtonPress, QPoint(400, 300), Qt::LeftButton);
    // The pointer's global travel: 50 right and 30 up from where it went down.
    const QPoint pressedAt = view.mapToGlobal(QPoint(400, 300));
    const auto moveTo = [&](QPoint global, Qt::MouseButtons buttons) {
        QMouseEvent event(QEvent::MouseMove, QPointF(view.mapFromGlobal(global)), QPointF(global), Qt::NoButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&view, &event);
    };
    moveTo(pressedAt + QPoint(50, -30), Qt::LeftButton);
    EXPECT_EQ(view.frameGeometry().topLeft(), start + QPoint(50, -30));
    moveTo(pressedAt + QPoint(-20, 10), Qt::LeftButton);
    EXPECT_EQ(view.frameGeometry().topLeft(), start + QPoint(-20, 10));
    send(QEvent::MouseButtonRelease, view.mapFromGlobal(pressedAt + QPoint(-20, 10)), Qt::NoButton);
    // After the release, moving the pointer leaves the window where it is.
    moveTo(pressedAt + QPoint(200, 200), Qt::NoButton);
    EXPECT_EQ(view.frameGeometry().topLeft(), start + QPoint(-20, 10));
}

TEST_F(DemoView, ARightClickAsksForTheSlidesPopup)
{
    std::vector<QPoint> asked;
    view.popupMenu = [&asked](QPoint global) { asked.push_back(global); };
    const QPoint at(120, 90);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view.mapToGlobal(at));
    QApplication::sendEvent(&view, &event);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], view.mapToGlobal(at));
}

}  // namespace
