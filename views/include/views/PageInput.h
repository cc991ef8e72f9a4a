// What the reader's pointer does to a page: placing a tag, dragging a mark
// along a line, selecting text by a rectangle. Pure rules on the page's cells
// and the geometry the view's painter last laid out (spread coordinates).
#pragma once

#include "book/CBookPage.h"
#include "book/CVersaleoDoc.h"
#include "book/WinTypes.h"

#include "views/PageGeometry.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace pageinput {

// The frame's modes the views read; the views clear tagPending themselves.
struct ViewModes {
    bool markMode = false;
    bool tagPending = false;
    bool textSelection = false;
    bool bitmapSelection = false;
    bool helpWindowActive = false;
    bool clipWindow = false;  // the window has the book's outline and is dragged by the background
};

// A rectangle dragged from one corner to any other, with left <= right and
// top <= bottom.
Rect ordered(const Rect& r);

// A tag's anchor for a click at p: kept 20 pixels from the left edge, 120
// from the right, 30 from the top and 40 from the bottom, so its box fits.
Point tagAnchor(const Rect& page, Point p);
// Where a tag's anchor lies on a page of this rectangle.
Point tagPoint(const PageTag& tag, const Rect& page);
// A new open tag at the clamped point, its place stored as page fractions.
std::unique_ptr<PageTag> newTag(const Rect& page, Point p, COLORREF colour);

// The displayed line whose row holds y (top <= y <= top + line height), or -1.
int lineAt(const PageGeometry& geometry, int y, int lineCount);
// The first and last cell on a line, or {-1, -1} when it has none.
std::pair<int, int> lineCells(const PageGeometry& geometry, int line);

struct MarkDrag {
    int line = -1;  // -1: no drag under way
    int anchor = 0;
    int end = 0;
};
// A drag starts on a line when x lies between its first character's left
// and its last one's right.
MarkDrag startMarkDrag(const PageGeometry& geometry, Point p, int lineCount);
// The drag's end x, clamped to the line's characters.
int clampToLine(const PageGeometry& geometry, int line, int x);
// Adds the mark the drag covers when it spans 10 pixels or more: the cells of
// the line whose middles lie between the two ends. Returns the new mark's index.
std::optional<size_t> finishMarkDrag(CBookPage& page, const PageGeometry& geometry, const MarkDrag& drag,
                                     COLORREF colour);

// Selects the cells the rectangle from a (anchor) to b covers: whole lines
// between the first and last covered lines, the first from a's x, the last
// up to b's x. A line is covered when its top plus half the character height
// lies between the two y's. Returns the cells whose state changed.
std::vector<size_t> applyTextSelection(CBookPage& page, const PageGeometry& geometry, Point a, Point b, int charHeight,
                                       int lineCount);
void clearTextSelection(CBookPage& page);

// The index of the mark with a rectangle holding p, or -1.
int markAt(const PageGeometry& geometry, Point p);
// The index of the tag whose rod (x to x + 100, y - 10 to y) holds p, or -1.
int tagRodAt(const CBookPage& page, const Rect& pageRect, Point p);

// The record the entry row at p of the index page at record `index` names
// (rows from 30 pixels inside the page's sides), or -1.
int indexEntryTarget(const CVersaleoDoc& doc, int index, const PageGeometry& geometry, const Rect& pageRect, Point p);

// The tag editor's height for a text of `lines` lines in a font whose
// character height plus external leading is `lineHeight`.
int tagEditorHeight(int lineHeight, int lines);

}  // namespace pageinput
