// The selection commands of a view: copy to the clipboard, select the whole
// page, cancel.
#include "CBookView.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"

#include "views/TextCodec.h"

#include "pixmill/Pixmill.h"

#include <QClipboard>
#include <QGuiApplication>

void CBookView::copySelection()
{
    if (m_doc.pages.empty())
        return;
    if (m_modes->textSelection) {
        const std::string bytes = m_doc.selectedText(m_doc.currentPage, !m_options.wideLines);
        // In the code page the page is shown in, so the reader gets what was on screen.
        const LOGFONT& font = m_doc.pages[static_cast<size_t>(m_doc.currentPage)]->font;
        QGuiApplication::clipboard()->setText(fromCodePage(bytes, codepage::forCharset(font.lfCharSet)));
        return;
    }
    if (!m_modes->bitmapSelection || !m_bitmapSelection)
        return;
    const QPoint offset = scrollOffset();
    const Rect r = pageinput::ordered(*m_bitmapSelection);
    QRect area(QPoint(r.left, r.top) - offset, QPoint(r.right, r.bottom) - offset);
    area.adjust(1, 1, -1, -1);
    if (area.width() < 5 || area.height() < 5)
        return;
    // What the window shows, without the frame drawn over it.
    ensureComposed();
    QImage shown = m_spread.copy(QRect(offset, size()));
    CopyDCToClipBoard(&shown, area.x(), area.y(), area.width(), area.height());
}

void CBookView::selectAll()
{
    if (m_doc.pages.empty())
        return;
    ensureComposed();
    const Rect page = currentPageRect();
    CBookPage& current = *m_doc.pages[static_cast<size_t>(m_doc.currentPage)];
    if (m_modes->textSelection) {
        m_selectionAnchor = {page.left, page.top};
        const PageGeometry& geometry = geometryOf(current);
        pageinput::applyTextSelection(current, geometry, {page.left, page.top}, {page.right, page.bottom}, geometry.lineHeight,
                                      lineCount(current));
        m_options.textSelection = true;
    } else if (m_modes->bitmapSelection) {
        m_bitmapSelection = Rect{page.left + 1, page.top + 1, page.right - 2, page.bottom - 2};
        m_options.bitmapSelection = m_bitmapSelection;
    }
    recompose();
}

void CBookView::cancelSelection()
{
    if (!m_doc.pages.empty() && m_doc.currentPage < m_doc.pageCount())
        pageinput::clearTextSelection(*m_doc.pages[static_cast<size_t>(m_doc.currentPage)]);
    m_bitmapSelection.reset();
    m_options.bitmapSelection.reset();
    m_options.textSelection = false;
    recompose();
}
