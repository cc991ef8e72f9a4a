#include "Icons.h"

#include <QTransform>

namespace icons {
namespace {

constexpr int kPlainUpTo = 24;

const QColor kGold(222, 184, 96);
const QColor kDarkGold(168, 128, 52);
const QColor kNone(0, 0, 0, 0);

QPainterPath roundedRect(double x, double y, double w, double h, double radius)
{
    QPainterPath path;
    path.addRoundedRect(x, y, w, h, radius, radius);
    return path;
}

QPainterPath rect(double x, double y, double w, double h)
{
    QPainterPath path;
    path.addRect(x, y, w, h);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    for (const QPointF& p : points)
        path.elementCount() == 0 ? path.moveTo(p) : path.lineTo(p);
    path.closeSubpath();
    return path;
}

IconShape solid(QPainterPath path, QColor colour)
{
    return {std::move(path), colour, colour, {}, {}, kNone, 0};
}

IconShape gradient(QPainterPath path, QColor from, QColor to, QPointF start, QPointF end)
{
    return {std::move(path), from, to, start, end, kNone, 0};
}

IconShape outline(QPainterPath path, QColor colour, double width)
{
    return {std::move(path), kNone, kNone, {}, {}, colour, width};
}

// A lozenge within a lozenge, as tooled on the leather cover.
QPainterPath lozenge(QPointF centre, double halfWidth, double halfHeight)
{
    return polygon({centre + QPointF(0, -halfHeight), centre + QPointF(halfWidth, 0), centre + QPointF(0, halfHeight),
                    centre + QPointF(-halfWidth, 0)});
}

// Few pixels: every edge on the 16-pixel grid (16 units a pixel), tooling
// reduced to a spine line and a title plate.
VectorIcon plainProgramIcon()
{
    VectorIcon icon;
    icon.push_back(solid(roundedRect(48, 32, 192, 208, 16), QColor(62, 12, 22)));
    icon.push_back(solid(rect(40, 24, 184, 200), QColor(246, 236, 212)));
    icon.push_back(gradient(roundedRect(24, 16, 184, 192, 16), QColor(176, 46, 62), QColor(104, 20, 36), {24, 16},
                            {208, 208}));
    icon.push_back(solid(rect(24, 16, 32, 192), QColor(40, 4, 12, 110)));
    icon.push_back(solid(rect(64, 16, 16, 192), kGold));
    icon.push_back(solid(rect(96, 64, 80, 32), kGold));
    icon.push_back(solid(polygon({{144, 192}, {176, 192}, {176, 256}, {160, 240}, {144, 256}}), kGold));
    return icon;
}

}  // namespace

VectorIcon programIcon(int size)
{
    if (size <= kPlainUpTo)
        return plainProgramIcon();
    VectorIcon icon;
    // Back board, then the page block showing along the right and bottom.
    icon.push_back(solid(roundedRect(56, 34, 176, 206, 14), QColor(62, 12, 22)));
    icon.push_back(gradient(roundedRect(46, 26, 174, 200, 8), QColor(255, 250, 236), QColor(222, 206, 170),
                            {46, 26}, {220, 226}));
    if (size >= 64) {
        for (const double x : {210.0, 214.0})
            icon.push_back(outline(polygon({{x, 36}, {x, 216}}), QColor(176, 156, 120), 1.5));
        for (const double y : {216.0, 220.0})
            icon.push_back(outline(polygon({{60, y}, {210, y}}), QColor(176, 156, 120), 1.5));
    }
    // The front cover, its spine and the gold tooling: a frame, a title
    // plate and a fleuron.
    icon.push_back(gradient(roundedRect(28, 14, 178, 198, 12), QColor(170, 46, 62), QColor(86, 16, 30), {40, 20},
                            {200, 210}));
    icon.push_back(solid(roundedRect(28, 14, 30, 198, 12), QColor(40, 4, 12, 110)));
    icon.push_back(solid(rect(60, 14, 6, 198), kGold));
    const QColor emboss(40, 4, 12, 140);
    const double frame = size >= 64 ? 5 : 8;
    icon.push_back(outline(roundedRect(84, 40, 100, 146, 10), emboss, frame + 1));
    icon.push_back(outline(roundedRect(82, 38, 100, 146, 10), kGold, frame));
    icon.push_back(solid(roundedRect(100, 58, 64, 30, 4), kGold));
    if (size >= 64) {
        icon.push_back(solid(rect(110, 68, 44, 4), QColor(120, 28, 40)));
        icon.push_back(solid(rect(116, 77, 32, 3), QColor(120, 28, 40)));
    }
    if (size >= 64) {
        icon.push_back(outline(lozenge({133.5, 141.5}, 28, 34), emboss, 6));
        icon.push_back(outline(lozenge({132, 140}, 28, 34), kGold, 5));
        icon.push_back(solid(lozenge({132, 140}, 11, 14), kGold));
    }
    // The ribbon marking the reader's place.
    icon.push_back(gradient(polygon({{148, 200}, {176, 200}, {176, 254}, {162, 240}, {148, 254}}), kGold, kDarkGold,
                            {148, 0}, {176, 0}));
    return icon;
}

VectorIcon bookTypeIcon(int size)
{
    const QColor edge(128, 128, 134);
    VectorIcon icon;
    if (size <= kPlainUpTo) {
        // On the 16-pixel grid: a one-pixel edge drawn as a sheet behind
        // the sheet, and the book as a red block with its gold spine line.
        icon.push_back(solid(polygon({{32, 0}, {160, 0}, {224, 64}, {224, 256}, {32, 256}}), edge));
        icon.push_back(solid(polygon({{48, 16}, {144, 16}, {144, 80}, {208, 80}, {208, 240}, {48, 240}}),
                             QColor(250, 250, 248)));
        icon.push_back(solid(polygon({{160, 16}, {208, 64}, {160, 64}}), QColor(214, 214, 208)));
        icon.push_back(solid(rect(80, 112, 96, 112), QColor(150, 36, 52)));
        icon.push_back(solid(rect(80, 112, 16, 112), QColor(96, 16, 30)));
        icon.push_back(solid(rect(96, 112, 16, 112), kGold));
        icon.push_back(solid(rect(128, 144, 32, 16), kGold));
        return icon;
    }
    const double left = 40, right = 216, fold = 52;
    IconShape sheet = gradient(polygon({{left, 8}, {right - fold, 8}, {right, 8 + fold}, {right, 248}, {left, 248}}),
                               QColor(255, 255, 255), QColor(232, 232, 228), {left, 8}, {right, 248});
    sheet.stroke = edge;
    sheet.strokeWidth = size <= 48 ? 10 : 6;
    icon.push_back(sheet);
    IconShape corner = solid(polygon({{right - fold, 8}, {right - fold, 8 + fold}, {right, 8 + fold}}),
                             QColor(214, 214, 208));
    corner.stroke = edge;
    corner.strokeWidth = sheet.strokeWidth;
    icon.push_back(corner);
    // Lines of text, clear of the folded corner.
    const double lineEnds[] = {140, 156, 180, 152};
    for (int line = 0; line < 4; ++line) {
        const double y = 44 + line * 18;
        icon.push_back(outline(polygon({{68, y}, {lineEnds[line], y}}), QColor(150, 150, 156), size <= 48 ? 9 : 7));
    }
    // The program's book on the sheet: what marks a file as one of ours.
    const double scale = 0.5;
    const QTransform place = QTransform().translate(68, 112).scale(scale, scale);
    for (IconShape shape : programIcon(static_cast<int>(size * scale))) {
        shape.path = place.map(shape.path);
        shape.start = place.map(shape.start);
        shape.end = place.map(shape.end);
        shape.strokeWidth *= scale;
        icon.push_back(shape);
    }
    return icon;
}

}  // namespace icons
