// Areas, blending, zoom, rotation, flips and stretching.
#include "DibView.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace pixmill;

namespace {

void putBgr(uint8_t* p, const Bgr& c)
{
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
}

// A DIB whose depth has whole bytes per pixel, converted to 24 bits first
// when it has 1, 4 or 16 bits per pixel.
bool ensureWholeBytes(HDIB* dib, bool keep16 = false)
{
    const auto view = DibView::of(*dib);
    if (!view)
        return false;
    if (view->bitCount == 1 || view->bitCount == 4 || (view->bitCount == 16 && !keep16))
        return ChangeToFullColorDIB(dib) == 1;
    return true;
}

// Interpolated bytes: the k-th of n values inserted between a and b.
uint8_t between(uint8_t a, uint8_t b, int k, int n)
{
    return static_cast<uint8_t>(a + k * ((b - a) / (n + 1)));
}

// How many pixels (or rows) follow each source one when a run of `count` is
// enlarged by factor f, by the accumulator rule; the extras add up to exactly
// target - count.
std::vector<int> extrasAfterEach(int count, double f, int target)
{
    const double exact = count * f;
    const double threshold = std::floor(exact) == exact ? 1.0 : 0.5;
    std::vector<int> extras(static_cast<size_t>(count), 0);
    double accumulator = 0;
    int total = count;
    for (int i = 0; i < count; ++i) {
        accumulator += f - 1;
        while (accumulator >= threshold - 1e-9 && total < target) {
            ++extras[static_cast<size_t>(i)];
            ++total;
            accumulator -= 1;
        }
    }
    extras.back() += target - total;  // rounding may leave the last one short
    return extras;
}

HDIB zoomDown(const DibView& view, double f)
{
    const int width = static_cast<int>(std::floor(view.width * f + 0.5));
    const int height = static_cast<int>(std::floor(view.height * f + 0.5));
    HDIB zoomed = newDibLike(view, width, height);
    const auto target = DibView::of(zoomed);
    if (!target)
        return nullptr;
    for (int i = 0; i < height; ++i) {
        const uint8_t* from = view.row(std::min(static_cast<int>(i / f), view.height - 1));
        uint8_t* to = target->row(i);
        for (int j = 0; j < width; ++j)
            std::memcpy(to + 3 * j, from + 3 * std::min(static_cast<int>(j / f), view.width - 1), 3);
    }
    return zoomed;
}

HDIB zoomUp(const DibView& view, double f)
{
    const int width = static_cast<int>(std::ceil(view.width * f - 1e-9));
    const int height = static_cast<int>(std::ceil(view.height * f - 1e-9));
    HDIB zoomed = newDibLike(view, width, height);
    const auto target = DibView::of(zoomed);
    if (!target)
        return nullptr;
    const std::vector<int> columns = extrasAfterEach(view.width, f, width);
    const std::vector<int> rows = extrasAfterEach(view.height, f, height);
    int out = 0;
    for (int r = 0; r < view.height; ++r) {
        // The widened source row.
        const uint8_t* from = view.row(r);
        uint8_t* placed = target->row(out);
        int x = 0;
        for (int c = 0; c < view.width; ++c) {
            const uint8_t* p = from + 3 * c;
            const uint8_t* next = c + 1 < view.width ? p + 3 : p;
            std::memcpy(placed + 3 * x++, p, 3);
            const int n = columns[static_cast<size_t>(c)];
            for (int k = 1; k <= n; ++k, ++x) {
                for (int b = 0; b < 3; ++b)
                    placed[3 * x + b] = between(p[b], next[b], k, n);
            }
        }
        out += 1 + rows[static_cast<size_t>(r)];
    }
    // The inserted rows, between each placed row and the next one.
    out = 0;
    for (int r = 0; r < view.height; ++r) {
        const int n = rows[static_cast<size_t>(r)];
        const uint8_t* upper = target->row(out);
        const uint8_t* lower = r + 1 < view.height ? target->row(out + n + 1) : upper;
        for (int k = 1; k <= n; ++k) {
            uint8_t* row = target->row(out + k);
            for (uint32_t b = 0; b < 3u * static_cast<uint32_t>(width); ++b)
                row[b] = between(upper[b], lower[b], k, n);
        }
        out += 1 + n;
    }
    return zoomed;
}

HDIB quarterTurn(const DibView& view, bool counterClockwise)
{
    HDIB turned = newDibLike(view, view.height, view.width);
    const auto target = DibView::of(turned);
    if (!target)
        return nullptr;
    const int bytes = view.bitCount / 8;
    for (int ty = 0; ty < target->height; ++ty) {
        uint8_t* to = target->rowFromTop(ty);
        for (int tx = 0; tx < target->width; ++tx) {
            // Counter-clockwise: the top row becomes the left column, read upwards.
            const int sx = counterClockwise ? view.width - 1 - ty : ty;
            const int sy = counterClockwise ? tx : view.height - 1 - tx;
            std::memcpy(to + bytes * tx, view.rowFromTop(sy) + bytes * sx, static_cast<size_t>(bytes));
        }
    }
    return turned;
}

void halfTurn(const DibView& view)
{
    const int bytes = view.bitCount / 8;
    for (int top = 0, bottom = view.height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(view.row(top), view.row(top) + view.stride, view.row(bottom));
    for (int y = 0; y < view.height; ++y) {
        uint8_t* row = view.row(y);
        for (int l = 0, r = view.width - 1; l < r; ++l, --r)
            std::swap_ranges(row + bytes * l, row + bytes * (l + 1), row + bytes * r);
    }
}

HDIB anyTurn(const DibView& view, int angle, COLORREF colour)
{
    const double radians = angle * 0.01745327777777778;
    const double c = std::cos(radians), s = std::sin(radians);
    const double cx = (view.width - 1) / 2.0, cy = (view.height - 1) / 2.0;
    // The extents of the rotated corners (screen coordinates, y down).
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool first = true;
    for (const double x : {-cx, cx}) {
        for (const double y : {-cy, cy}) {
            const double rx = x * c + y * s, ry = -x * s + y * c;
            minX = first ? rx : std::min(minX, rx);
            maxX = first ? rx : std::max(maxX, rx);
            minY = first ? ry : std::min(minY, ry);
            maxY = first ? ry : std::max(maxY, ry);
            first = false;
        }
    }
    const int width = static_cast<int>(maxX - minX) + 1;
    const int height = static_cast<int>(maxY - minY) + 1;
    HDIB turned = newDib(width, height, 24, 0);
    const auto target = DibView::of(turned);
    if (!target)
        return nullptr;
    const Bgr fill = fromColorRef(colour);
    const double tcx = (width - 1) / 2.0, tcy = (height - 1) / 2.0;
    for (int ty = 0; ty < height; ++ty) {
        uint8_t* to = target->rowFromTop(ty);
        for (int tx = 0; tx < width; ++tx) {
            const double dx = tx - tcx, dy = ty - tcy;
            // Back through the inverse rotation.
            const double sx = std::floor(dx * c - dy * s + cx + 1e-9);
            const double sy = std::floor(dx * s + dy * c + cy + 1e-9);
            if (sx < 0 || sy < 0 || sx >= view.width || sy >= view.height) {
                putBgr(to + 3 * tx, fill);
                continue;
            }
            const uint8_t* row = view.rowFromTop(static_cast<int>(sy));
            putBgr(to + 3 * tx, view.pixel(row, static_cast<int>(sx)));
        }
    }
    return turned;
}

int blend(HDIB* destination, int x, int y, HDIB source, int width, int height, int percent)
{
    const auto from = DibView::of(source);
    auto to = DibView::of(*destination);
    if (!from || !to)
        return 0;
    width = std::min(width, from->width);
    height = std::min(height, from->height);
    if (!to->contains(x, y, width, height))
        return 0;
    if (!ensureFullColour(destination))
        return 0;
    to = DibView::of(*destination);
    const double d = percent * 0.01, e = 1 - d;
    for (int row = 0; row < height; ++row) {
        const uint8_t* src = from->rowFromTop(row);
        uint8_t* dst = to->rowFromTop(y + row) + 3 * x;
        for (int col = 0; col < width; ++col) {
            const Bgr c = from->pixel(src, col);
            const uint8_t parts[3] = {c.b, c.g, c.r};
            for (int b = 0; b < 3; ++b)
                dst[3 * col + b] = static_cast<uint8_t>(e * dst[3 * col + b] + d * parts[b] + 0.5);
        }
    }
    return 1;
}

}  // namespace

int MergeDIB(HDIB* destination, int x, int y, HDIB source, int width, int height, int percent)
{
    if (!destination || !*destination || !source || percent < 0 || percent > 100)
        return 0;
    if (source != *destination)
        return blend(destination, x, y, source, width, height, percent);
    // A picture merged into itself: converting the destination frees the
    // source's block, and blending in place would read pixels already written.
    // Blend from a copy so the result is that of merging an identical picture.
    HDIB copy = CloneDIB(source);
    if (!copy)
        return 0;
    const int merged = blend(destination, x, y, copy, width, height, percent);
    DibFree(copy);
    return merged;
}

HDIB GetDIBFromDIB(HDIB dib, int x, int y, int width, int height)
{
    auto view = DibView::of(dib);
    if (!view || !view->contains(x, y, width, height))
        return nullptr;
    HDIB converted = nullptr;
    if (view->bitCount != 8 && view->bitCount != 24) {
        converted = CloneDIB(dib);
        if (!ChangeToFullColorDIB(&converted)) {
            DibFree(converted);
            return nullptr;
        }
        view = DibView::of(converted);
    }
    HDIB area = newDibLike(*view, width, height);
    if (const auto target = DibView::of(area)) {
        const int bytes = view->bitCount / 8;
        for (int row = 0; row < height; ++row)
            std::memcpy(target->rowFromTop(row), view->rowFromTop(y + row) + bytes * x,
                        static_cast<size_t>(bytes) * static_cast<size_t>(width));
    }
    DibFree(converted);
    return area;
}

int EraseDIBArea(HDIB* dib, int x, int y, int width, int height, COLORREF colour)
{
    if (!dib)
        return 0;
    const auto view = DibView::of(*dib);
    if (!view || !view->contains(x, y, width, height) || !ensureFullColour(dib))
        return 0;
    const auto full = DibView::of(*dib);
    const Bgr c = fromColorRef(colour);
    for (int row = 0; row < height; ++row) {
        uint8_t* p = full->rowFromTop(y + row) + 3 * x;
        for (int col = 0; col < width; ++col)
            putBgr(p + 3 * col, c);
    }
    return 1;
}

HDIB CutDIBFromDIB(HDIB dib, int x, int y, int width, int height, COLORREF colour)
{
    // The handle comes by value: a picture that would need converting could
    // not be handed back, so only 24-bit pictures are cut.
    const auto view = DibView::of(dib);
    if (!view || view->bitCount != 24)
        return nullptr;
    HDIB copy = GetDIBFromDIB(dib, x, y, width, height);
    if (copy)
        EraseDIBArea(&dib, x, y, width, height, colour);
    return copy;
}

int ZoomDIB(HDIB* dib, int percent)
{
    if (!dib || !*dib || percent < 0)
        return 0;
    if (percent == 100)
        return 1;
    if (!ensureFullColour(dib))
        return 0;
    const auto view = DibView::of(*dib);
    const double f = percent * 0.01;
    HDIB zoomed = f < 1 ? zoomDown(*view, f) : zoomUp(*view, f);
    return zoomed ? replaceDib(dib, zoomed) : 0;
}

int ConvertDIB(HDIB* dib, int kind)
{
    if (!dib || !*dib || (kind != 1 && kind != 2) || !ensureWholeBytes(dib, true))
        return 0;
    const auto view = DibView::of(*dib);
    if (kind == 1) {
        for (int top = 0, bottom = view->height - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(view->row(top), view->row(top) + view->stride, view->row(bottom));
        return 1;
    }
    const int bytes = view->bitCount / 8;
    for (int y = 0; y < view->height; ++y) {
        uint8_t* row = view->row(y);
        for (int l = 0, r = view->width - 1; l < r; ++l, --r)
            std::swap_ranges(row + bytes * l, row + bytes * (l + 1), row + bytes * r);
    }
    return 1;
}

int RotateDIB(HDIB* dib, int angle, COLORREF colour)
{
    if (!dib || !*dib)
        return 0;
    angle %= 360;
    if (angle < 0)
        angle += 360;
    if (angle == 0)
        return 1;
    if (!ensureWholeBytes(dib))
        return 0;
    const auto view = DibView::of(*dib);
    if (angle == 180) {
        halfTurn(*view);
        return 1;
    }
    HDIB turned = angle == 90 || angle == 270 ? quarterTurn(*view, angle == 90) : anyTurn(*view, angle, colour);
    return turned ? replaceDib(dib, turned) : 0;
}

HDIB StretchDIBFromMiddle(HDIB dib, int columns)
{
    const auto view = DibView::of(dib);
    if (!view || view->bitCount != 24 || (columns < 0 && -columns >= view->width))
        return nullptr;
    const int width = view->width + columns;
    HDIB stretched = newDibLike(*view, width, view->height);
    const auto target = DibView::of(stretched);
    if (!target)
        return nullptr;
    const int middle = view->width / 2;
    for (int y = 0; y < view->height; ++y) {
        const uint8_t* from = view->row(y);
        uint8_t* to = target->row(y);
        if (columns >= 0) {
            // The middle pixel repeated into the new columns.
            std::memcpy(to, from, 3 * static_cast<size_t>(middle));
            for (int k = 0; k < columns; ++k)
                std::memcpy(to + 3 * (middle + k), from + 3 * middle, 3);
            std::memcpy(to + 3 * (middle + columns), from + 3 * middle, 3 * static_cast<size_t>(view->width - middle));
        } else {
            // Columns dropped around the middle.
            const int drop = -columns;
            const int left = std::max(middle - drop / 2, 0);
            std::memcpy(to, from, 3 * static_cast<size_t>(left));
            std::memcpy(to + 3 * left, from + 3 * (left + drop), 3 * static_cast<size_t>(width - left));
        }
    }
    return stretched;
}
