#include "CTwoPageView.h"

#include "book/CVersaleoDoc.h"

#include <QCursor>
#include <QMouseEvent>

void CTwoPageView::turnTo(int t)
{
    const int c = m_doc.currentPage;
    const int last = lastIndex();
    if (t == c || (c == 0 && t < 1) || (c == last && t >= last))
        return;
    // The other page of the same spread: only the current page changes.
    if ((c % 2 == 0 && t == c - 1) || (c % 2 == 1 && t == c + 1)) {
        m_doc.currentPage = t;
        currentPageChanged();
        return;
    }
    flipTo(std::clamp(t, 0, last));
}

void CTwoPageView::clickAt(QPoint p)
{
    const int c = m_doc.currentPage;
    const spread::PageRects& pages = m_painter.pageRects();
    // The pages the painter shows side by side.
    const auto [leftIndex, rightIndex] = spread::facingPair(m_doc);
    const Rect& left = pages.left;
    const Rect& right = pages.right;
    if (leftIndex >= 0 && left.contains(p.x(), p.y())) {
        if (c != leftIndex)
            turnTo(leftIndex);
        if (modeClick(p) || itemClick(p))
            return;
        if (p.x() < left.left + left.width() / 6)
            turnTo(leftIndex - 2);
        return;
    }
    if (rightIndex < m_doc.pageCount() && right.contains(p.x(), p.y())) {
        if (c != rightIndex)
            turnTo(rightIndex);
        if (modeClick(p) || itemClick(p))
            return;
        if (p.x() >= right.right - right.width() / 6)
            turnTo(rightIndex + 2);
        return;
    }
    if (modeClick(p))
        return;
    if (const int target = bookmarkTabTarget(p, bookmarkStrip()); target >= 0) {
        turnTo(target);
        return;
    }
    if (m_modes->clipWindow) {
        m_draggingWindow = true;
        m_dragStart = QCursor::pos();
        m_windowAtStart = window()->geometry();
        grabMouse();
    }
}

void CTwoPageView::makeCurrentAt(QPoint p)
{
    const int c = m_doc.currentPage;
    const spread::PageRects& pages = m_painter.pageRects();
    // The pages the painter shows side by side.
    const auto [leftIndex, rightIndex] = spread::facingPair(m_doc);
    if (c != leftIndex && leftIndex >= 0 && pages.left.contains(p.x(), p.y()))
        turnTo(leftIndex);
    else if (c != rightIndex && rightIndex < m_doc.pageCount() && pages.right.contains(p.x(), p.y()))
        turnTo(rightIndex);
}

void CTwoPageView::pageForward()
{
    turnTo(m_doc.currentPage + 2);
}

void CTwoPageView::pageBack()
{
    turnTo(m_doc.currentPage - 2);
}

bool CTwoPageView::pageUnder(QPoint p, int& index, Rect& rect, bool& rightSide) const
{
    const spread::PageRects& pages = m_painter.pageRects();
    // The pages the painter shows side by side.
    const auto [leftIndex, rightIndex] = spread::facingPair(m_doc);
    rightSide = !(leftIndex >= 0 && p.x() < pages.left.right);
    index = rightSide ? rightIndex : leftIndex;
    if (index < 0 || index >= m_doc.pageCount())
        return false;
    const CBookPage& page = *m_doc.pages[static_cast<size_t>(index)];
    rect = page.kind() == PageKind::BookmarkPage ? geometryOf(page).area : rightSide ? pages.right : pages.left;
    return true;
}

QRegion CTwoPageView::bookRegion() const
{
    QRegion region;
    int top = height(), bottom = 0;
    for (const Rect& r : m_painter.bookOutline()) {
        region += QRect(r.left, r.top, r.width(), r.height());
        top = std::min(top, r.top);
        bottom = std::max(bottom, r.bottom);
    }
    if (region.isEmpty())
        return region;
    // The spine: a band 16 pixels to each side, rounded 22 pixels wide where
    // the leaves bend at the head and the foot.
    const int spine = width() / 2;
    region += QRect(spine - 16, top, 32, bottom - top);
    region += QRegion(spine - 22, top - 8, 44, 16, QRegion::Ellipse);
    region += QRegion(spine - 22, bottom - 8, 44, 16, QRegion::Ellipse);
    return region;
}

void CTwoPageView::paintEvent(QPaintEvent* event)
{
    CBookView::paintEvent(event);
    if (m_painter.bookOutline() != m_lastOutline) {
        m_lastOutline = m_painter.bookOutline();
        if (outlineChanged)
            outlineChanged();
    }
}

void CTwoPageView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_draggingWindow) {
        window()->move(m_windowAtStart.topLeft() + (QCursor::pos() - m_dragStart));
        return;
    }
    CBookView::mouseMoveEvent(event);
}

void CTwoPageView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_draggingWindow && event->button() == Qt::LeftButton) {
        m_draggingWindow = false;
        releaseMouse();
    }
    CBookView::mouseReleaseEvent(event);
}

QRect CTwoPageView::flipUpdateRect(int x) const
{
    // The half the sheet lies over; both when it stands over the spine.
    const int half = width() / 2;
    if (x >= 1)
        return {half, 0, width() - half, height()};
    if (x < 0)
        return {0, 0, half, height()};
    return rect();
}
