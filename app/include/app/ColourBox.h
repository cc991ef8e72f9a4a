// A box that shows a colour and is clicked to choose another: the Book Page
// dialog's paper and text colours, the cabinet's frame and the book's spine.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QString>

#include <optional>

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

// The colour dialog, starting at a colour; nothing when it is cancelled.
std::optional<QColor> askColourDialog(QWidget* parent, const QColor& start, const QString& title = QString());
