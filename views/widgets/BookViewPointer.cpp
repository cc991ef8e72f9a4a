// The pointer's questions to a view: which shape it takes over a point and
// which popup a right click there brings up.
#include "CBookView.h"

#include "book/CVersaleoDoc.h"

#include "ReaderCursors.h"

#include <QContextMenuEvent>

void CBookView::contextMenuEvent(QContextMenuEvent* event)
{
    const QPoint p = event->pos() + scrollOffset();
    // Right clicks with no popup of the view's bring up the window's own menu.
    const bool ours = (inputBlocked && inputBlocked()) || contextMenuAt(p) >= 0;
    rightClickAt(p, event->globalPos());
    if (ours)
        event->accept();
    else
        event->ignore();
}

CBookView::PopupHit CBookView::popupAt(QPoint p)
{
    PopupHit hit;
    if (inputBlocked && inputBlocked()) {
        hit.menu = 0;
        return hit;
    }
    if (m_doc.pages.empty() || m_modes->helpWindowActive)
        return hit;
    ensureComposed();
    Rect rect;
    bool rightSide = true;
    if (!pageUnder(p, hit.page, rect, rightSide))
        hit.page = -1;
    if (hit.page < 0 || !rect.contains(p.x(), p.y()))
        return hit;
    if (m_modes->markMode) {
        hit.menu = 0;
        return hit;
    }
    if (m_modes->textSelection || m_modes->bitmapSelection) {
        hit.menu = 38;
        return hit;
    }
    const CBookPage& page = *m_doc.pages[static_cast<size_t>(hit.page)];
    if (page.kind() != PageKind::BookPage)
        return hit;
    if (hit.tag = pageinput::tagRodAt(page, rect, {p.x(), p.y()}); hit.tag >= 0)
        hit.menu = 37;
    else if (hit.mark = pageinput::markAt(geometryOf(page), {p.x(), p.y()}); hit.mark >= 0)
        hit.menu = 36;
    return hit;
}

int CBookView::contextMenuAt(QPoint p)
{
    return popupAt(p).menu;
}

void CBookView::rightClickAt(QPoint p, QPoint global)
{
    unselectItem();
    if (inputBlocked && inputBlocked()) {
        if (blockedClick)
            blockedClick();
        return;
    }
    const PopupHit hit = popupAt(p);
    if (hit.page < 0)
        return;
    if (hit.page != m_doc.currentPage)
        makeCurrentAt(p);
    if (hit.page != m_doc.currentPage)
        return;
    m_selectedTag = hit.tag;
    m_selectedMark = hit.tag >= 0 ? -1 : hit.mark;
    m_selectedOn = currentPageRecord();
    update();
    if (hit.menu > 0 && popupMenu)
        popupMenu(hit.menu, global);
}

bool CBookView::pageUnder(QPoint, int& index, Rect& rect, bool& rightSide) const
{
    index = m_doc.currentPage;
    rect = currentPageRect();
    rightSide = index % 2 == 0;
    return index >= 0 && index < m_doc.pageCount();
}

int CBookView::cursorIdAt(QPoint p)
{
    if (m_doc.pages.empty())
        return 0;
    ensureComposed();
    int index = 0;
    Rect rect;
    bool rightSide = true;
    const bool onPage = pageUnder(p, index, rect, rightSide);
    const CBookPage* page = onPage ? m_doc.pages[static_cast<size_t>(index)].get() : nullptr;
    const bool bookPage = page && page->kind() == PageKind::BookPage;
    const bool inPage = onPage && rect.contains(p.x(), p.y());
    const pageinput::ViewModes& modes = *m_modes;
    // Over other pages the modes stay on and the pointer shows what a click does there.
    if (modes.markMode && bookPage)
        return 155;
    if (modes.textSelection && bookPage)
        return 163;
    if (modes.bitmapSelection && bookPage)
        return 164;
    if (modes.tagPending && inPage && bookPage)
        return 156;
    if (inSpineStrip(p))
        return m_doc.currentPage % 2 == 0 ? 158 : 157;
    if (!inPage) {
        if (const int target = bookmarkTabTarget(p, bookmarkStrip()); target >= 0)
            return target < m_doc.currentPage ? 154 : 153;
        return 0;
    }
    const Point at{p.x(), p.y()};
    if (bookPage && (pageinput::tagRodAt(*page, rect, at) >= 0 || pageinput::markAt(geometryOf(*page), at) >= 0))
        return 0;
    if (page->kind() == PageKind::NotePage)
        return 160;
    if (page->kind() == PageKind::IndexPage && pageinput::indexEntryTarget(m_doc, index, geometryOf(*page), rect, at) >= 0)
        return 152;
    const bool flipZone = rightSide ? p.x() >= rect.right - rect.width() / 6 : p.x() < rect.left + rect.width() / 6;
    if (flipZone)
        return rightSide ? 150 : 151;
    return 0;
}
