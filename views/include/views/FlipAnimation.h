// The page-flip animation: a sheet lifts from one side of the spine, curls
// over it and lies down on the other side; a jump turns one thick sheet. The
// geometry of the travel is pure; the renderer builds each frame off screen
// from a front and a back image painted once per flip.
#pragma once

#include "views/SpreadPainter.h"

#include <QImage>

#include <vector>

class CVersaleoDoc;

namespace flip {

// Sheets turned going from c to t (forward when t > c).
int sheetCount(int c, int t);
// The records turned, front and back of every sheet, in book order.
std::vector<int> turningRecords(int c, int t);
// The free edge's offsets from the spine, frame by frame: forward from about
// w down to -w, backward from about -w up to w, in steps of 2 x speed with
// one shortened step so the travel ends exactly at the far edge.
std::vector<int> offsets(int w, int flipSpeed, bool forward);
// How high the sheet's free edge lifts at offset x: 50 pixels over the spine.
int lift(int x, int w);

class Renderer {
public:
    Renderer(CVersaleoDoc& doc, SpreadPainter& painter);

    // Hides the turning records, composes what lies under them and paints the
    // sheet's two faces. The spread has the view's spread size and its pages
    // the view's layout (wide lines in the one-page view).
    void begin(int c, int t, QSize spreadSize, const PaintOptions& viewOptions = {});
    // The spread with the sheet at offset x.
    const QImage& frame(int x);
    // Clears the hidden flags and makes t current.
    void end();

    bool forward() const { return m_forward; }
    int pageWidth() const { return m_w; }
    const std::vector<int>& turning() const { return m_turning; }

private:
    void drawSheet(const QImage& face, int x);

    struct SheetColumn {
        int at, source, top;
    };

    CVersaleoDoc& m_doc;
    SpreadPainter& m_painter;
    std::vector<int> m_turning;
    int m_target = 0;
    bool m_forward = true;
    int m_w = 0, m_h = 0, m_x0 = 0, m_top = 30;
    QImage m_under, m_work, m_front, m_back;
    std::vector<SheetColumn> m_columns;
};

// The roll-up of a page being removed: the page rolls up from its lower edge
// towards the top, step by step.
class RollUp {
public:
    explicit RollUp(SpreadPainter& painter);

    // Composes the spread of the given size as it stands now, in the view's layout.
    void begin(QSize spreadSize, bool rightPage, COLORREF fill, COLORREF outline, const PaintOptions& viewOptions = {});
    // How far the page has rolled at each frame: from ph mod speed by speed
    // up to the page height ph.
    static std::vector<int> steps(int pageHeight, int speed);
    int pageHeight() const { return m_size.height() - 50; }
    // The spread with the page rolled k pixels up.
    const QImage& frame(int k);

private:
    void stroke(int x, int y1, int y2, COLORREF colour);
    void dot(int x, int y);

    SpreadPainter& m_painter;
    QSize m_size;
    bool m_right = true;
    COLORREF m_fill = 0, m_outline = 0;
    QImage m_memory, m_work;
};

}  // namespace flip
