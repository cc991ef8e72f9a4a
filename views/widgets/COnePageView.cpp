#include "COnePageView.h"

#include "book/CVersaleoDoc.h"

COnePageView::COnePageView(CVersaleoDoc& doc, PictureSource& pictures, QWidget* parent)
    : CBookView(doc, pictures, parent)
{
    m_options.wideLines = true;
}

QPoint COnePageView::scrollOffset() const
{
    if (m_heldOffset >= 0)
        return {m_heldOffset, 0};
    return {m_doc.pageCount() > 0 && m_doc.currentPage % 2 == 0 ? width() - 80 : 0, 0};
}

void COnePageView::turnTo(int t)
{
    const int c = m_doc.currentPage;
    const int last = lastIndex();
    if (t == c || (c == 0 && t < 1) || (c == last && t >= last))
        return;
    if (c % 2 == 0 && t == c - 1)
        return slide(false);
    if (c % 2 == 1 && t == c + 1)
        return slide(true);
    if (t > c) {
        if (c % 2 == 1)
            slide(true);
        flipAndHold(std::min(t, last));
        if (m_doc.currentPage % 2 == 1)
            slide(false);
    } else {
        if (c % 2 == 0)
            slide(false);
        flipAndHold(std::max(t, 0));
        if (m_doc.currentPage % 2 == 0)
            slide(true);
    }
    m_heldOffset = -1;
    recompose();
}

void COnePageView::flipAndHold(int t)
{
    // The window stays on the side the sheet landed on, so the slide to the
    // facing page that may follow starts from there and is seen.
    const int shown = scrollOffset().x();
    flipTo(t);
    m_heldOffset = shown;
}

void COnePageView::slide(bool toRight)
{
    m_doc.commitSpreadEditors();
    // Composed once for the slide, with what the editors just stored.
    m_composed = false;
    const int target = toRight ? spreadWidth() - width() : 0;
    const int from = scrollOffset().x();
    // A few pixels at a time, so the eye follows to the facing page.
    if (toRight) {
        for (int x = from + 5; x < target; x += 5) {
            m_heldOffset = x;
            repaint();
        }
        if (m_doc.currentPage % 2 == 1)
            ++m_doc.currentPage;
    } else {
        for (int x = from - from % 5 - 5; x > 0; x -= 5) {
            m_heldOffset = x;
            repaint();
        }
        if (m_doc.currentPage % 2 == 0 && m_doc.currentPage > 0)
            --m_doc.currentPage;
    }
    m_heldOffset = -1;
    currentPageChanged();
}

QRect COnePageView::flipUpdateRect(int x) const
{
    const int w = width();
    if (x == 0)
        return rect();
    // Over the shown page the page changes; over the facing one only the sliver.
    if (m_doc.currentPage % 2 == 0)
        return x >= 1 ? QRect(40, 0, w - 40, height()) : QRect(0, 0, 40, height());
    return x < 0 ? QRect(0, 0, w - 40, height()) : QRect(w - 40, 0, 40, height());
}

void COnePageView::clickAt(QPoint p)
{
    const int c = m_doc.currentPage;
    const spread::PageRects& pages = m_painter.pageRects();
    const bool rightShown = c % 2 == 0;
    const Rect& shown = rightShown ? pages.right : pages.left;
    if (modeClick(p))
        return;
    if (shown.contains(p.x(), p.y())) {
        if (itemClick(p))
            return;
        const bool inFlipZone = rightShown ? p.x() >= shown.right - shown.width() / 6 : p.x() < shown.left + shown.width() / 6;
        if (inFlipZone)
            turnTo(rightShown ? c + 1 : c - 1);
        return;
    }
    if (inSpineStrip(p)) {
        slide(!rightShown);
        return;
    }
    if (const int target = bookmarkTabTarget(p, bookmarkStrip()); target >= 0)
        turnTo(target);
}

bool COnePageView::inSpineStrip(QPoint p) const
{
    // The 40 pixels of the facing page at the spine slide to it.
    const int c = m_doc.currentPage;
    const spread::PageRects& pages = m_painter.pageRects();
    const bool rightShown = c % 2 == 0;
    const Rect& facing = rightShown ? pages.left : pages.right;
    const bool across = rightShown ? (c > 0 && p.x() >= facing.right - 40 && p.x() < facing.right)
                                   : (c < lastIndex() && p.x() >= facing.left && p.x() < facing.left + 40);
    return across && p.y() >= facing.top && p.y() < facing.bottom;
}

void COnePageView::pageForward()
{
    // From a right page the leaf turns and the view slides to the new left
    // page, so no page is passed over.
    const int c = m_doc.currentPage;
    if (c % 2 == 0)
        turnTo(c + 1);
    else if (c != lastIndex())
        slide(true);
}

void COnePageView::pageBack()
{
    const int c = m_doc.currentPage;
    if (c % 2 == 1)
        turnTo(c - 1);
    else if (c != 0)
        slide(false);
}
