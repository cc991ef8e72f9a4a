#include "VectorIcon.h"

#include <QLinearGradient>
#include <QPainter>

#include <cstdio>

namespace {

QBrush brushOf(const IconShape& shape)
{
    if (shape.from == shape.to)
        return shape.from;
    QLinearGradient gradient(shape.start, shape.end);
    gradient.setColorAt(0, shape.from);
    gradient.setColorAt(1, shape.to);
    return gradient;
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string result = text;
    // "12.50" is "12.5" and "12.00" is "12": shorter files, same drawing.
    result.erase(result.find_last_not_of('0') + 1);
    if (result.back() == '.')
        result.pop_back();
    return result == "-0" ? "0" : result;
}

std::string colour(const QColor& c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.red(), c.green(), c.blue());
    return text;
}

std::string opacity(const char* attribute, const QColor& c)
{
    return c.alpha() == 255 ? std::string() : std::string(" ") + attribute + "=\"" + number(c.alphaF()) + "\"";
}

std::string pathData(const QPainterPath& path)
{
    std::string data;
    QPointF subpathStart, current;
    // A subpath that ends where it began is closed, so its outline joins.
    const auto closeIfBack = [&] {
        if (!data.empty() && current == subpathStart)
            data += " Z";
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const std::string point = number(e.x) + "," + number(e.y);
        if (e.type == QPainterPath::MoveToElement) {
            closeIfBack();
            data += (data.empty() ? "M" : " M") + point;
            subpathStart = current = QPointF(e.x, e.y);
        } else if (e.type == QPainterPath::LineToElement) {
            data += " L" + point;
            current = QPointF(e.x, e.y);
        } else if (e.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element to = path.elementAt(i + 2);
            data += " C" + point + " " + number(c2.x) + "," + number(c2.y) + " " + number(to.x) + "," + number(to.y);
            current = QPointF(to.x, to.y);
            i += 2;
        }
    }
    closeIfBack();
    return data;
}

}  // namespace

QImage paintIcon(const VectorIcon& icon, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kIconUnits, size / kIconUnits);
    for (const IconShape& shape : icon) {
        painter.setPen(shape.stroke.alpha() > 0 ? QPen(shape.stroke, shape.strokeWidth, Qt::SolidLine, Qt::RoundCap,
                                                       Qt::RoundJoin)
                                                : QPen(Qt::NoPen));
        painter.setBrush(shape.from.alpha() > 0 || shape.to.alpha() > 0 ? brushOf(shape) : QBrush(Qt::NoBrush));
        painter.drawPath(shape.path);
    }
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

std::string svgIcon(const VectorIcon& icon)
{
    const std::string units = number(kIconUnits);
    std::string defs, body;
    for (size_t i = 0; i < icon.size(); ++i) {
        const IconShape& shape = icon[i];
        std::string fill = "none";
        if (shape.from.alpha() > 0 || shape.to.alpha() > 0) {
            if (shape.from == shape.to) {
                fill = colour(shape.from);
            } else {
                const std::string id = "g" + std::to_string(i);
                defs += "    <linearGradient id=\"" + id + "\" gradientUnits=\"userSpaceOnUse\" x1=\"" +
                        number(shape.start.x()) + "\" y1=\"" + number(shape.start.y()) + "\" x2=\"" +
                        number(shape.end.x()) + "\" y2=\"" + number(shape.end.y()) + "\">\n" +
                        "      <stop offset=\"0\" stop-color=\"" + colour(shape.from) + "\"" +
                        opacity("stop-opacity", shape.from) + "/>\n" + "      <stop offset=\"1\" stop-color=\"" +
                        colour(shape.to) + "\"" + opacity("stop-opacity", shape.to) + "/>\n" +
                        "    </linearGradient>\n";
                fill = "url(#" + id + ")";
            }
        }
        body += "  <path d=\"" + pathData(shape.path) + "\" fill=\"" + fill + "\"";
        if (fill[0] == '#')
            body += opacity("fill-opacity", shape.from);
        if (shape.path.fillRule() == Qt::OddEvenFill && fill != "none")
            body += " fill-rule=\"evenodd\"";
        if (shape.stroke.alpha() > 0)
            body += " stroke=\"" + colour(shape.stroke) + "\"" + opacity("stroke-opacity", shape.stroke) +
                    " stroke-width=\"" + number(shape.strokeWidth) +
                    "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
        body += "/>\n";
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + units + "\" height=\"" + units +
           "\" viewBox=\"0 0 " + units + " " + units + "\">\n" +
           (defs.empty() ? std::string() : "  <defs>\n" + defs + "  </defs>\n") + body + "</svg>\n";
}
