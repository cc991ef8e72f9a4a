#include "app/ColourBox.h"

#include <QColorDialog>
#include <QPainter>

ColourBox::ColourBox(QWidget* parent) : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void ColourBox::setColour(const QColor& colour)
{
    m_colour = colour;
    update();
}

std::optional<QColor> askColourDialog(QWidget* parent, const QColor& start, const QString& title)
{
    const QColor chosen = QColorDialog::getColor(start, parent, title);
    return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
}

void ColourBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(box, m_colour);
    // A dark rim with a light inner line shows the box on any colour.
    painter.setPen(QColor(90, 50, 100));
    painter.drawRect(box);
    painter.setPen(isDown() || hasFocus() ? QColor(255, 255, 255) : QColor(255, 255, 255, 140));
    painter.drawRect(box.adjusted(1, 1, -1, -1));
}
