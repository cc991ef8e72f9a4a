#include "CDemoView.h"

#include "views/SlideLayout.h"

#include "book/CVersaleoDoc.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

CDemoView::CDemoView(CVersaleoDoc& doc, PictureSource& pictures, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_painter(doc, pictures)
{
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel comes from the slide: nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CDemoView::setNarrowLines(bool narrow)
{
    if (narrow == m_narrowLines)
        return;
    m_narrowLines = narrow;
    m_composed = false;
    update();
}

void CDemoView::refresh()
{
    m_painter.dropBackground();
    m_composed = false;
    update();
}

void CDemoView::settle()
{
    const int slide = slide::slideAtOrAfter(m_doc, m_doc.currentPage);
    if (slide < 0 || slide == m_doc.currentPage)
        return;
    m_doc.currentPage = slide;
    m_composed = false;
    if (pageChanged)
        pageChanged();
}

void CDemoView::showCurrentSlide()
{
    settle();
    m_composed = false;
    update();
}

void CDemoView::ensureComposed()
{
    settle();
    if (m_composed && m_image.size() == size())
        return;
    if (m_image.size() != size())
        m_image = QImage(size(), QImage::Format_RGB32);
    m_painter.paint(m_image, slide::slideAtOrAfter(m_doc, m_doc.currentPage), m_narrowLines);
    m_composed = true;
}

void CDemoView::showSlideAt(int index)
{
    if (index < 0)
        return;
    m_doc.currentPage = index;
    m_composed = false;
    // The reader sees the slide change with the key, not at the next idle moment.
    repaint();
    if (pageChanged)
        pageChanged();
}

void CDemoView::nextSlide()
{
    settle();
    showSlideAt(slide::nextSlide(m_doc));
}

void CDemoView::previousSlide()
{
    settle();
    showSlideAt(slide::previousSlide(m_doc));
}

void CDemoView::paintEvent(QPaintEvent* event)
{
    ensureComposed();
    QPainter painter(this);
    const QRect r = event->rect();
    painter.drawImage(r.topLeft(), m_image, r);
}

void CDemoView::resizeEvent(QResizeEvent*)
{
    m_painter.dropBackground();
    m_composed = false;
}

void CDemoView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    // Where the window system moves windows itself it does so here too.
    if (QWindow* handle = window()->windowHandle(); handle && handle->startSystemMove())
        return;
    m_dragging = true;
    m_pressed = event->globalPosition().toPoint();
    m_windowAtPress = window()->frameGeometry();
}

void CDemoView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint now = event->globalPosition().toPoint();
    const Rect start{m_windowAtPress.left(), m_windowAtPress.top(), m_windowAtPress.right() + 1,
                     m_windowAtPress.bottom() + 1};
    const Rect moved = slide::draggedWindow(start, {m_pressed.x(), m_pressed.y()}, {now.x(), now.y()});
    window()->move(moved.left, moved.top);
}

void CDemoView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
}

void CDemoView::keyPressEvent(QKeyEvent* event)
{
    switch (slide::stepForKey(event->key())) {
    case slide::Step::Back: previousSlide(); break;
    case slide::Step::Forward: nextSlide(); break;
    // Esc and the rest are the frame's.
    case slide::Step::None: event->ignore(); break;
    }
}

void CDemoView::contextMenuEvent(QContextMenuEvent* event)
{
    if (popupMenu)
        popupMenu(event->globalPos());
    event->accept();
}
