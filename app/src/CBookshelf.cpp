#include "app/CBookshelf.h"

#include "library/ShelfGeometry.h"
#include "library/ShelfPainter.h"

#include "PageText.h"
#include "ReaderCursors.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr int kHandCursor = 161;
// The skinned dialogs' background, around the narrowed frame.
const QColor kDialogBack(239, 205, 224);

}  // namespace

CBookshelf::CBookshelf(CabinetLibrary& library, const LOGFONT& pageFont, QWidget* parent)
    : QWidget(parent), m_library(library), m_pageFont(pageFont)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

Rect CBookshelf::frame() const
{
    return {0, 0, width(), height()};
}

int CBookshelf::spineAt(QPoint p) const
{
    const CCabinet* cabinet = m_library.current();
    return cabinet ? shelf::spineAt(frame(), static_cast<int>(cabinet->books.size()), {p.x(), p.y()}) : -1;
}

void CBookshelf::paintEvent(QPaintEvent*)
{
    // One off-screen picture, shown in one go.
    if (m_image.size() != size())
        m_image = QImage(size(), QImage::Format_RGB32);
    m_image.fill(kDialogBack);
    paintShelf(m_image, frame(), m_library.current(), m_pageFont);
    if (m_library.selectedBook() >= 0)
        xorSelectionOutline(m_image, shelf::spineRect(frame(), m_library.selectedBook()));
    QPainter(this).drawImage(0, 0, m_image);
}

void CBookshelf::select(int book)
{
    if (book == m_library.selectedBook())
        return;
    m_library.selectBook(book);
    update();
    emit selectionChanged();
}

void CBookshelf::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        select(spineAt(event->position().toPoint()));
    QWidget::mousePressEvent(event);
}

void CBookshelf::mouseMoveEvent(QMouseEvent* event)
{
    if (spineAt(event->position().toPoint()) >= 0)
        setCursor(readerCursor(kHandCursor));
    else
        unsetCursor();
    QWidget::mouseMoveEvent(event);
}

void CBookshelf::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int book = spineAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && book >= 0) {
        select(book);
        emit readRequested();
        return;
    }
    QWidget::mouseDoubleClickEvent(event);
}

bool CBookshelf::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const int book = spineAt(help->pos());
        if (book < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        const CCabinetBook& entry = m_library.current()->books[static_cast<size_t>(book)];
        QString tip = fromPageText(entry.bookName);
        if (!entry.author.empty())
            tip += QLatin1Char('\n') + fromPageText(entry.author);
        QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}
