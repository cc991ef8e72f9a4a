#include "ReaderCursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTransform>

#include <map>

namespace {

// A white shape with a black outline reads on any page colour.
void outlined(QPainter& p, const QPainterPath& path)
{
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    p.drawPath(path);
}

// The shapes are drawn pointing left; the right-pointing ones are mirrors.
QPainterPath mirrored(const QPainterPath& path, bool mirror)
{
    return mirror ? QTransform(-1, 0, 0, 1, 32, 0).map(path) : path;
}

QPainterPath arrow(bool pointingLeft)
{
    // A curved arrow, like a page corner lifting over.
    QPainterPath path;
    path.moveTo(4, 14);
    path.lineTo(12, 6);
    path.lineTo(12, 11);
    path.cubicTo(20, 11, 27, 14, 28, 24);
    path.cubicTo(24, 19, 19, 17, 12, 17);
    path.lineTo(12, 22);
    path.closeSubpath();
    return mirrored(path, !pointingLeft);
}

QPainterPath doubleArrow(bool pointingLeft)
{
    QPainterPath path;
    for (const int tip : {6, 16}) {
        path.moveTo(tip, 16);
        path.lineTo(tip + 8, 8);
        path.lineTo(tip + 8, 24);
        path.closeSubpath();
    }
    return mirrored(path, !pointingLeft);
}

QPixmap draw(int id)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (id) {
    case 150: outlined(p, arrow(true)); break;
    case 151: outlined(p, arrow(false)); break;
    case 152:
    case 161: {  // a pointing hand: an index entry, a book on the library's shelf
        QPainterPath hand;
        hand.addRoundedRect(9, 14, 16, 14, 4, 4);
        hand.addRoundedRect(11, 3, 5, 16, 2.5, 2.5);
        outlined(p, hand.simplified());
        p.drawLine(17, 15, 17, 20);
        p.drawLine(21, 15, 21, 20);
        break;
    }
    case 153:
    case 154: {  // a bookmark ribbon with an arrow to where it leads
        QPainterPath ribbon;
        ribbon.moveTo(11, 3);
        ribbon.lineTo(21, 3);
        ribbon.lineTo(21, 27);
        ribbon.lineTo(16, 22);
        ribbon.lineTo(11, 27);
        ribbon.closeSubpath();
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(QColor(255, 80, 80));
        p.drawPath(ribbon);
        const int tip = id == 153 ? 30 : 2, back = id == 153 ? 24 : 8;
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygon({QPoint(tip, 12), QPoint(back, 8), QPoint(back, 16)}));
        break;
    }
    case 155: {  // a marker pen, its tip at the hot spot
        p.translate(4, 28);
        p.rotate(-45);
        QPainterPath pen;
        pen.addRect(6, -4, 22, 8);
        outlined(p, pen);
        p.setBrush(QColor(255, 230, 0));
        p.drawPolygon(QPolygon({QPoint(0, 0), QPoint(6, -4), QPoint(6, 4)}));
        break;
    }
    case 156: {  // a pin
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(4, 28, 14, 18);
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(QColor(255, 122, 122));
        p.drawEllipse(QPointF(19, 13), 8, 8);
        break;
    }
    case 157: outlined(p, doubleArrow(true)); break;
    case 158: outlined(p, doubleArrow(false)); break;
    case 160: {  // a pencil
        p.translate(4, 28);
        p.rotate(-45);
        QPainterPath pencil;
        pencil.moveTo(0, 0);
        pencil.lineTo(7, -4);
        pencil.lineTo(30, -4);
        pencil.lineTo(30, 4);
        pencil.lineTo(7, 4);
        pencil.closeSubpath();
        outlined(p, pencil);
        p.drawLine(7, -4, 7, 4);
        break;
    }
    case 163: {  // a text caret with a small T
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(16, 4, 16, 28);
        p.drawLine(11, 4, 21, 4);
        p.drawLine(11, 28, 21, 28);
        p.setPen(QPen(Qt::black, 1.5));
        p.drawLine(22, 14, 30, 14);
        p.drawLine(26, 14, 26, 24);
        break;
    }
    case 164: {  // a cross over a dotted frame
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(18, 18, 12, 10);
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(2, 10, 18, 10);
        p.drawLine(10, 2, 10, 18);
        break;
    }
    default: return {};
    }
    return pixmap;
}

QPoint hotSpot(int id)
{
    switch (id) {
    case 150: return {4, 14};
    case 151: return {28, 14};
    case 152:
    case 161: return {13, 3};
    case 155:
    case 156:
    case 160: return {4, 28};
    case 164: return {10, 10};
    default: return {16, 16};
    }
}

}  // namespace

QPixmap readerCursorPicture(int id)
{
    return draw(id);
}

QCursor readerCursor(int id)
{
    static std::map<int, QCursor> cursors;
    if (const auto found = cursors.find(id); found != cursors.end())
        return found->second;
    const QPixmap picture = draw(id);
    const QCursor cursor = picture.isNull() ? QCursor(Qt::ArrowCursor) : QCursor(picture, hotSpot(id).x(), hotSpot(id).y());
    cursors.emplace(id, cursor);
    return cursor;
}
