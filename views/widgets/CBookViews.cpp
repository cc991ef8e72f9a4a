#include "CBookViews.h"

#include "book/CVersaleoDoc.h"

#include <QPainter>

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

void CBookView::paintEvent(QPaintEvent*)
{
    if (width() <= 0 || height() <= 0)
        return;
    const QSize size(std::max(1, spreadWidth()), height());
    if (m_spread.size() != size) {
        m_spread = QImage(size, QImage::Format_RGB32);
        m_painter.compose(m_spread, m_options);
    }
    QPainter painter(this);
    const QPoint offset = scrollOffset();
    painter.drawImage(QPoint(0, 0), m_spread, QRect(offset, QSize(width(), height())));
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
    return {m_doc.pageCount() > 0 && m_doc.currentPage % 2 == 0 ? width() - 80 : 0, 0};
}
