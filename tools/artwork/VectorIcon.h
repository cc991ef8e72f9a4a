// An icon as a list of filled and stroked outlines on a 256-unit square, so
// that one drawing gives both the PNG sizes and the scalable SVG file.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>

#include <string>
#include <utility>
#include <vector>

struct IconShape {
    QPainterPath path;
    // A solid fill when the two colours are equal; else a linear gradient
    // from `from` at `start` to `to` at `end`. Alpha 0: not filled.
    QColor from;
    QColor to;
    QPointF start;
    QPointF end;
    QColor stroke;  // alpha 0: no outline
    double strokeWidth = 0;
};

using VectorIcon = std::vector<IconShape>;

inline constexpr double kIconUnits = 256;

// Paints the icon into a transparent square of `size` pixels.
QImage paintIcon(const VectorIcon& icon, int size);

// The same drawing as an SVG document.
std::string svgIcon(const VectorIcon& icon);
