#include "CBookViews.h"

#include "book/CVersaleoDoc.h"

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
    painter.drawImage(QPoint(0, 0), m_flipFrame.isNull() ? m_spread : m_flipFrame, QRect(offset, QSize(width(), height())));
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
    flip::Renderer renderer(m_doc, m_painter);
    const QSize size(std::max(1, spreadWidth()), height());
    renderer.begin(c, t, size);
    m_recorded.clear();
    for (const int x : flip::offsets(renderer.pageWidth(), m_doc.flipSpeed, renderer.forward())) {
        m_flipFrame = renderer.frame(x);
        if (m_recording)
            m_recorded.push_back(m_flipFrame.copy());
        repaint();
        if (m_frameDelay > 0)
            QThread::msleep(static_cast<unsigned long>(m_frameDelay));
    }
    renderer.end();
    m_flipFrame = QImage();
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
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (inputBlocked && inputBlocked()) {
        if (blockedClick)
            blockedClick();
        return;
    }
    if (m_doc.pages.empty())
        return;
    // Zones come from the geometry the painter lays out.
    ensureComposed();
    clickAt(event->position().toPoint() + scrollOffset());
}

void CBookView::keyPressEvent(QKeyEvent* event)
{
    if ((inputBlocked && inputBlocked()) || m_doc.pages.empty())
        return;
    if (event->key() == Qt::Key_Left)
        arrowKey(true);
    else if (event->key() == Qt::Key_Right)
        arrowKey(false);
    else
        QWidget::keyPressEvent(event);
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
    const int leftIndex = c % 2 == 1 ? c : c - 1;
    const int rightIndex = c % 2 == 1 ? c + 1 : c;
    const Rect& left = pages.left;
    const Rect& right = pages.right;
    if (leftIndex >= 0 && left.contains(p.x(), p.y())) {
        if (c != leftIndex)
            turnTo(leftIndex);
        if (p.x() < left.left + left.width() / 6)
            turnTo(leftIndex - 2);
        return;
    }
    if (rightIndex < m_doc.pageCount() && right.contains(p.x(), p.y())) {
        if (c != rightIndex)
            turnTo(rightIndex);
        if (p.x() >= right.right - right.width() / 6)
            turnTo(rightIndex + 2);
        return;
    }
    if (const int target = bookmarkTabTarget(p, 16); target >= 0)
        turnTo(target);
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
    const Rect& facing = rightShown ? pages.left : pages.right;
    if (shown.contains(p.x(), p.y())) {
        const bool inFlipZone = rightShown ? p.x() >= shown.right - shown.width() / 6 : p.x() < shown.left + shown.width() / 6;
        if (inFlipZone)
            turnTo(rightShown ? c + 2 : c - 2);
        return;
    }
    // The 40 pixels of the facing page at the spine slide to it.
    const bool inSpineStrip = rightShown ? (c > 0 && p.x() >= facing.right - 40 && p.x() < facing.right)
                                         : (c < lastIndex() && p.x() >= facing.left && p.x() < facing.left + 40);
    if (inSpineStrip && p.y() >= facing.top && p.y() < facing.bottom) {
        slide(!rightShown);
        return;
    }
    if (const int target = bookmarkTabTarget(p, 32); target >= 0)
        turnTo(target);
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
