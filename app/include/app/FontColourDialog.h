// The font chooser with a text colour, as the system's font dialog offers
// it: the platform's font dialog and a colour box under it.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

class QWidget;

struct FontAndColour {
    QFont font;
    QColor colour;
};

// Starts at `start`; nothing when the reader cancels.
std::optional<FontAndColour> askFontAndColour(QWidget* parent, const FontAndColour& start, const QString& title);
// The font alone, on the same terms.
std::optional<QFont> askFont(QWidget* parent, const QFont& start, const QString& title);
