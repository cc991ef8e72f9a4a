// A drawing surface with the manners of a Windows device context: a current
// pen and brush, a raster operation, and GDI's rectangle conventions (a
// rectangle covers left..right-1 and top..bottom-1, outline included). All
// drawing goes to an off-screen image; pens, brushes and fonts are values that
// live for one operation.
#pragma once

#include "book/CodePage.h"
#include "book/WinTypes.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <optional>
#include <string_view>

QColor toQColor(COLORREF colour);
COLORREF fromQColor(const QColor& colour);

struct Pen {
    enum Style { Solid, Null } style = Solid;
    COLORREF colour = 0;
    static Pen none() { return {Null, 0}; }
};

struct Brush {
    enum Style { Solid, Null, Pattern } style = Solid;
    COLORREF colour = rgb(255, 255, 255);
    const QImage* pattern = nullptr;  // borrowed, for Pattern
    static Brush solid(COLORREF c) { return {Solid, c, nullptr}; }
    static Brush none() { return {Null, 0, nullptr}; }
    static Brush tiled(const QImage& image) { return {Pattern, 0, &image}; }
};

enum class RasterOp { CopyPen, MaskPen, Not, XorPen };

// A background picture is tiled when it is narrower than 640 or lower than
// 480 pixels, else stretched over the view.
constexpr bool tilesBackground(int pictureWidth, int pictureHeight)
{
    return pictureWidth < 640 || pictureHeight < 480;
}

// The picture behind the book drawn at a size into `cache` once, and again
// only when the size changes (an empty cache is drawn again: empty it for a
// new picture).
const QImage& cachedBackground(QImage& cache, const QImage& picture, int width, int height);

class Canvas {
public:
    explicit Canvas(QImage& target);

    QImage& image() { return m_image; }
    QPainter& painter() { return m_painter; }

    void setPen(const Pen& pen) { m_pen = pen; }
    void setBrush(const Brush& brush) { m_brush = brush; }
    void setRasterOp(RasterOp op) { m_op = op; }
    const Pen& pen() const { return m_pen; }

    // Interior in the brush, outline in the pen.
    void rectangle(const Rect& r);
    void roundRect(const Rect& r, int cornerWidth, int cornerHeight);
    void ellipse(const Rect& r);
    // An arc of the ellipse in r from startDegrees over spanDegrees
    // (counter-clockwise, 0 at three o'clock), in the pen.
    void arc(const Rect& r, double startDegrees, double spanDegrees);
    void line(int x1, int y1, int x2, int y2);
    void fillRect(const Rect& r, COLORREF colour);
    // A polygon region filled by the odd-even rule, without an outline.
    void fillPolygon(const QPolygon& polygon, COLORREF colour);
    // Inverts the colours of r.
    void invertRect(const Rect& r);
    // A frame of alternating 3-pixel segments, black then white.
    void dashedFrame(const Rect& r);

    // Text is page text in a code page: the one the font's character set
    // names for page lines, the system's for everything else.

    // x, y is the top-left of the text's cell.
    void textOut(int x, int y, std::string_view bytes, const QFont& font, COLORREF colour,
                 const char* codePage = codepage::kSystem);
    // Text centred vertically in r, cut with an ellipsis when too long.
    void drawTextEllipsis(const Rect& r, std::string_view bytes, const QFont& font, COLORREF colour,
                          const char* codePage = codepage::kSystem);
    // Text centred in r both ways.
    void drawTextCentred(const Rect& r, std::string_view bytes, const QFont& font, COLORREF colour,
                         const char* codePage = codepage::kSystem);

    void stretchImage(const QImage& image, const Rect& destination);
    // The picture behind the book over `area`: tiled, or stretched when it is
    // large enough (tilesBackground); nothing without a picture.
    void backgroundPicture(const QImage& picture, const Rect& area);
    void copyImage(const QImage& image, int x, int y);

private:
    void applyOp();

    QImage& m_image;
    QPainter m_painter;
    Pen m_pen;
    Brush m_brush;
    RasterOp m_op = RasterOp::CopyPen;
};
