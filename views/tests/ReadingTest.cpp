// Reading a book as a reader does: turning through every page with keys and
// clicks, the slide to the facing page, what a refresh shows.
#include "ViewFixture.h"
#include "TagEditor.h"

#include <QKeyEvent>
#include <QTest>

#include <set>

namespace {

// Where a click forward or back lands in a view's window for the current page.
QPoint forwardClick(CBookView& view, const CVersaleoDoc& doc, bool onePage)
{
    view.ensureComposed();
    const spread::PageRects& pages = view.painter().pageRects();
    const QPoint shift = view.scrollOffset();
    if (!onePage || doc.currentPage % 2 == 0)
        return QPoint(pages.right.right - 5, 300) - shift;  // the right page's flip zone
    return QPoint(pages.right.left + 5, 300) - shift;        // the facing page's strip at the spine
}

QPoint backClick(CBookView& view, const CVersaleoDoc& doc, bool onePage)
{
    view.ensureComposed();
    const spread::PageRects& pages = view.painter().pageRects();
    const QPoint shift = view.scrollOffset();
    if (!onePage || doc.currentPage % 2 == 1)
        return QPoint(pages.left.left + 5, 300) - shift;
    return QPoint(pages.left.right - 5, 300) - shift;
}

// Records the scroll offset of every paint of a view.
class PaintedOffsets : public QObject {
public:
    explicit PaintedOffsets(CBookView& view) : m_view(view) { view.installEventFilter(this); }
    std::vector<int> offsets;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            offsets.push_back(m_view.scrollOffset().x());
        return false;
    }

private:
    CBookView& m_view;
};

// A one-page view that notes, at every paint, whether a band of the spread it
// paints from differs from a blank one.
class BandWatcher : public COnePageView {
public:
    using COnePageView::COnePageView;
    QRect band;
    QImage blank;
    std::vector<bool> differs;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        COnePageView::paintEvent(event);
        if (!blank.isNull())
            differs.push_back(m_spread.copy(band) != blank);
    }
};

class KeyCatcher : public QWidget {
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
};

}  // namespace

TEST_F(Views, OnePageLeftArrowShowsEveryPage)
{
    const int last = doc.pageCount() - 1;
    ASSERT_GT(last, 8);
    std::vector<int> forward, back;
    for (int i = 0; i <= last; ++i)
        forward.push_back(i);
    back.assign(forward.rbegin(), forward.rend());
    for (const bool clicks : {false, true}) {
        // One-page view: every index in turn, forward and back.
        doc.currentPage = 0;
        one.refresh();
        std::vector<int> seen{doc.currentPage};
        for (int step = 0; step < last; ++step) {
            if (clicks)
                QTest::mouseClick(&one, Qt::LeftButton, Qt::NoModifier, forwardClick(one, doc, true));
            else
                QTest::keyClick(&one, Qt::Key_Left);
            seen.push_back(doc.currentPage);
        }
        EXPECT_EQ(seen, forward) << clicks;
        seen = {doc.currentPage};
        for (int step = 0; step < last; ++step) {
            if (clicks)
                QTest::mouseClick(&one, Qt::LeftButton, Qt::NoModifier, backClick(one, doc, true));
            else
                QTest::keyClick(&one, Qt::Key_Right);
            seen.push_back(doc.currentPage);
        }
        EXPECT_EQ(seen, back) << clicks;

        // Two-page view: every page shows on some spread, both ways.
        for (const bool forwards : {true, false}) {
            doc.currentPage = forwards ? 0 : last;
            two.refresh();
            std::set<int> shown;
            for (int step = 0; step <= last; ++step) {
                const spread::FacingPair pair = spread::facingPair(doc);
                shown.insert({pair.left, pair.right});
                if (clicks)
                    QTest::mouseClick(&two, Qt::LeftButton, Qt::NoModifier,
                                      forwards ? forwardClick(two, doc, false) : backClick(two, doc, false));
                else
                    QTest::keyClick(&two, forwards ? Qt::Key_Left : Qt::Key_Right);
            }
            for (int i = 0; i <= last; ++i)
                EXPECT_TRUE(shown.count(i)) << i << (forwards ? " forward" : " back") << clicks;
        }
    }
}

TEST_F(Views, OnePageSlideToTheFacingPageAfterAFlipIsSeen)
{
    const int w = one.width();
    for (const bool forward : {true, false}) {
        doc.currentPage = forward ? 6 : 7;
        one.refresh();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&one));
        PaintedOffsets painted(one);
        QTest::keyClick(&one, forward ? Qt::Key_Left : Qt::Key_Right);
        EXPECT_EQ(doc.currentPage, forward ? 7 : 6);
        // The window moves from the page the sheet landed on to the one turned to.
        int between = 0;
        for (const int x : painted.offsets)
            between += x > 0 && x < w - 80;
        EXPECT_GT(between, 10) << forward;
        ASSERT_FALSE(painted.offsets.empty());
        EXPECT_EQ(painted.offsets.front(), forward ? w - 80 : 0) << forward;
        EXPECT_EQ(one.scrollOffset().x(), forward ? 0 : w - 80) << forward;
    }
}

TEST_F(Views, PageKeysTurnInBothViews)
{
    const int first = doc.firstContentPage(), lastContent = doc.lastContentPage();
    ASSERT_EQ(first % 2, 0);
    for (CBookView* view : {static_cast<CBookView*>(&two), static_cast<CBookView*>(&one)}) {
        const int step = view == &one ? 1 : 2;
        doc.currentPage = first;
        view->refresh();
        QTest::keyClick(view, Qt::Key_PageDown);
        EXPECT_EQ(doc.currentPage, first + step);
        QTest::keyClick(view, Qt::Key_Space);
        EXPECT_EQ(doc.currentPage, first + 2 * step);
        QTest::keyClick(view, Qt::Key_PageUp);
        EXPECT_EQ(doc.currentPage, first + step);
        QTest::keyClick(view, Qt::Key_End);
        EXPECT_EQ(doc.currentPage, lastContent);
        QTest::keyClick(view, Qt::Key_Home);
        EXPECT_EQ(doc.currentPage, first);
        QTest::keyClick(view, Qt::Key_Home);  // already there: nothing moves
        EXPECT_EQ(doc.currentPage, first);
        EXPECT_EQ(view->scrollOffset().x(), view == &one ? one.width() - 80 : 0);
    }
}

TEST_F(Views, EscCancelsTheViewsModeElseGoesToTheFrame)
{
    KeyCatcher frame;
    CTwoPageView view(doc, pictures, &frame);
    view.setFrameDelay(0);
    frame.resize(960, 640);
    view.resize(960, 640);
    frame.show();
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(frame.keys, std::vector<int>{Qt::Key_Escape});  // nothing to cancel: Full Window is left
    view.modes().markMode = true;
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_FALSE(view.modes().markMode);
    view.modes().textSelection = true;
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(frame.keys.size(), 1u);
}

TEST_F(Views, RefreshShowsANewBackgroundAtOnce)
{
    for (CBookView* view : {static_cast<CBookView*>(&two), static_cast<CBookView*>(&one)}) {
        pictures.plain.fill(Qt::darkGreen);
        view->refresh();
        EXPECT_EQ(view->grab().toImage().pixelColor(5, 5), QColor(Qt::darkGreen));
        pictures.plain.fill(Qt::darkBlue);
        view->refresh();
        EXPECT_EQ(view->grab().toImage().pixelColor(5, 5), QColor(Qt::darkBlue));
    }
}

TEST_F(Views, ANotePageShowsItsCommittedLinesOnceRefreshed)
{
    int c = doc.firstContentPage();
    c += c % 2;  // a right page in both views
    auto note = doc.createPage(PageKind::NotePage);
    CBookPage& page = *note;
    doc.pages.insert(doc.pages.begin() + c, std::move(note));
    doc.pages.insert(doc.pages.begin() + c + 1, doc.createPage(PageKind::NotePage));
    for (CBookView* view : {static_cast<CBookView*>(&two), static_cast<CBookView*>(&one)}) {
        page.lines.clear();
        doc.currentPage = c;
        doc.modified = 0;
        view->refresh();
        view->ensureComposed();
        const QImage blank = view->grab().toImage();
        const Rect right = view->painter().pageRects().right;
        const PageGeometry geometry = view->painter().geometryOf(page);
        const QPoint at = QPoint(right.left + 100, geometry.lineTops[0] + 4) - view->scrollOffset();
        QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, at);
        ASSERT_EQ(page.lineEditors.size(), 24u);
        EXPECT_EQ(doc.modified, 0);  // opening the editors changes nothing
        auto* line = static_cast<NoteLineEditor*>(page.lineEditors[0].get())->box();
        QTest::keyClicks(line, "WWWWWWWW");
        EXPECT_EQ(doc.modified, 1);
        // The frame's close path: commit the editors, then refresh the views.
        doc.commitSpreadEditors();
        view->refresh();
        ASSERT_FALSE(page.lines.empty());
        EXPECT_EQ(page.lines[0], "WWWWWWWW");
        const QImage shown = view->grab().toImage();
        const int rowTop = view->painter().geometryOf(page).lineTops[0] - view->scrollOffset().y();
        bool differs = false;
        for (int x = 1; x < shown.width() - 1 && !differs; ++x)
            for (int y = rowTop; y < rowTop + view->painter().geometryOf(page).lineHeight && !differs; ++y)
                differs = shown.pixel(x, y) != blank.pixel(x, y);
        EXPECT_TRUE(differs) << (view == &one ? "one-page" : "two-page");
    }
}

TEST_F(Views, TypedNoteLinesShowWhileTheOnePageViewSlides)
{
    int c = doc.firstContentPage() + 2;
    c += c % 2;  // a right page, a page of text facing it
    auto note = doc.createPage(PageKind::NotePage);
    CBookPage& page = *note;
    doc.pages.insert(doc.pages.begin() + c, std::move(note));
    doc.pages.insert(doc.pages.begin() + c + 1, doc.createPage(PageKind::NotePage));
    doc.currentPage = c;
    BandWatcher view(doc, pictures);
    view.setFrameDelay(0);
    view.resize(960, 640);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.ensureComposed();
    const PageGeometry geometry = view.painter().geometryOf(page);
    const QRect band(geometry.area.left, geometry.lineTops[0] + 1, geometry.area.width(), geometry.lineHeight - 2);
    const QPoint shift = view.scrollOffset();
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(band.left() + 50, band.top() + 2) - shift);
    ASSERT_EQ(page.lineEditors.size(), 24u);
    QTest::keyClicks(static_cast<NoteLineEditor*>(page.lineEditors[0].get())->box(), "WWWWWWWW");
    // The line as it shows before the editors are committed: blank.
    QImage before(view.spreadWidth(), view.height(), QImage::Format_RGB32);
    view.painter().compose(before, view.options());
    view.band = band;
    view.blank = before.copy(band);
    // The strip of the facing page at the spine: the view slides to it and
    // the note's typed line stays in view all the way.
    const Rect left = view.painter().pageRects().left;
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(left.right - 20, 300) - shift);
    EXPECT_EQ(doc.currentPage, c - 1);
    EXPECT_EQ(page.lines.at(0), "WWWWWWWW");
    ASSERT_GT(view.differs.size(), 10u);
    for (size_t i = 0; i < view.differs.size(); ++i)
        EXPECT_TRUE(view.differs[i]) << i;
}
