#include "views/SpreadGeometry.h"
#include "views/PageGeometry.h"

#include <algorithm>

namespace spread {

PageRects pageRects(int spreadWidth, int spreadHeight)
{
    const int middle = spreadWidth / 2;
    return {Rect{40, 30, middle, spreadHeight - 20}, Rect{middle, 30, spreadWidth - 40, spreadHeight - 20}};
}

FacingPair facingPair(const CVersaleoDoc& doc)
{
    const int count = doc.pageCount();
    const int c = doc.currentPage;
    FacingPair pair;
    pair.left = c % 2 == 1 ? c : c - 1;
    pair.right = c % 2 == 1 ? c + 1 : c;
    while (pair.left >= 0 && pair.left < count && doc.pages[static_cast<size_t>(pair.left)]->hidden)
        --pair.left;
    while (pair.right >= 0 && pair.right < count && doc.pages[static_cast<size_t>(pair.right)]->hidden)
        ++pair.right;
    return pair;
}

EdgeCounts edgeCounts(const CVersaleoDoc& doc, FacingPair pair)
{
    const int n = doc.pageCount();
    const int c = doc.currentPage;
    const auto bookmarks = [&doc](int a, int b) { return doc.countPages(PageKind::BookmarkPage, a, b); };
    EdgeCounts counts;
    counts.bookmarksBefore = bookmarks(0, c) / 2;
    counts.bookmarksAfter = bookmarks(c, n - 1) / 2;
    counts.leftLeaves = std::max(0, (pair.left + 1) / 2 + bookmarks(pair.left, c) / 2 - counts.bookmarksBefore);
    counts.rightLeaves = std::max(0, bookmarks(c, pair.right) / 2 + (n - pair.right) / 2 - counts.bookmarksAfter);
    counts.leftLayers = std::min(kMaxEdgeLayers, counts.leftLeaves);
    counts.rightLayers = std::min(kMaxEdgeLayers, counts.rightLeaves);
    return counts;
}

Point leftLayerOffset(int k, int layers)
{
    return {kEdgeStep * (k - layers), kEdgeStep * (k - layers)};
}

Point rightLayerOffset(int k, int layers)
{
    return {kEdgeStep * (layers - k), kEdgeStep * (k - layers)};
}

int leftLayerOf(int front, FacingPair pair, int layers)
{
    if (layers <= 0)
        return 0;
    const int total = std::max(1, (pair.left + 1) / 2);
    const int distance = std::max(0, (pair.left - 1 - front) / 2);  // 0: the leaf next to the page
    return std::clamp(layers - distance * layers / total, 1, layers);
}

int rightLayerOf(int front, FacingPair pair, int pageCount, int layers)
{
    if (layers <= 0)
        return 0;
    const int total = std::max(1, (pageCount - pair.right) / 2);
    const int distance = std::max(0, (front - pair.right) / 2);  // 0: the page's own leaf, as on the left
    return std::clamp(layers - distance * layers / total, 1, layers);
}

Rect bookmarkTab(const PageRects& pages, int spreadWidth, int colourNumber, bool beforePair)
{
    const int slot = std::clamp(colourNumber, 1, 5);
    const int height = (pages.left.height() - 36) / 5;
    const int top = pages.left.top + (slot - 1) * height + slot * 6;
    const int middle = spreadWidth / 2;
    if (beforePair)
        return {pages.left.left - kTabOverhang, top, middle, top + height};
    return {middle, top, pages.right.right + kTabOverhang, top + height};
}

Rows evenRows(int top, int height, int count)
{
    Rows rows;
    if (count <= 0) {
        rows.bottom = top;
        return rows;
    }
    const int base = height / count;
    const int rest = height % count;
    int y = top;
    for (int i = 0; i < count; ++i) {
        const int h = base + (i < rest ? 1 : 0);
        rows.tops.push_back(y);
        rows.heights.push_back(h);
        y += h;
    }
    rows.bottom = y;
    return rows;
}

TextLayout bookTextLayout(const Rect& page, int lineCount, bool wide)
{
    TextLayout layout;
    layout.area = {page.left + 30, page.top + 30, page.right - 30, page.bottom - 30};
    const int height = std::max(0, layout.area.height());
    const int width = std::max(0, layout.area.width());
    if (wide) {
        const int rows = lineCount < 14 ? 13 : lineCount;
        layout.rows = evenRows(layout.area.top, height, rows);
        layout.fontHeight = std::min(height / rows, width / 40);
    } else {
        layout.rows = evenRows(layout.area.top, height, CBookPage::kLineSlots);
        layout.fontHeight = std::min(height / CBookPage::kLineSlots, width / 20);
    }
    return layout;
}

int labelBoxWidth(int textWidth)
{
    return textWidth + 10 > 80 ? ((textWidth - 66) / 5 + 16) * 5 : 80;
}

Rect labelBox(const Rect& page, int textWidth)
{
    const int width = labelBoxWidth(textWidth);
    const int left = page.left + (page.width() - width) / 2;
    return {left, page.bottom - 25, left + width, page.bottom - 5};
}

Rect noteArea(const Rect& page, double proportion)
{
    Rect area{page.left + 30, page.top + 50, page.right - 30, page.bottom - 30};
    const int width = area.width(), height = area.height();
    if (width <= 0 || height <= 0 || proportion <= 0)
        return area;
    if (width / proportion < height) {
        const int cut = static_cast<int>(width / proportion);
        area.top += (height - cut) / 2;
        area.bottom = area.top + cut;
    } else {
        const int cut = static_cast<int>(height * proportion);
        area.left += (width - cut) / 2;
        area.right = area.left + cut;
    }
    return area;
}

IndexLayout indexLayout(const Rect& page)
{
    IndexLayout layout;
    layout.area = {page.left + 30, page.top + 30, page.right - 30, page.bottom - 30};
    layout.rows = evenRows(layout.area.top, std::max(0, layout.area.height()), 26);
    layout.numberColumn = layout.area.left + layout.area.width() * 6 / 7;
    return layout;
}

std::array<Point, 7> markedLineArrow(int pageLeft, int textLeft, int lineTop, int fontHeight)
{
    const int y0 = lineTop + (fontHeight - 20) / 2;
    return {{{pageLeft, y0 + 5},
             {textLeft - 10, y0 + 5},
             {textLeft - 10, y0},
             {textLeft, y0 + 10},
             {textLeft - 10, y0 + 20},
             {textLeft - 10, y0 + 15},
             {pageLeft, y0 + 15}}};
}

std::array<Point, 3> tagTriangle(int x, int y, bool open)
{
    if (open)
        return {{{x + 46, y - 9}, {x + 54, y - 9}, {x + 50, y - 1}}};
    return {{{x + 50, y - 9}, {x + 46, y - 1}, {x + 54, y - 1}}};
}

Rect tagBox(int x, int y, int lines, int lineHeight)
{
    return {x, y, x + 100, y + std::max(lines, 1) * lineHeight + 4};
}

int tagLineCount(const PageTag& tag)
{
    int count = 1;
    for (size_t n = 0; n < PageTag::kLines; ++n) {
        if (!tag.line(n).empty())
            count = static_cast<int>(n) + 1;
    }
    return count;
}

std::vector<int> spineRows(int top, int bottom)
{
    const int d = static_cast<int>((bottom - top) * 0.0625 + 0.5);
    std::vector<int> rows;
    for (int k = 1; k <= 15; ++k)
        rows.push_back(top + k * d);
    return rows;
}

}  // namespace spread

std::vector<Rect> markRuns(const std::vector<CellPlace>& cells, const PageMark& mark)
{
    std::vector<Rect> runs;
    const auto count = static_cast<int32_t>(cells.size());
    const int32_t last = std::min(mark.lastCell, count - 1);
    for (int32_t first = std::max(mark.firstCell, 0); first <= last;) {
        const CellPlace& start = cells[static_cast<size_t>(first)];
        int32_t end = first;
        while (end + 1 <= last && cells[static_cast<size_t>(end) + 1].line == start.line)
            ++end;
        const Rect& a = start.rect;
        const Rect& b = cells[static_cast<size_t>(end)].rect;
        if (start.line >= 0 && (a.width() > 0 || b.width() > 0))
            runs.push_back({a.left, a.top, b.right, b.bottom});
        first = end + 1;
    }
    return runs;
}
