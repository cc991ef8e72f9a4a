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
    if (picture && !picture->isNull())
        painter.drawImage(rect(), *picture);
    if (!text().isEmpty()) {
        painter.setPen(isEnabled() ? QColor(60, 20, 70) : QColor(140, 130, 140));
        // Pressed, the caption sinks with the button.
        painter.drawText(rect().translated(isDown() ? 1 : 0, isDown() ? 1 : 0), Qt::AlignCenter, text());
    }
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
