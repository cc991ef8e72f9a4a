// The pointer's questions to a view: which shape it takes over a point and
// which popup a right click there brings up.
#include "CBookView.h"

#include "book/CVersaleoDoc.h"

#include "ReaderCursors.h"

#include <QContextMenuEvent>

void CBookView::contextMenuEvent(QContextMenuEvent* event)
{
    const int menu = contextMenuAt(event->pos() + scrollOffset());
    if (menu < 0)
        return event->ignore();
    event->accept();
    if (menu > 0 && popupMenu)
        popupMenu(menu, event->globalPos());
}

int CBookView::contextMenuAt(QPoint p)
{
    unselectItem();
    if (inputBlocked && inputBlocked()) {
        if (blockedClick)
            blockedClick();
        return 0;
    }
    if (m_doc.pages.empty() || m_modes->helpWindowActive)
        return -1;
    ensureComposed();
    makeCurrentAt(p);
    ensureComposed();
    const Rect rect = currentPageRect();
    if (!rect.contains(p.x(), p.y()))
        return -1;
    if (m_modes->markMode)
        return 0;
    if (m_modes->textSelection || m_modes->bitmapSelection)
        return 38;
    CBookPage& page = *m_doc.pages[static_cast<size_t>(m_doc.currentPage)];
    if (const int tag = pageinput::tagRodAt(page, rect, {p.x(), p.y()}); tag >= 0) {
        m_selectedTag = tag;
        update();
        return 37;
    }
    if (const int mark = pageinput::markAt(page, {p.x(), p.y()}); mark >= 0) {
        m_selectedMark = mark;
        update();
        return 36;
    }
    return -1;
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
    pageinput::ViewModes& modes = *m_modes;
    if (modes.markMode) {
        if (bookPage)
            return 155;
        modes.markMode = false;
        if (modesChanged)
            modesChanged();
        return 0;
    }
    if (modes.textSelection && bookPage)
        return 163;
    if (modes.bitmapSelection && bookPage)
        return 164;
    if (modes.tagPending && inPage) {
        if (bookPage)
            return 156;
        modes.tagPending = false;
        if (modesChanged)
            modesChanged();
        return 0;
    }
    if (inSpineStrip(p))
        return m_doc.currentPage % 2 == 0 ? 158 : 157;
    if (!inPage) {
        if (const int target = bookmarkTabTarget(p, bookmarkStrip()); target >= 0)
            return target < m_doc.currentPage ? 154 : 153;
        return 0;
    }
    if (bookPage && (pageinput::tagRodAt(*page, rect, {p.x(), p.y()}) >= 0 || pageinput::markAt(*page, {p.x(), p.y()}) >= 0))
        return 0;
    if (page->kind() == PageKind::NotePage)
        return 160;
    if (page->kind() == PageKind::IndexPage)
        return pageinput::indexEntryTarget(m_doc, index, rect, {p.x(), p.y()}) >= 0 ? 152 : 0;
    const bool flipZone = rightSide ? p.x() >= rect.right - rect.width() / 6 : p.x() < rect.left + rect.width() / 6;
    if (flipZone)
        return rightSide ? 150 : 151;
    return 0;
}
