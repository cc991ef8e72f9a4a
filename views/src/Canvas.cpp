#include "views/Canvas.h"

#include "views/TextCodec.h"

#include <QFontMetrics>

QColor toQColor(COLORREF colour)
{
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

COLORREF fromQColor(const QColor& colour)
{
    return rgb(static_cast<uint8_t>(colour.red()), static_cast<uint8_t>(colour.green()),
               static_cast<uint8_t>(colour.blue()));
}

Canvas::Canvas(QImage& target) : m_image(target), m_painter(&target) {}

void Canvas::applyOp()
{
    switch (m_op) {
    case RasterOp::CopyPen: m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver); break;
    case RasterOp::MaskPen: m_painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
    case RasterOp::Not: m_painter.setCompositionMode(QPainter::RasterOp_NotDestination); break;
    case RasterOp::XorPen: m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    }
}

void Canvas::rectangle(const Rect& r)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    applyOp();
    const QRect area(r.left, r.top, r.width(), r.height());
    switch (m_brush.style) {
    case Brush::Solid: m_painter.fillRect(area, toQColor(m_brush.colour)); break;
    case Brush::Pattern:
        if (m_brush.pattern && !m_brush.pattern->isNull())
            m_painter.fillRect(area, QBrush(*m_brush.pattern));
        break;
    case Brush::Null: break;
    }
    if (m_pen.style == Pen::Solid) {
        m_painter.setPen(QPen(toQColor(m_pen.colour), 1));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(r.left, r.top, r.width() - 1, r.height() - 1);
    }
}

void Canvas::roundRect(const Rect& r, int cornerWidth, int cornerHeight)
{
    applyOp();
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(m_pen.style == Pen::Solid ? QPen(toQColor(m_pen.colour), 1) : QPen(Qt::NoPen));
    m_painter.setBrush(m_brush.style == Brush::Solid ? QBrush(toQColor(m_brush.colour)) : QBrush(Qt::NoBrush));
    m_painter.drawRoundedRect(QRectF(r.left + 0.5, r.top + 0.5, r.width() - 1, r.height() - 1), cornerWidth / 2.0,
                              cornerHeight / 2.0);
    m_painter.restore();
}

void Canvas::ellipse(const Rect& r)
{
    applyOp();
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(m_pen.style == Pen::Solid ? QPen(toQColor(m_pen.colour), 1) : QPen(Qt::NoPen));
    m_painter.setBrush(m_brush.style == Brush::Solid ? QBrush(toQColor(m_brush.colour)) : QBrush(Qt::NoBrush));
    m_painter.drawEllipse(QRectF(r.left + 0.5, r.top + 0.5, r.width() - 1, r.height() - 1));
    m_painter.restore();
}

void Canvas::arc(const Rect& r, double startDegrees, double spanDegrees)
{
    if (m_pen.style != Pen::Solid)
        return;
    applyOp();
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(QPen(toQColor(m_pen.colour), 1));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawArc(QRectF(r.left, r.top, r.width(), r.height()), static_cast<int>(startDegrees * 16),
                      static_cast<int>(spanDegrees * 16));
    m_painter.restore();
}

void Canvas::line(int x1, int y1, int x2, int y2)
{
    if (m_pen.style != Pen::Solid)
        return;
    applyOp();
    m_painter.setPen(QPen(toQColor(m_pen.colour), 1));
    m_painter.drawLine(x1, y1, x2, y2);
}

void Canvas::fillRect(const Rect& r, COLORREF colour)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    applyOp();
    m_painter.fillRect(QRect(r.left, r.top, r.width(), r.height()), toQColor(colour));
}

void Canvas::fillPolygon(const QPolygon& polygon, COLORREF colour)
{
    applyOp();
    m_painter.save();
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(toQColor(colour));
    m_painter.drawPolygon(polygon, Qt::OddEvenFill);
    m_painter.restore();
}

void Canvas::invertRect(const Rect& r)
{
    m_painter.save();
    m_painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    m_painter.fillRect(QRect(r.left, r.top, r.width(), r.height()), Qt::black);
    m_painter.restore();
}

void Canvas::dashedFrame(const Rect& r)
{
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const auto dot = [this](int x, int y, int step) {
        m_painter.fillRect(x, y, 1, 1, (step / 3) % 2 == 0 ? Qt::black : Qt::white);
    };
    int step = 0;
    for (int x = r.left; x < r.right; ++x, ++step)
        dot(x, r.top, step);
    for (int y = r.top + 1; y < r.bottom; ++y, ++step)
        dot(r.right - 1, y, step);
    for (int x = r.right - 2; x >= r.left; --x, ++step)
        dot(x, r.bottom - 1, step);
    for (int y = r.bottom - 2; y > r.top; --y, ++step)
        dot(r.left, y, step);
}

void Canvas::textOut(int x, int y, std::string_view bytes, const QFont& font, COLORREF colour, const char* codePage)
{
    // A paragraph's line end is not drawn.
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r'))
        bytes.remove_suffix(1);
    if (bytes.empty())
        return;
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.setFont(font);
    m_painter.setPen(toQColor(colour));
    m_painter.drawText(x, y + QFontMetrics(font).ascent(), fromCodePage(bytes, codePage));
}

void Canvas::drawTextEllipsis(const Rect& r, std::string_view bytes, const QFont& font, COLORREF colour,
                              const char* codePage)
{
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.setFont(font);
    m_painter.setPen(toQColor(colour));
    const QString text = QFontMetrics(font).elidedText(fromCodePage(bytes, codePage), Qt::ElideRight, r.width());
    m_painter.drawText(QRect(r.left, r.top, r.width(), r.height()), Qt::AlignLeft | Qt::AlignVCenter, text);
}

void Canvas::drawTextCentred(const Rect& r, std::string_view bytes, const QFont& font, COLORREF colour,
                             const char* codePage)
{
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.setFont(font);
    m_painter.setPen(toQColor(colour));
    m_painter.drawText(QRect(r.left, r.top, r.width(), r.height()), Qt::AlignCenter, fromCodePage(bytes, codePage));
}

void Canvas::stretchImage(const QImage& image, const Rect& destination)
{
    if (image.isNull())
        return;
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // COLORONCOLOR: no smoothing, the nearest pixel.
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    m_painter.drawImage(QRect(destination.left, destination.top, destination.width(), destination.height()), image);
}

void Canvas::copyImage(const QImage& image, int x, int y)
{
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter.drawImage(x, y, image);
}

void Canvas::backgroundPicture(const QImage& picture, const Rect& area)
{
    if (picture.isNull())
        return;
    if (tilesBackground(picture.width(), picture.height())) {
        setPen(Pen::none());
        setBrush(Brush::tiled(picture));
        rectangle(area);
    } else {
        stretchImage(picture, area);
    }
}

const QImage& cachedBackground(QImage& cache, const QImage& picture, int width, int height)
{
    if (cache.size() != QSize(width, height)) {
        cache = QImage(width, height, QImage::Format_RGB32);
        cache.fill(Qt::white);
        Canvas(cache).backgroundPicture(picture, {0, 0, width, height});
    }
    return cache;
}
