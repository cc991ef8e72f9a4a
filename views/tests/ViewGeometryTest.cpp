// Each view hits what it drew: its own layout of a page, tabs on their edge
// layers, flips laid out as the view lays out its pages, selections that
// repaint only the characters they change.
#include "views/FlipAnimation.h"

#include "ViewFixture.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QTest>

namespace {

void moveWithButton(QWidget* widget, QPoint to)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(to), widget->mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

// Bands of rows with ink in them: the text lines a part of a page shows.
int textRows(const QImage& image, const QRect& area)
{
    int rows = 0;
    bool inLine = false;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        bool ink = false;
        for (int x = area.left(); x <= area.right() && !ink; ++x)
            ink = qGray(image.pixel(x, y)) < 100;
        rows += ink && !inLine;
        inLine = ink;
    }
    return rows;
}

QRect textBand(const Rect& page)
{
    return QRect(page.left + 40, page.top + 40, 60, page.height() - 90);
}

// The regions a widget repaints.
class PaintedRegions : public QObject {
public:
    explicit PaintedRegions(QWidget& widget) { widget.installEventFilter(this); }
    std::vector<QRegion> regions;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            regions.push_back(static_cast<QPaintEvent*>(event)->region());
        return false;
    }
};

}  // namespace

TEST_F(Views, EachViewClicksOnTheLayoutItPainted)
{
    int c = doc.firstContentPage();
    c += c % 2;
    CBookPage& page = *doc.pages[static_cast<size_t>(c)];
    ASSERT_EQ(page.kind(), PageKind::BookPage);
    doc.currentPage = c;
    two.refresh();
    two.ensureComposed();
    // The one-page view paints the same page later, in its wide layout.
    one.refresh();
    one.ensureComposed();
    const PageGeometry narrow = two.painter().geometryOf(page);
    const PageGeometry wide = one.painter().geometryOf(page);
    ASSERT_NE(narrow.lineTops[3], wide.lineTops[3]);
    // A flip face painted by the two-page view's painter leaves its layout be.
    two.painter().paintPageImage(c, QSize(300, 400), 2);
    EXPECT_EQ(two.painter().geometryOf(page).lineTops, narrow.lineTops);
    // Selecting line 3 in the two-page view selects its line 3, as drawn there.
    two.modes().textSelection = true;
    int first = -1, last = -1;
    for (size_t i = 0; i < narrow.cells.size(); ++i) {
        if (narrow.cells[i].line != 3 || narrow.cells[i].rect.width() <= 0)
            continue;
        first = first < 0 ? static_cast<int>(i) : first;
        last = static_cast<int>(i);
    }
    ASSERT_GE(first, 0);
    const int y = narrow.lineTops[3] + narrow.lineHeight / 2;
    QTest::mousePress(&two, Qt::LeftButton, Qt::NoModifier,
                      QPoint(narrow.cells[static_cast<size_t>(first)].rect.left + 1, narrow.lineTops[3] + 1));
    moveWithButton(&two, QPoint(narrow.cells[static_cast<size_t>(last)].rect.right - 1, y + narrow.lineHeight / 2 - 1));
    QTest::mouseRelease(&two, Qt::LeftButton);
    for (size_t i = 0; i < page.cells().size(); ++i)
        EXPECT_EQ(page.cells()[i].selected != 0, narrow.cells[i].line == 3) << i;
}

TEST_F(Views, OuterLayerTabIsClickedWhereDrawn)
{
    // A bookmark leaf right after the index, far from the last content page.
    const int front = doc.firstContentPage();
    ASSERT_EQ(front % 2, 0);
    for (int side = 0; side < 2; ++side)
        doc.pages.insert(doc.pages.begin() + front + side, doc.createPage(PageKind::BookmarkPage));
    doc.numberBookmarks();
    const QColor tabColour = toQColor(doc.pages[static_cast<size_t>(front)]->background);
    doc.currentPage = doc.lastContentPage();
    two.refresh();
    two.ensureComposed();
    const spread::EdgeCounts counts = spread::edgeCounts(doc, spread::facingPair(doc));
    ASSERT_GE(counts.leftLayers, 3);
    ASSERT_LT(spread::leftLayerOf(front, spread::facingPair(doc), counts.leftLayers), counts.leftLayers);
    // Find the tab as the reader sees it: its colour left of the pages.
    const QImage shown = two.grab().toImage();
    const Rect slotTab = spread::bookmarkTab(two.painter().pageRects(), two.width(),
                                             doc.pages[static_cast<size_t>(front)]->bookmarkColour, true);
    const int y = slotTab.top + slotTab.height() / 2;
    int x = 1;
    while (x < 40 && shown.pixelColor(x, y) != tabColour)
        ++x;
    ASSERT_LT(x, 40) << "no tab drawn left of the pages";
    // The drawn tab lies out on its layer, left of and above its slot.
    EXPECT_LT(x, slotTab.left);
    const QPoint onTab(x + 1, y);
    EXPECT_EQ(two.cursorIdAt(onTab), 154);
    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier, onTab);
    EXPECT_EQ(doc.currentPage, front - 1);  // the page before the bookmark
}

TEST_F(Views, OnePageFlipFramesUseWideLines)
{
    int c = doc.firstContentPage();
    c += c % 2;  // a right page of text
    doc.currentPage = c;
    one.refresh();
    one.ensureComposed();
    QImage before(one.spreadWidth(), one.height(), QImage::Format_RGB32);
    one.painter().compose(before, one.options());
    const spread::PageRects pages = one.painter().pageRects();
    one.setRecording(true);
    QTest::keyClick(&one, Qt::Key_Left);  // the leaf turns, then the view slides to the left page
    ASSERT_EQ(doc.currentPage, c + 1);
    const std::vector<QImage>& frames = one.recordedFrames();
    ASSERT_GE(frames.size(), 4u);
    QImage after(one.spreadWidth(), one.height(), QImage::Format_RGB32);
    one.painter().compose(after, one.options());
    // The sheet lifting off the right page shows that page as the view shows
    // it, and lands on the left as the view then shows the left page.
    const int shownRows = textRows(before, textBand(pages.right));
    EXPECT_LT(shownRows, 20);  // wide lines: fewer, taller rows than the 26 narrow ones
    EXPECT_EQ(textRows(frames.front(), textBand(pages.right)), shownRows);
    EXPECT_EQ(textRows(frames.back(), textBand(pages.left)), textRows(after, textBand(pages.left)));
    if (const char* out = std::getenv("VERSALEO_SCREENSHOTS")) {
        // What the window shows: three frames of the flip, then the left page slid to.
        const QRect window(QPoint(one.width() - 80, 0), one.size());
        QImage strip(4 * one.width() / 2, one.height() / 2, QImage::Format_RGB32);
        QPainter painter(&strip);
        const size_t n = frames.size();
        const QImage panels[] = {frames[1].copy(window), frames[n / 4].copy(window), frames[n / 2 - 1].copy(window),
                                 one.grab().toImage()};
        for (int k = 0; k < 4; ++k)
            painter.drawImage(QRect(k * one.width() / 2, 0, one.width() / 2, one.height() / 2), panels[k]);
        painter.end();
        strip.save(QString(out) + "/flip-strip-one-page.png");
    }
}

TEST_F(Views, OnePageRollUpKeepsTheViewsLayout)
{
    int c = doc.firstContentPage() + 2;
    c += c % 2;  // a right page with a page of text facing it
    ASSERT_EQ(doc.pages[static_cast<size_t>(c) - 1]->kind(), PageKind::BookPage);
    doc.currentPage = c;
    one.refresh();
    one.ensureComposed();
    const QSize spreadSize(one.spreadWidth(), one.height());
    QImage shown(spreadSize, QImage::Format_RGB32);
    one.painter().compose(shown, one.options());
    const Rect left = one.painter().pageRects().left;
    flip::RollUp roll(one.painter());
    roll.begin(spreadSize, true, rgb(255, 200, 120), rgb(0, 0, 255), one.options());
    // The page that stays, on the other side, is the one the view showed.
    EXPECT_EQ(textRows(roll.frame(roll.pageHeight() / 2), textBand(left)), textRows(shown, textBand(left)));
}

TEST_F(Views, SelectingTextRepaintsOnlyWhatChanged)
{
    int c = doc.firstContentPage();
    c += c % 2;
    const CBookPage& page = *doc.pages[static_cast<size_t>(c)];
    doc.currentPage = c;
    two.refresh();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&two));
    two.ensureComposed();
    const PageGeometry geometry = two.painter().geometryOf(page);
    two.modes().textSelection = true;
    const int top = geometry.lineTops[2] + 1;
    const int left = two.painter().pageRects().right.left + 40;
    QTest::mousePress(&two, Qt::LeftButton, Qt::NoModifier, QPoint(left, top));
    QCoreApplication::processEvents();
    PaintedRegions painted(two);
    for (int x = left + 20; x < left + 200; x += 20) {
        moveWithButton(&two, QPoint(x, top + geometry.lineHeight - 2));
        QCoreApplication::processEvents();
    }
    QTest::mouseRelease(&two, Qt::LeftButton);
    QCoreApplication::processEvents();
    ASSERT_FALSE(painted.regions.empty());
    for (const QRegion& region : painted.regions)
        EXPECT_LE(region.boundingRect().height(), geometry.lineHeight + 2);
    // What shows is what a full repaint shows.
    const QImage kept = two.grab().toImage();
    two.refresh();
    EXPECT_EQ(two.grab().toImage(), kept);
}
