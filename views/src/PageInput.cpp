#include "views/PageInput.h"

#include "views/SpreadGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pageinput {

Rect ordered(const Rect& r)
{
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right), std::max(r.top, r.bottom)};
}

Point tagAnchor(const Rect& page, Point p)
{
    // Right and bottom first: on a page too small for both, the left/top win.
    int x = std::min(p.x, page.right - 120);
    int y = std::min(p.y, page.bottom - 40);
    x = std::max(x, page.left + 20);
    y = std::max(y, page.top + 30);
    return {x, y};
}

Point tagPoint(const PageTag& tag, const Rect& page)
{
    return {page.left + static_cast<int>(std::lround(tag.x * page.width())),
            page.top + static_cast<int>(std::lround(tag.y * page.height()))};
}

std::unique_ptr<PageTag> newTag(const Rect& page, Point p, COLORREF colour)
{
    auto tag = std::make_unique<PageTag>();
    const Point at = tagAnchor(page, p);
    tag->open = 1;
    tag->colour = colour;
    tag->x = page.width() > 0 ? static_cast<double>(at.x - page.left) / page.width() : 0.0;
    tag->y = page.height() > 0 ? static_cast<double>(at.y - page.top) / page.height() : 0.0;
    return tag;
}

int lineAt(const PageGeometry& geometry, int y, int lineCount)
{
    const int shown = std::min(lineCount, CBookPage::kLineSlots);
    for (int i = 0; i < shown; ++i) {
        const int top = geometry.lineTops[static_cast<size_t>(i)];
        if (top <= y && y <= top + geometry.lineHeight)
            return i;
    }
    return -1;
}

std::pair<int, int> lineCells(const PageGeometry& geometry, int line)
{
    int first = -1, last = -1;
    for (size_t i = 0; i < geometry.cells.size(); ++i) {
        const CellPlace& cell = geometry.cells[i];
        // Cells whose line was not drawn have an empty rectangle.
        if (cell.line != line || cell.rect.width() <= 0)
            continue;
        if (first < 0)
            first = static_cast<int>(i);
        last = static_cast<int>(i);
    }
    return {first, last};
}

MarkDrag startMarkDrag(const PageGeometry& geometry, Point p, int lineCount)
{
    MarkDrag drag;
    const int line = lineAt(geometry, p.y, lineCount);
    if (line < 0)
        return drag;
    const auto [first, last] = lineCells(geometry, line);
    if (first < 0)
        return drag;
    const CellPlace& a = geometry.cells[static_cast<size_t>(first)];
    const CellPlace& b = geometry.cells[static_cast<size_t>(last)];
    if (p.x < a.rect.left || p.x > b.rect.right)
        return drag;
    drag.line = line;
    drag.anchor = drag.end = p.x;
    return drag;
}

int clampToLine(const PageGeometry& geometry, int line, int x)
{
    const auto [first, last] = lineCells(geometry, line);
    if (first < 0)
        return x;
    return std::clamp(x, geometry.cells[static_cast<size_t>(first)].rect.left,
                      geometry.cells[static_cast<size_t>(last)].rect.right);
}

std::optional<size_t> finishMarkDrag(CBookPage& page, const PageGeometry& geometry, const MarkDrag& drag,
                                     COLORREF colour)
{
    if (drag.line < 0 || std::abs(drag.end - drag.anchor) < 10)
        return std::nullopt;
    const int from = std::min(drag.anchor, drag.end);
    const int to = std::max(drag.anchor, drag.end);
    int first = -1, last = -1;
    for (size_t i = 0; i < geometry.cells.size() && i < page.cellCount(); ++i) {
        const CellPlace& cell = geometry.cells[i];
        if (cell.line != drag.line || cell.rect.width() <= 0)
            continue;
        const int middle = (cell.rect.left + cell.rect.right) / 2;
        if (middle < from || middle > to)
            continue;
        if (first < 0)
            first = static_cast<int>(i);
        last = static_cast<int>(i);
    }
    // A drag over blanks alone marks nothing.
    if (first < 0)
        return std::nullopt;
    PageMark mark;
    mark.colour = colour;
    mark.firstCell = first;
    mark.lastCell = last;
    page.marks.push_back(std::move(mark));
    return page.marks.size() - 1;
}

std::vector<size_t> applyTextSelection(CBookPage& page, const PageGeometry& geometry, Point a, Point b, int charHeight,
                                       int lineCount)
{
    if (b.y < a.y)
        std::swap(a, b);
    int firstLine = -1, lastLine = -1;
    const int shown = std::min(lineCount, CBookPage::kLineSlots);
    for (int i = 0; i < shown; ++i) {
        const int middle = geometry.lineTops[static_cast<size_t>(i)] + charHeight / 2;
        if (middle >= a.y && middle <= b.y) {
            if (firstLine < 0)
                firstLine = i;
            lastLine = i;
        }
    }
    if ((firstLine == lastLine || firstLine < 0) && a.x > b.x)
        std::swap(a.x, b.x);

    std::vector<size_t> changed;
    std::vector<CharCell>& cells = page.cells();
    for (size_t i = 0; i < cells.size(); ++i) {
        CharCell& cell = cells[i];
        const CellPlace place = i < geometry.cells.size() ? geometry.cells[i] : CellPlace{};
        const int cx = (place.rect.left + place.rect.right) / 2;
        bool selected = false;
        if (firstLine >= 0 && place.rect.width() > 0 && place.line >= firstLine && place.line <= lastLine) {
            if (firstLine == lastLine)
                selected = a.x <= cx && cx <= b.x;
            else if (place.line == firstLine)
                selected = cx >= a.x;
            else if (place.line == lastLine)
                selected = cx <= b.x;
            else
                selected = true;
        }
        if ((cell.selected != 0) != selected) {
            cell.selected = selected ? 1 : 0;
            changed.push_back(i);
        }
    }
    return changed;
}

void clearTextSelection(CBookPage& page)
{
    // Cells not held hold no selection.
    if (!page.holdsCells())
        return;
    for (CharCell& cell : page.cells())
        cell.selected = 0;
}

int markAt(const PageGeometry& geometry, Point p)
{
    for (size_t i = 0; i < geometry.marks.size(); ++i) {
        for (const Rect& r : geometry.marks[i]) {
            if (r.contains(p.x, p.y))
                return static_cast<int>(i);
        }
    }
    return -1;
}

int tagRodAt(const CBookPage& page, const Rect& pageRect, Point p)
{
    for (size_t i = 0; i < page.tags.size(); ++i) {
        const Point at = tagPoint(*page.tags[i], pageRect);
        if (p.x >= at.x && p.x <= at.x + 100 && p.y >= at.y - 10 && p.y <= at.y)
            return static_cast<int>(i);
    }
    return -1;
}

int indexEntryTarget(const CVersaleoDoc& doc, int index, const PageGeometry& geometry, const Rect& pageRect, Point p)
{
    if (index < 0 || index >= doc.pageCount() || p.x < pageRect.left + 30 || p.x > pageRect.right - 30)
        return -1;
    const int first = spread::firstIndexEntry(index);
    // Row 0 is the heading; entries fill the rows below it.
    for (int k = 0; k < spread::kEntriesPerIndexPage && k + 1 < CBookPage::kLineSlots; ++k) {
        const int top = geometry.lineTops[static_cast<size_t>(k) + 1];
        if (p.y < top || p.y > top + geometry.lineHeight)
            continue;
        const size_t entry = static_cast<size_t>(first) + static_cast<size_t>(k);
        if (entry >= doc.indexEntries.size())
            return -1;
        return doc.pageOfBookPage(doc.indexEntries[entry]->bookPageNumber);
    }
    return -1;
}

int tagEditorHeight(int lineHeight, int lines)
{
    const double f = lines <= 1 ? 1.3 : lines + 0.5;
    return static_cast<int>(lineHeight * f + 1);
}

}  // namespace pageinput
