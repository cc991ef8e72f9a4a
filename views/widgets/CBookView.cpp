#include "CBookView.h"

#include "book/CVersaleoDoc.h"

#include "views/Canvas.h"
#include "views/FlipAnimation.h"

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
    // Another window, book or view may have put another page here: a mark or
    // tag selected on the old one must not be deleted on the new one.
    if (m_selectedOn != currentPageRecord())
        m_selectedMark = m_selectedTag = -1;
    m_painter.dropBackground();
    recompose();
}

const CBookPage* CBookView::currentPageRecord() const
{
    const auto c = static_cast<size_t>(m_doc.currentPage);
    return m_doc.currentPage >= 0 && c < m_doc.pages.size() ? m_doc.pages[c].get() : nullptr;
}

void CBookView::recompose()
{
    m_composed = false;
    update();
}

void CBookView::ensureComposed()
{
    const QSize size(std::max(1, spreadWidth()), std::max(1, height()));
    if (m_composed && m_spread.size() == size)
        return;
    if (m_spread.size() != size)
        m_spread = QImage(size, QImage::Format_RGB32);
    m_painter.compose(m_spread, m_options);
    m_composed = true;
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
            const PageGeometry& geometry = geometryOf(page);
            const int top = geometry.lineTops[static_cast<size_t>(m_markDrag.line)];
            const int from = std::min(m_markDrag.anchor, m_markDrag.end), to = std::max(m_markDrag.anchor, m_markDrag.end);
            painter.setCompositionMode(QPainter::CompositionMode_Multiply);
            painter.fillRect(QRect(QPoint(from, top) - offset, QPoint(to - 1, top + geometry.lineHeight - 1) - offset),
                             toQColor(m_doc.styles.markColour));
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        // The selected mark or tag, framed with dots.
        QPen dotted(Qt::black, 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.setBrush(Qt::NoBrush);
        const std::vector<std::vector<Rect>>& marks = geometryOf(page).marks;
        if (m_selectedMark >= 0 && m_selectedMark < static_cast<int>(marks.size())) {
            for (const Rect& r : marks[static_cast<size_t>(m_selectedMark)])
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
    m_composed = false;
    QWidget::resizeEvent(event);
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
    renderer.begin(c, t, size, m_options);
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
    currentPageChanged();
}

void CBookView::rollUpCurrentPage(COLORREF fill, COLORREF outline)
{
    constexpr unsigned long kRollUpFrameDelay = 100;
    m_doc.commitSpreadEditors();
    flip::RollUp roll(m_painter);
    const QSize size(std::max(1, spreadWidth()), std::max(1, height()));
    // An even page is the spread's right-hand page.
    roll.begin(size, m_doc.currentPage % 2 == 0, fill, outline, m_options);
    m_recorded.clear();
    for (const int k : flip::RollUp::steps(roll.pageHeight(), m_doc.flipSpeed)) {
        if (m_frameDelay > 0)
            QThread::msleep(kRollUpFrameDelay);
        m_flipFrame = &roll.frame(k);
        if (m_recording)
            m_recorded.push_back(m_flipFrame->copy());
        repaint();
    }
    m_flipFrame = nullptr;
    recompose();
}

void CBookView::currentPageChanged()
{
    // A selected mark or tag belongs to the page it was selected on.
    m_selectedMark = m_selectedTag = -1;
    recompose();
    if (pageChanged)
        pageChanged();
}

int CBookView::bookmarkTabTarget(QPoint p, int strip) const
{
    const int c = m_doc.currentPage;
    const int count = m_doc.pageCount();
    for (int i = (c % 2 == 1 ? c : c - 1); i > 0; i -= 2) {
        const CBookPage& page = *m_doc.pages[static_cast<size_t>(i)];
        const Rect& tab = geometryOf(page).area;
        if (page.kind() == PageKind::BookmarkPage && p.x() >= tab.left && p.x() < tab.left + strip && p.y() >= tab.top &&
            p.y() < tab.bottom)
            return i - 2;
    }
    for (int i = (c % 2 == 0 ? c : c + 1); i >= 0 && i < count; i += 2) {
        const CBookPage& page = *m_doc.pages[static_cast<size_t>(i)];
        const Rect& tab = geometryOf(page).area;
        if (page.kind() == PageKind::BookmarkPage && p.x() < tab.right && p.x() >= tab.right - strip && p.y() >= tab.top &&
            p.y() < tab.bottom)
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

void CBookView::keyPressEvent(QKeyEvent* event)
{
    const bool escape = event->key() == Qt::Key_Escape;
    // The frame's own keys go on to it even when this view can take none.
    if ((inputBlocked && inputBlocked()) || m_doc.pages.empty())
        return escape || event->key() == Qt::Key_F11 ? event->ignore() : void();
    if (escape) {
        const bool selecting = m_modes->textSelection || m_modes->bitmapSelection;
        // With nothing here to cancel, Esc is the frame's (it leaves Full Window).
        if (!m_modes->markMode && !m_modes->tagPending && m_markDrag.line < 0 && m_selectedMark < 0 &&
            m_selectedTag < 0 && !selecting)
            return event->ignore();
        m_modes->markMode = false;
        m_modes->tagPending = false;
        m_markDrag = {};
        unselectItem();
        if (selecting)
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
    else
        switch (event->key()) {
        // The Left arrow moves forward through the book, as a page turned from the right.
        case Qt::Key_Left:
        case Qt::Key_PageDown:
        case Qt::Key_Space: pageForward(); break;
        case Qt::Key_Right:
        case Qt::Key_PageUp: pageBack(); break;
        case Qt::Key_Home:
            if (m_doc.firstContentPage() <= m_doc.lastContentPage())
                turnTo(m_doc.firstContentPage());
            break;
        case Qt::Key_End:
            if (m_doc.firstContentPage() <= m_doc.lastContentPage())
                turnTo(m_doc.lastContentPage());
            break;
        default: QWidget::keyPressEvent(event);
        }
}

Rect CBookView::currentPageRect() const
{
    const int c = m_doc.currentPage;
    if (c < 0 || c >= m_doc.pageCount())
        return {};
    const CBookPage& page = *m_doc.pages[static_cast<size_t>(c)];
    if (page.kind() == PageKind::BookmarkPage)
        return geometryOf(page).area;
    const spread::PageRects& pages = m_painter.pageRects();
    return c % 2 == 1 ? pages.left : pages.right;
}

int CBookView::lineCount(CBookPage& page) const
{
    // The one-page view lays out the wide lines, built on first use.
    return static_cast<int>(m_options.wideLines ? page.wideLines().size() : page.lines.size());
}
