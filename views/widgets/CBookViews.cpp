#include "CBookViews.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"

#include "ReaderCursors.h"
#include "TagEditor.h"

#include "views/Canvas.h"
#include "views/FlipAnimation.h"
#include "views/FontMetrics.h"

#include "pixmill/Pixmill.h"

#include <QClipboard>
#include <QGuiApplication>

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>

CBookView::CBookView(CVersaleoDoc& doc, PictureSource& pictures, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_painter(doc, pictures)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);  // the pointer changes shape over the zones
}

void CBookView::refresh()
{
    m_spread = QImage();
    update();
}

void CBookView::ensureComposed()
{
    const QSize size(std::max(1, spreadWidth()), std::max(1, height()));
    if (m_spread.size() != size) {
        m_spread = QImage(size, QImage::Format_RGB32);
        m_painter.compose(m_spread, m_options);
    }
}

void CBookView::paintEvent(QPaintEvent*)
{
    if (width() <= 0 || height() <= 0)
        return;
    ensureComposed();
    QPainter painter(this);
    const QPoint offset = scrollOffset();
    painter.drawImage(QPoint(0, 0), m_flipFrame ? *m_flipFrame : m_spread, QRect(offset, QSize(width(), height())));
    if (!m_flipFrame && m_doc.currentPage >= 0 && m_doc.currentPage < m_doc.pageCount()) {
        const CBookPage& page = *m_doc.pages[static_cast<size_t>(m_doc.currentPage)];
        // The growing highlight of a mark being dragged: darkens like a marker pen.
        if (m_markDrag.line >= 0 && m_markDrag.end != m_markDrag.anchor) {
            const int top = page.lineTops[m_markDrag.line];
            const int from = std::min(m_markDrag.anchor, m_markDrag.end), to = std::max(m_markDrag.anchor, m_markDrag.end);
            painter.setCompositionMode(QPainter::CompositionMode_Multiply);
            painter.fillRect(QRect(QPoint(from, top) - offset, QPoint(to - 1, top + page.fontHeight - 1) - offset),
                             toQColor(m_doc.styles.markColour));
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        // The selected mark or tag, framed with dots.
        QPen dotted(Qt::black, 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.setBrush(Qt::NoBrush);
        if (m_selectedMark >= 0 && m_selectedMark < static_cast<int>(page.marks.size())) {
            for (const Rect& r : page.marks[static_cast<size_t>(m_selectedMark)].rects)
                painter.drawRect(QRect(r.left - offset.x(), r.top - offset.y(), r.width() - 1, r.height() - 1));
        }
        if (m_selectedTag >= 0 && m_selectedTag < static_cast<int>(page.tags.size())) {
            const Point at = pageinput::tagPoint(*page.tags[static_cast<size_t>(m_selectedTag)], currentPageRect());
            painter.drawRect(QRect(at.x - offset.x(), at.y - 10 - offset.y(), 100, 10));
        }
        // The bitmap selection while it is dragged: a dotted green frame.
        if (m_modes->bitmapSelection && m_bitmapSelection) {
            painter.setPen(QPen(QColor(0, 255, 0), 1, Qt::DotLine));
            const Rect r = pageinput::ordered(*m_bitmapSelection);
            painter.drawRect(QRect(QPoint(r.left, r.top) - offset, QPoint(r.right, r.bottom) - offset));
        }
    }
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

void CBookView::resizeEvent(QResizeEvent* event)
{
    m_painter.dropBackground();
    m_spread = QImage();
    QWidget::resizeEvent(event);
}

COnePageView::COnePageView(CVersaleoDoc& doc, PictureSource& pictures, QWidget* parent)
    : CBookView(doc, pictures, parent)
{
    m_options.wideLines = true;
}

QPoint COnePageView::scrollOffset() const
{
    if (m_slideOffset >= 0)
        return {m_slideOffset, 0};
    return {m_doc.pageCount() > 0 && m_doc.currentPage % 2 == 0 ? width() - 80 : 0, 0};
}

int CBookView::lastIndex() const
{
    return m_doc.pageCount() - 1;
}

void CBookView::flipTo(int t)
{
    const int c = m_doc.currentPage;
    if (t == c)
        return;
    m_doc.commitSpreadEditors();
    flip::Renderer renderer(m_doc, m_painter);
    const QSize size(std::max(1, spreadWidth()), height());
    renderer.begin(c, t, size);
    m_recorded.clear();
    for (const int x : flip::offsets(renderer.pageWidth(), m_doc.flipSpeed, renderer.forward())) {
        m_flipFrame = &renderer.frame(x);
        if (m_recording)
            m_recorded.push_back(m_flipFrame->copy());
        repaint(flipUpdateRect(x));
        if (m_frameDelay > 0)
            QThread::msleep(static_cast<unsigned long>(m_frameDelay));
    }
    renderer.end();
    m_flipFrame = nullptr;
    refresh();
    if (pageChanged)
        pageChanged();
}

int CBookView::bookmarkTabTarget(QPoint p, int strip) const
{
    const int c = m_doc.currentPage;
    const int count = m_doc.pageCount();
    for (int i = (c % 2 == 1 ? c : c - 1); i > 0; i -= 2) {
        const CBookPage& page = *m_doc.pages[static_cast<size_t>(i)];
        if (page.kind() == PageKind::BookmarkPage && p.x() >= page.textArea.left && p.x() < page.textArea.left + strip &&
            p.y() >= page.textArea.top && p.y() < page.textArea.bottom)
            return i - 2;
    }
    for (int i = (c % 2 == 0 ? c : c + 1); i >= 0 && i < count; i += 2) {
        const CBookPage& page = *m_doc.pages[static_cast<size_t>(i)];
        if (page.kind() == PageKind::BookmarkPage && p.x() < page.textArea.right && p.x() >= page.textArea.right - strip &&
            p.y() >= page.textArea.top && p.y() < page.textArea.bottom)
            return i + 2;
    }
    return -1;
}

void CBookView::mousePressEvent(QMouseEvent* event)
{
    const bool left = event->button() == Qt::LeftButton;
    if (!left && event->button() != Qt::RightButton)
        return QWidget::mousePressEvent(event);
    if (left && inputBlocked && inputBlocked()) {
        if (blockedClick)
            blockedClick();
        return;
    }
    if (m_doc.pages.empty())
        return;
    unselectItem();
    if (!left)
        return;  // the context menu event follows
    // Zones come from the geometry the painter lays out.
    ensureComposed();
    clickAt(event->position().toPoint() + scrollOffset());
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
            m_markDrag.end = pageinput::clampToLine(current, m_markDrag.line, p.x());
            update();
        }
    } else if (m_modes->textSelection && page.contains(p.x(), p.y())) {
        pageinput::applyTextSelection(current, {m_selectionAnchor.x(), m_selectionAnchor.y()}, {p.x(), p.y()},
                                      current.fontHeight, lineCount(current));
        refresh();
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
        const auto mark = pageinput::finishMarkDrag(page, m_markDrag, m_doc.styles.markColour);
        m_markDrag = {};
        if (mark) {
            m_doc.modified = 1;
            if (modesChanged)
                modesChanged();
        }
        refresh();
    } else if (m_modes->bitmapSelection && m_bitmapSelection) {
        // The painter frames it from its top-left corner.
        m_options.bitmapSelection = pageinput::ordered(*m_bitmapSelection);
        refresh();
    }
}

void CBookView::keyPressEvent(QKeyEvent* event)
{
    if ((inputBlocked && inputBlocked()) || m_doc.pages.empty())
        return;
    if (event->key() == Qt::Key_Escape) {
        m_modes->markMode = false;
        m_modes->tagPending = false;
        m_markDrag = {};
        unselectItem();
        if (m_modes->textSelection || m_modes->bitmapSelection)
            cancelSelection();
        if (modesChanged)
            modesChanged();
        return;
    }
    if (m_modes->markMode)
        return;
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (control && event->key() == Qt::Key_C && (m_modes->textSelection || m_modes->bitmapSelection))
        copySelection();
    else if (control && event->key() == Qt::Key_A && (m_modes->textSelection || m_modes->bitmapSelection))
        selectAll();
    else if (event->key() == Qt::Key_Delete && (m_selectedMark >= 0 || m_selectedTag >= 0) && !m_modes->helpWindowActive)
        deleteSelectedItem();
    else if (m_modes->textSelection || m_modes->bitmapSelection)
        QWidget::keyPressEvent(event);
    else if (event->key() == Qt::Key_Left)
        arrowKey(true);
    else if (event->key() == Qt::Key_Right)
        arrowKey(false);
    else
        QWidget::keyPressEvent(event);
}

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
    rect = page.kind() == PageKind::BookmarkPage ? page.textArea : rightSide ? pages.right : pages.left;
    return true;
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

Rect CBookView::currentPageRect() const
{
    const int c = m_doc.currentPage;
    if (c < 0 || c >= m_doc.pageCount())
        return {};
    const CBookPage& page = *m_doc.pages[static_cast<size_t>(c)];
    if (page.kind() == PageKind::BookmarkPage)
        return page.textArea;
    const spread::PageRects& pages = m_painter.pageRects();
    return c % 2 == 1 ? pages.left : pages.right;
}

int CBookView::lineCount(CBookPage& page) const
{
    // The one-page view lays out the wide lines, built on first use.
    return static_cast<int>(m_options.wideLines ? page.wideLines().size() : page.lines.size());
}

bool CBookView::modeClick(QPoint p)
{
    pageinput::ViewModes& modes = *m_modes;
    if (!modes.markMode && !modes.textSelection && !modes.bitmapSelection && !modes.tagPending)
        return false;
    const Rect rect = currentPageRect();
    CBookPage& page = *m_doc.pages[static_cast<size_t>(m_doc.currentPage)];
    // A mode counts only in the page; elsewhere the click goes on as usual.
    if (!rect.contains(p.x(), p.y())) {
        if (modes.tagPending) {
            modes.tagPending = false;
            if (modesChanged)
                modesChanged();
        }
        return false;
    }
    if (modes.markMode) {
        m_markDrag = pageinput::startMarkDrag(page, {p.x(), p.y()}, lineCount(page));
        m_dragging = true;
        return true;
    }
    if (modes.textSelection) {
        pageinput::clearTextSelection(page);
        m_selectionAnchor = p;
        pageinput::applyTextSelection(page, {p.x(), p.y()}, {p.x(), p.y()}, page.fontHeight, lineCount(page));
        m_options.textSelection = true;
        m_dragging = true;
        refresh();
        return true;
    }
    if (modes.bitmapSelection) {
        m_options.bitmapSelection.reset();
        m_bitmapSelection = Rect{p.x(), p.y(), p.x(), p.y()};
        m_dragging = true;
        refresh();
        return true;
    }
    modes.tagPending = false;
    auto tag = pageinput::newTag(rect, {p.x(), p.y()}, m_doc.styles.tagColour);
    PageTag& placed = *tag;
    page.tags.push_back(std::move(tag));
    m_doc.modified = 1;
    refresh();
    const Point at = pageinput::tagPoint(placed, rect);
    openTagEditor(placed, {at.x, at.y, at.x + 100, at.y + 20});
    if (modesChanged)
        modesChanged();
    return true;
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
        if (const int target = pageinput::indexEntryTarget(m_doc, m_doc.currentPage, rect, {p.x(), p.y()}); target >= 0) {
            turnTo(target);
            return true;
        }
        return false;
    }
    if (page.kind() != PageKind::BookPage)
        return false;
    for (auto& tag : page.tags) {
        const auto& t = tag->triangle;
        const QPolygon triangle({QPoint(t[0].x, t[0].y), QPoint(t[1].x, t[1].y), QPoint(t[2].x, t[2].y)});
        if (triangle.containsPoint(p, Qt::OddEvenFill)) {
            tag->open = tag->open ? 0 : 1;
            refresh();
            return true;
        }
        if (tag->open && tag->box.contains(p.x(), p.y())) {
            openTagEditor(*tag, tag->box);
            return true;
        }
    }
    if (pageinput::tagRodAt(page, rect, {p.x(), p.y()}) >= 0)
        return true;
    if (const int mark = pageinput::markAt(page, {p.x(), p.y()}); mark >= 0) {
        m_selectedMark = mark;
        update();
        return true;
    }
    return false;
}

void CBookView::openNoteEditors(CBookPage& page, QPoint at)
{
    if (!page.lineEditors.empty())
        return;
    const QPoint offset = scrollOffset();
    const QFont font = fontFromLogFont(page.font);
    QPalette palette;
    palette.setColor(QPalette::Base, toQColor(page.background));
    palette.setColor(QPalette::Text, toQColor(page.textColour));
    NoteLineBox* above = nullptr;
    NoteLineBox* clicked = nullptr;
    for (int i = 0; i < 24; ++i) {
        // From just below a line's top to just above the next one's.
        const int top = page.lineTops[i] + 1;
        const int bottom = i + 1 < 24 ? page.lineTops[i + 1] - 1 : page.textArea.bottom - 1;
        auto* box = new NoteLineBox(this);
        QFont lineFont = font;
        lineFont.setPixelSize(std::max(1, page.fontHeight));
        box->setFont(lineFont);
        box->setPalette(palette);
        box->setGeometry(page.textArea.left - offset.x(), top - offset.y(), page.textArea.width(), std::max(1, bottom - top));
        if (static_cast<size_t>(i) < page.lines.size()) {
            std::string line = page.lines[static_cast<size_t>(i)];
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                line.pop_back();
            box->setText(fromSystem(line));
        }
        box->above = above;
        if (above)
            above->below = box;
        above = box;
        box->show();
        if (!clicked && at.y() <= bottom)
            clicked = box;
        page.lineEditors.push_back(std::make_unique<NoteLineEditor>(box));
    }
    // The caret goes to the line clicked.
    if (!clicked)
        clicked = above;
    clicked->setFocus();
    clicked->end(false);
    m_doc.modified = 1;
}

void CBookView::openTagEditor(PageTag& tag, const Rect& box)
{
    if (tag.editor)
        return;
    auto* editor = new TagEditorBox(this);
    editor->setFont(fontFromLogFont(m_doc.styles.tagFont));
    QPalette palette = editor->palette();
    palette.setColor(QPalette::Base, toQColor(tag.colour));
    palette.setColor(QPalette::Text, Qt::black);
    editor->setPalette(palette);
    QStringList lines;
    for (size_t k = 0; k < PageTag::kLines; ++k) {
        if (const std::string line = tag.line(k); !line.empty())
            lines << fromSystem(line);
    }
    editor->setPlainText(lines.join(QChar('\n')));
    const QPoint offset = scrollOffset();
    editor->setGeometry(box.left - offset.x(), box.top - offset.y(), box.width(), box.height());
    editor->fitHeight();
    PageTag* edited = &tag;
    editor->leaving = [this, edited] {
        edited->commitEditor();
        m_doc.modified = 1;
        refresh();
    };
    tag.editor = std::make_unique<TagEditor>(editor);
    editor->show();
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);
}

void CBookView::unselectItem()
{
    if (m_selectedMark < 0 && m_selectedTag < 0)
        return;
    m_selectedMark = m_selectedTag = -1;
    update();
}

void CBookView::copySelection()
{
    if (m_doc.pages.empty())
        return;
    if (m_modes->textSelection) {
        const std::string bytes = m_doc.selectedText(m_doc.currentPage, !m_options.wideLines);
        QGuiApplication::clipboard()->setText(QString::fromStdString(codepage::toUtf8(bytes)));
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
        pageinput::applyTextSelection(current, {page.left, page.top}, {page.right, page.bottom}, current.fontHeight,
                                      lineCount(current));
        m_options.textSelection = true;
    } else if (m_modes->bitmapSelection) {
        m_bitmapSelection = Rect{page.left + 1, page.top + 1, page.right - 2, page.bottom - 2};
        m_options.bitmapSelection = m_bitmapSelection;
    }
    refresh();
}

void CBookView::cancelSelection()
{
    if (!m_doc.pages.empty() && m_doc.currentPage < m_doc.pageCount())
        pageinput::clearTextSelection(*m_doc.pages[static_cast<size_t>(m_doc.currentPage)]);
    m_bitmapSelection.reset();
    m_options.bitmapSelection.reset();
    m_options.textSelection = false;
    refresh();
}

void CBookView::deleteSelectedItem()
{
    if (m_doc.pages.empty())
        return;
    CBookPage& page = *m_doc.pages[static_cast<size_t>(m_doc.currentPage)];
    if (m_selectedMark >= 0 && m_selectedMark < static_cast<int>(page.marks.size()))
        page.marks.erase(page.marks.begin() + m_selectedMark);
    else if (m_selectedTag >= 0 && m_selectedTag < static_cast<int>(page.tags.size()))
        page.tags.erase(page.tags.begin() + m_selectedTag);
    else
        return;
    m_selectedMark = m_selectedTag = -1;
    m_doc.modified = 1;
    refresh();
    if (modesChanged)
        modesChanged();
}

void CTwoPageView::turnTo(int t)
{
    const int c = m_doc.currentPage;
    const int last = lastIndex();
    if ((c == 0 && t < 1) || (c == last && t >= last))
        return;
    // The other page of the same spread: only the current page changes.
    if ((c % 2 == 0 && t == c - 1) || (c % 2 == 1 && t == c + 1)) {
        m_doc.currentPage = t;
        refresh();
        if (pageChanged)
            pageChanged();
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

void CTwoPageView::arrowKey(bool left)
{
    turnTo(m_doc.currentPage + (left ? 2 : -2));
}

void COnePageView::turnTo(int t)
{
    const int c = m_doc.currentPage;
    const int last = lastIndex();
    if ((c == 0 && t < 1) || (c == last && t >= last))
        return;
    if (c % 2 == 0 && t == c - 1)
        return slide(false);
    if (c % 2 == 1 && t == c + 1)
        return slide(true);
    if (t > c) {
        if (c % 2 == 1)
            slide(true);
        flipTo(std::min(t, last));
        if (m_doc.currentPage % 2 == 1)
            slide(false);
    } else {
        if (c % 2 == 0)
            slide(false);
        flipTo(std::max(t, 0));
        if (m_doc.currentPage % 2 == 0)
            slide(true);
    }
}

void COnePageView::slide(bool toRight)
{
    m_doc.commitSpreadEditors();
    const int target = toRight ? spreadWidth() - width() : 0;
    const int from = scrollOffset().x();
    if (m_spread.isNull())
        repaint();
    // A few pixels at a time, so the eye follows to the facing page.
    if (toRight) {
        for (int x = from + 5; x < target; x += 5) {
            m_slideOffset = x;
            repaint();
        }
        if (m_doc.currentPage % 2 == 1)
            ++m_doc.currentPage;
    } else {
        for (int x = from - from % 5 - 5; x > 0; x -= 5) {
            m_slideOffset = x;
            repaint();
        }
        if (m_doc.currentPage % 2 == 0 && m_doc.currentPage > 0)
            --m_doc.currentPage;
    }
    m_slideOffset = -1;
    refresh();
    if (pageChanged)
        pageChanged();
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
            turnTo(rightShown ? c + 2 : c - 2);
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

void COnePageView::arrowKey(bool left)
{
    const int c = m_doc.currentPage;
    if (left) {
        if (c % 2 == 0)
            turnTo(c + 2);
        else if (c != lastIndex())
            slide(true);
    } else {
        if (c % 2 == 1)
            turnTo(c - 2);
        else if (c != 0)
            slide(false);
    }
}
