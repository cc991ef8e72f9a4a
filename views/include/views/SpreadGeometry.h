// Where things go on the open book: page rectangles, the facing pair, page
// edge layers, bookmark tabs, line rows, labels, note and index areas, tags.
// Pure computations, no drawing: the painter follows them and the views
// hit-test what they stored.
#pragma once

#include "book/CVersaleoDoc.h"
#include "book/WinTypes.h"

#include <algorithm>
#include <array>
#include <vector>

namespace spread {

inline constexpr int kMaxEdgeLayers = 8;
inline constexpr int kEdgeStep = 3;
inline constexpr int kTabOverhang = 16;

struct PageRects {
    Rect left;
    Rect right;
};
PageRects pageRects(int spreadWidth, int spreadHeight);

struct FacingPair {
    int left = -1;  // -1: no page on the left
    int right = 0;  // page count: no page on the right
};
// From the current index: odd c faces c + 1, even c faces c - 1; hidden
// records are stepped over outwards.
FacingPair facingPair(const CVersaleoDoc& doc);

struct EdgeCounts {
    int bookmarksBefore = 0;
    int bookmarksAfter = 0;
    int leftLeaves = 0;
    int rightLeaves = 0;
    int leftLayers = 0;
    int rightLayers = 0;
};
EdgeCounts edgeCounts(const CVersaleoDoc& doc, FacingPair pair);

// The offset of edge layer k (1 = outermost) of a side with `layers` layers.
Point leftLayerOffset(int k, int layers);
Point rightLayerOffset(int k, int layers);
// The layer (1 = outermost) a bookmark leaf whose front record is `front`
// belongs to.
int leftLayerOf(int front, FacingPair pair, int layers);
int rightLayerOf(int front, FacingPair pair, int pageCount, int layers);

// The tab of a bookmark with colour number 1-5.
Rect bookmarkTab(const PageRects& pages, int spreadWidth, int colourNumber, bool beforePair);

// Rows of equal height over `height` pixels from `top`, the remainder
// handed out one pixel at a time to the first rows.
struct Rows {
    std::vector<int> tops;
    std::vector<int> heights;
    int bottom = 0;
};
Rows evenRows(int top, int height, int count);

// The text area of a page (its rectangle shrunk by 30) and its line rows:
// narrow: 26 rows, font height min(row, width / 20); wide: 13 rows up to 13
// lines, else one per line, font height min(row, width / 40).
struct TextLayout {
    Rect area;
    Rows rows;
    int fontHeight = 0;
};
TextLayout bookTextLayout(const Rect& page, int lineCount, bool wide);

// A page label's box: 80 pixels, or wider for longer texts, in steps of 5.
int labelBoxWidth(int textWidth);
Rect labelBox(const Rect& page, int textWidth);

// A note page's writing area, cut to the page proportion and centred.
Rect noteArea(const Rect& page, double proportion);

// An index page: 26 rows in the page shrunk by 30; numbers after 6/7 of the width.
struct IndexLayout {
    Rect area;
    Rows rows;
    int numberColumn = 0;
};
IndexLayout indexLayout(const Rect& page);
// Index pages follow the two front covers: the number of the first entry the
// index page at record `indexRecord` shows.
inline constexpr int kEntriesPerIndexPage = CVersaleoDoc::kEntriesPerIndexPage;
inline int firstIndexEntry(int indexRecord) { return std::max(0, indexRecord - 2) * kEntriesPerIndexPage; }

// The green arrow before the marked line.
std::array<Point, 7> markedLineArrow(int pageLeft, int textLeft, int lineTop, int fontHeight);

// A tag at (x, y): its open/close triangle and its box of `lines` lines.
std::array<Point, 3> tagTriangle(int x, int y, bool open);
Rect tagBox(int x, int y, int lines, int lineHeight);
// Lines a tag's box shows: up to the last non-empty one, at least one.
int tagLineCount(const PageTag& tag);

// The 15 row positions of the spine shading between top and bottom.
std::vector<int> spineRows(int top, int bottom);

}  // namespace spread
