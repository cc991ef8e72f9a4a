#include "app/ColourSwatch.h"

#include "views/Canvas.h"

#include <QColorDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

ColourSwatch::ColourSwatch(COLORREF colour, QWidget* parent) : QWidget(parent), m_colour(colour)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    askColour = [this](COLORREF current) -> std::optional<COLORREF> {
        const QColor chosen = QColorDialog::getColor(toQColor(current), this, QString(),
                                                     QColorDialog::DontUseNativeDialog);
        if (!chosen.isValid())
            return std::nullopt;
        return fromQColor(chosen);
    };
}

void ColourSwatch::setColour(COLORREF colour)
{
    m_colour = colour;
    update();
}

void ColourSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(m_colour));
    painter.setPen(hasFocus() ? QColor(40, 20, 50) : QColor(150, 90, 160));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        painter.setPen(QPen(QColor(255, 255, 255), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        choose();
}

void ColourSwatch::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space) {
        choose();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ColourSwatch::choose()
{
    if (const std::optional<COLORREF> chosen = askColour(m_colour))
        setColour(*chosen);
}
