// Where one view's painter last put the parts of a page: the text area (a
// bookmark's tab), the line rows, every character cell, the marks' runs and
// the tags' boxes and triangles, in that view's spread coordinates. Each
// painter keeps its own, so one view's clicks never meet another view's (or a
// flip face's) layout; the page records hold only what the book is.
#pragma once

#include "book/CBookPage.h"
#include "book/WinTypes.h"

#include <array>
#include <unordered_map>
#include <vector>

struct CellPlace {
    int line = 0;  // the displayed line the cell was drawn on
    Rect rect;     // empty when its line was not drawn
};

struct PageGeometry {
    Rect area;  // text area, a note page's writing area, or a bookmark's tab
    std::array<int32_t, CBookPage::kLineSlots> lineTops{};
    int lineHeight = 0;               // the font height the lines were drawn in
    std::vector<CellPlace> cells;     // one per cell of the page, in order
    std::vector<std::vector<Rect>> marks;  // per mark, its runs
    std::vector<Rect> tagBoxes;       // per tag, its open box (empty when closed)
    std::vector<std::array<Point, 3>> tagTriangles;
};

// The runs a mark covers, one per displayed line of its cells, in order;
// cells that were not drawn (no width, or no line) are left out.
std::vector<Rect> markRuns(const std::vector<CellPlace>& cells, const PageMark& mark);

// Pages by record, as last painted.
using SpreadLayout = std::unordered_map<const CBookPage*, PageGeometry>;
