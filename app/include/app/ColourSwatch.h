// The colour box of the library's dialogs: drawn in the chosen colour; a
// click (or Space) opens the colour dialog at that colour.
#pragma once

#include "book/WinTypes.h"

#include <QWidget>

#include <functional>
#include <optional>

class ColourSwatch : public QWidget {
    Q_OBJECT

public:
    explicit ColourSwatch(COLORREF colour, QWidget* parent = nullptr);

    COLORREF colour() const { return m_colour; }
    void setColour(COLORREF colour);

    // Asks for a colour starting at the given one; nothing when cancelled.
    // Qt's colour dialog unless a test puts something else in.
    std::function<std::optional<COLORREF>(COLORREF current)> askColour;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void choose();

    COLORREF m_colour;
};
