// What a click or a drag does on the current page in the reader's modes:
// marks dragged along a line, text and picture selections dragged open, tags
// placed, opened and closed, and the selected mark or tag deleted.
#include "CBookView.h"

#include "book/CVersaleoDoc.h"

#include "ReaderCursors.h"

#include "views/Canvas.h"

#include <QMouseEvent>
#include <QPolygon>

bool CBookView::modeClick(QPoint p)
{
    pageinput::ViewModes& modes = *m_modes;
    if (!modes.markMode && !modes.textSelection && !modes.bitmapSelection && !modes.tagPending)
        return false;
    const Rect rect = currentPageRect();
    CBookPage& page = *m_doc.pages[static_cast<size_t>(m_doc.currentPage)];
    // A mode counts only in the page, and marks and tags only on a book page;
    // elsewhere the click goes on as usual (mark mode waits for a book page).
    const bool selecting = modes.textSelection || modes.bitmapSelection;
    if (!rect.contains(p.x(), p.y()) || (!selecting && page.kind() != PageKind::BookPage)) {
        if (modes.tagPending) {
            modes.tagPending = false;
            if (modesChanged)
                modesChanged();
        }
        return false;
    }
    if (modes.markMode) {
        m_markDrag = pageinput::startMarkDrag(geometryOf(page), {p.x(), p.y()}, lineCount(page));
        m_dragging = true;
        return true;
    }
    if (modes.textSelection) {
        pageinput::clearTextSelection(page);
        m_selectionAnchor = p;
        const PageGeometry& geometry = geometryOf(page);
        pageinput::applyTextSelection(page, geometry, {p.x(), p.y()}, {p.x(), p.y()}, geometry.lineHeight, lineCount(page));
        m_options.textSelection = true;
        m_dragging = true;
        recompose();
        return true;
    }
    if (modes.bitmapSelection) {
        m_options.bitmapSelection.reset();
        m_bitmapSelection = Rect{p.x(), p.y(), p.x(), p.y()};
        m_dragging = true;
        recompose();
        return true;
    }
    modes.tagPending = false;
    auto tag = pageinput::newTag(rect, {p.x(), p.y()}, m_doc.styles.tagColour);
    PageTag& placed = *tag;
    page.tags.push_back(std::move(tag));
    m_doc.modified = 1;
    recompose();
    const Point at = pageinput::tagPoint(placed, rect);
    openTagEditor(placed, {at.x, at.y, at.x + 100, at.y + 20});
    if (modesChanged)
        modesChanged();
    return true;
}

void CBookView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(inputBlocked && inputBlocked()) && !m_flipFrame)
        setCursor(readerCursor(cursorIdAt(event->position().toPoint() + scrollOffset())));
    if (!(event->buttons() & Qt::LeftButton) || !m_dragging || m_doc.pages.empty())
        return;
    const QPoint p = event->position().toPoint() + scrollOffset();
    const Rect page = currentPageRect();
    CBookPage& current = *m_doc.pages[static_cast<size_t>(m_doc.currentPage)];
    if (m_modes->markMode && m_markDrag.line >= 0) {
        const Rect text{page.left + 30, page.top + 30, page.right - 30, page.bottom - 30};
        if (text.contains(p.x(), p.y())) {
            m_markDrag.end = pageinput::clampToLine(geometryOf(current), m_markDrag.line, p.x());
            update();
        }
    } else if (m_modes->textSelection && page.contains(p.x(), p.y())) {
        const PageGeometry& geometry = geometryOf(current);
        const auto changed = pageinput::applyTextSelection(current, geometry, {m_selectionAnchor.x(), m_selectionAnchor.y()},
                                                           {p.x(), p.y()}, geometry.lineHeight, lineCount(current));
        invertCells(current, changed);
    } else if (m_modes->bitmapSelection && m_bitmapSelection && page.contains(p.x(), p.y())) {
        m_bitmapSelection->right = p.x();
        m_bitmapSelection->bottom = p.y();
        update();
    }
}

void CBookView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    const bool dragging = std::exchange(m_dragging, false);
    if (!dragging || m_doc.pages.empty())
        return;
    if (m_modes->markMode) {
        CBookPage& page = *m_doc.pages[static_cast<size_t>(m_doc.currentPage)];
        const auto mark = pageinput::finishMarkDrag(page, geometryOf(page), m_markDrag, m_doc.styles.markColour);
        m_markDrag = {};
        if (mark) {
            m_doc.modified = 1;
            if (modesChanged)
                modesChanged();
        }
        recompose();
    } else if (m_modes->bitmapSelection && m_bitmapSelection) {
        // The painter frames it from its top-left corner.
        m_options.bitmapSelection = pageinput::ordered(*m_bitmapSelection);
        recompose();
    }
}

bool CBookView::itemClick(QPoint p)
{
    CBookPage& page = *m_doc.pages[static_cast<size_t>(m_doc.currentPage)];
    const Rect rect = currentPageRect();
    if (page.kind() == PageKind::NotePage) {
        if (!rect.contains(p.x(), p.y()))
            return false;
        openNoteEditors(page, p);
        return true;
    }
    if (page.kind() == PageKind::IndexPage) {
        const int target = pageinput::indexEntryTarget(m_doc, m_doc.currentPage, geometryOf(page), rect, {p.x(), p.y()});
        if (target >= 0) {
            turnTo(target);
            return true;
        }
        return false;
    }
    if (page.kind() != PageKind::BookPage)
        return false;
    const PageGeometry& geometry = geometryOf(page);
    for (size_t k = 0; k < page.tags.size() && k < geometry.tagTriangles.size() && k < geometry.tagBoxes.size(); ++k) {
        PageTag* tag = page.tags[k].get();
        const auto& t = geometry.tagTriangles[k];
        const QPolygon triangle({QPoint(t[0].x, t[0].y), QPoint(t[1].x, t[1].y), QPoint(t[2].x, t[2].y)});
        if (triangle.containsPoint(p, Qt::OddEvenFill)) {
            tag->open = tag->open ? 0 : 1;
            recompose();
            return true;
        }
        if (tag->open && geometry.tagBoxes[k].contains(p.x(), p.y())) {
            openTagEditor(*tag, geometry.tagBoxes[k]);
            return true;
        }
    }
    if (pageinput::tagRodAt(page, rect, {p.x(), p.y()}) >= 0)
        return true;
    if (const int mark = pageinput::markAt(geometry, {p.x(), p.y()}); mark >= 0) {
        m_selectedMark = mark;
        m_selectedOn = &page;
        update();
        return true;
    }
    return false;
}

void CBookView::invertCells(const CBookPage& page, const std::vector<size_t>& cells)
{
    if (cells.empty())
        return;
    if (!m_composed || !m_options.textSelection)
        return recompose();
    // The spread inverts every selected cell; a cell that changed is inverted
    // once more there and repainted alone.
    const PageGeometry& geometry = geometryOf(page);
    const QPoint offset = scrollOffset();
    Canvas canvas(m_spread);
    QRegion changed;
    for (const size_t i : cells) {
        if (i >= geometry.cells.size())
            continue;
        const Rect& r = geometry.cells[i].rect;
        canvas.invertRect(r);
        changed += QRect(r.left, r.top, r.width(), r.height()).translated(-offset);
    }
    update(changed);
}

void CBookView::unselectItem()
{
    if (m_selectedMark < 0 && m_selectedTag < 0)
        return;
    m_selectedMark = m_selectedTag = -1;
    update();
}

void CBookView::deleteSelectedItem()
{
    if (m_doc.pages.empty())
        return;
    CBookPage& page = *m_doc.pages[static_cast<size_t>(m_doc.currentPage)];
    if (&page != m_selectedOn) {
        m_selectedMark = m_selectedTag = -1;
        return;
    }
    if (m_selectedMark >= 0 && m_selectedMark < static_cast<int>(page.marks.size()))
        page.marks.erase(page.marks.begin() + m_selectedMark);
    else if (m_selectedTag >= 0 && m_selectedTag < static_cast<int>(page.tags.size()))
        page.tags.erase(page.tags.begin() + m_selectedTag);
    else
        return;
    m_selectedMark = m_selectedTag = -1;
    m_doc.modified = 1;
    recompose();
    if (modesChanged)
        modesChanged();
}

std::optional<COLORREF> CBookView::selectedItemColour() const
{
    const CBookPage* page = currentPageRecord();
    if (!page || page != m_selectedOn)
        return std::nullopt;
    if (m_selectedMark >= 0 && m_selectedMark < static_cast<int>(page->marks.size()))
        return page->marks[static_cast<size_t>(m_selectedMark)].colour;
    if (m_selectedTag >= 0 && m_selectedTag < static_cast<int>(page->tags.size()))
        return page->tags[static_cast<size_t>(m_selectedTag)]->colour;
    return std::nullopt;
}

bool CBookView::recolourSelectedItem(COLORREF colour)
{
    if (!selectedItemColour())
        return false;
    CBookPage& page = *m_doc.pages[static_cast<size_t>(m_doc.currentPage)];
    if (m_selectedMark >= 0)
        page.marks[static_cast<size_t>(m_selectedMark)].colour = colour;
    else
        page.tags[static_cast<size_t>(m_selectedTag)]->colour = colour;
    m_doc.modified = 1;
    recompose();
    return true;
}
