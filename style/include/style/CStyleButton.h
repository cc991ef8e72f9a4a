// The skinned push button: draws itself from four skin pictures and its
// caption, and behaves as an ordinary push button. Pictures, in the skin's
// suffix order: "_u" normal, "_f" under the mouse or focused, "_d" pressed,
// "_x" disabled. A disabled button sends nothing.
#pragma once

#include "style/CStyle.h"

#include <QAbstractButton>

class STYLE_API CStyleButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit CStyleButton(QWidget* parent = nullptr);
    ~CStyleButton() override;

    // Borrowed pictures (owned by CStyle, which outlives every button); the
    // same picture may be passed four times.
    void SetPicture(const QImage* normal, const QImage* focused, const QImage* pressed, const QImage* disabled);

    // The command id the button reports when clicked.
    void setCommandId(int id) { m_commandId = id; }
    int commandId() const { return m_commandId; }

    QSize sizeHint() const override;

signals:
    // Sent on every click, with the command id: the button-click command.
    void command(int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const QImage* pictureForState() const;

    const QImage* m_pictures[4] = {};
    int m_commandId = 0;
    bool m_hovered = false;
};

// The four pictures of a set, for SetPicture.
#define STYLE_PICTURES(style, set) &(style).set##_u, &(style).set##_f, &(style).set##_d, &(style).set##_x
