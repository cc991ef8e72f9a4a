#include "style/CStyleButton.h"

#include <QPainter>

CStyleButton::CStyleButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, [this] { emit command(m_commandId); });
}

CStyleButton::~CStyleButton() = default;

void CStyleButton::SetPicture(const QImage* normal, const QImage* focused, const QImage* pressed,
                              const QImage* disabled)
{
    m_pictures[0] = normal;
    m_pictures[1] = focused;
    m_pictures[2] = pressed;
    m_pictures[3] = disabled;
    updateGeometry();
    update();
}

QSize CStyleButton::sizeHint() const
{
    if (m_pictures[0] && !m_pictures[0]->isNull())
        return m_pictures[0]->size();
    return {60, 20};
}

const QImage* CStyleButton::pictureForState() const
{
    if (!isEnabled())
        return m_pictures[3];
    if (isDown())
        return m_pictures[2];
    if (m_hovered || hasFocus())
        return m_pictures[1];
    return m_pictures[0];
}

void CStyleButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage* picture = pictureForState();
    const bool hasPicture = picture && !picture->isNull();
    const int shift = isDown() ? 1 : 0;  // pressed, the caption sinks with the button
    painter.setPen(isEnabled() ? QColor(60, 20, 70) : QColor(140, 130, 140));
    // A tool-bar button with room to spare shows its picture with the caption
    // under it; a text button stretches its picture and writes over it.
    if (hasPicture && !text().isEmpty() && height() >= picture->height() + 14) {
        painter.drawImage((width() - picture->width()) / 2, 1, *picture);
        QFont font = painter.font();
        font.setPixelSize(11);
        painter.setFont(font);
        painter.drawText(QRect(0, picture->height() + 1 + shift, width(), height() - picture->height() - 1),
                         Qt::AlignHCenter | Qt::AlignTop, text());
        return;
    }
    if (hasPicture)
        painter.drawImage(rect(), *picture);
    if (!text().isEmpty())
        painter.drawText(rect().translated(shift, shift), Qt::AlignCenter, text());
}

void CStyleButton::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CStyleButton::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}
