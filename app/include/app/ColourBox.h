// A box that shows a colour and is clicked to choose another: the Book Page
// dialog's paper and text colours.
#pragma once

#include <QAbstractButton>
#include <QColor>

class ColourBox : public QAbstractButton {
    Q_OBJECT

public:
    explicit ColourBox(QWidget* parent = nullptr);

    void setColour(const QColor& colour);
    const QColor& colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_colour;
};
