#include "views/SpreadPainter.h"

#include "views/PageInput.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "book/Dbcs.h"
#include "book/TextLayout.h"

#include "aidkern/CAKCommonTools.h"

#include <QFontMetrics>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

constexpr COLORREF kBlack = rgb(0, 0, 0);
constexpr COLORREF kWhite = rgb(255, 255, 255);
constexpr COLORREF kArrowGreen = rgb(122, 255, 122);

QFont labelFont(int pixels, int weight)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setWeight(static_cast<QFont::Weight>(weight));
    return font;
}

LOGFONT withHeight(LOGFONT font, int height)
{
    font.lfHeight = height;
    return font;
}

// "Page %d" and its kind.
std::string numbered(const char* prefix, int number)
{
    return prefix + std::to_string(number);
}

QPolygon polygonOf(const Point* points, size_t count)
{
    QPolygon polygon;
    for (size_t i = 0; i < count; ++i)
        polygon << QPoint(points[i].x, points[i].y);
    return polygon;
}

Rect moved(const Rect& r, Point by)
{
    return {r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y};
}

COLORREF spineColour(const CVersaleoDoc& doc)
{
    if (doc.pages.empty() || doc.currentPage < 0 || doc.currentPage >= doc.pageCount())
        return rgb(122, 122, 122);
    const CBookPage& page = *doc.pages[static_cast<size_t>(doc.currentPage)];
    switch (page.kind()) {
    case PageKind::IndexPage: return rgb(122, 122, 122);
    case PageKind::BookPage:
    case PageKind::NotePage:
        return rgb(static_cast<uint8_t>((redOf(page.background) + redOf(page.textColour)) / 2),
                   static_cast<uint8_t>((greenOf(page.background) + greenOf(page.textColour)) / 2),
                   static_cast<uint8_t>((blueOf(page.background) + blueOf(page.textColour)) / 2));
    case PageKind::BookmarkPage: return page.background;
    case PageKind::CoverPage: return kBlack;
    default: return rgb(222, 222, 222);
    }
}

}  // namespace

SpreadPainter::SpreadPainter(CVersaleoDoc& doc, PictureSource& pictures) : m_doc(doc), m_pictures(pictures) {}

const PageGeometry& SpreadPainter::geometryOf(const CBookPage& page) const
{
    static const PageGeometry none;
    const auto found = m_layout.find(&page);
    return found == m_layout.end() ? none : found->second;
}

void SpreadPainter::compose(QImage& target, const PaintOptions& options)
{
    const int width = target.width(), height = target.height();
    Canvas canvas(target);
    canvas.setPen(Pen{Pen::Solid, kBlack});
    paintBackground(canvas, width, height);
    m_pages = spread::pageRects(width, height);
    m_outline.clear();
    m_layout.clear();
    if (m_doc.pages.empty()) {
        m_pages = {};
        return;
    }
    const spread::FacingPair pair = spread::facingPair(m_doc);
    paintEdges(canvas, width, pair);

    Rect left = m_pages.left, right = m_pages.right;
    if (pair.left >= 0)
        paintSide(canvas, pair.left, left, -2, options);
    else
        left = {};
    if (pair.right < m_doc.pageCount())
        paintSide(canvas, pair.right, right, 2, options);
    else
        right = {};
    m_pages = {left, right};
    for (const Rect& side : {left, right}) {
        if (side.width() > 0)
            m_outline.push_back(side);
    }

    if (!options.suppressSpine)
        paintSpine(canvas, width, height, pair, options);
    if (options.bitmapSelection)
        canvas.dashedFrame(*options.bitmapSelection);
    if (options.textSelection && m_doc.currentPage >= 0 && m_doc.currentPage < m_doc.pageCount()) {
        const CBookPage& page = *m_doc.pages[static_cast<size_t>(m_doc.currentPage)];
        const PageGeometry& geometry = geometryOf(page);
        const std::vector<CharCell>& cells = page.cells();
        for (size_t i = 0; i < cells.size() && i < geometry.cells.size(); ++i) {
            if (cells[i].selected)
                canvas.invertRect(geometry.cells[i].rect);
        }
    }
}

QImage SpreadPainter::paintPageImage(int index, QSize size, int behindStep, bool alone, const PaintOptions& options)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (index < 0 || index >= m_doc.pageCount())
        return image;
    Canvas canvas(image);
    canvas.setPen(Pen{Pen::Solid, kBlack});
    const int record = index;
    const bool bookmark = m_doc.pages[static_cast<size_t>(record)]->kind() == PageKind::BookmarkPage;
    if (bookmark && alone) {
        paintBookmark(canvas, record, {0, 0, size.width(), size.height()});
        return image;
    }
    const Rect tab = geometryOf(*m_doc.pages[static_cast<size_t>(record)]).area;
    while (index >= 0 && index < m_doc.pageCount() &&
           m_doc.pages[static_cast<size_t>(index)]->kind() == PageKind::BookmarkPage)
        index += behindStep;
    if (index >= 0 && index < m_doc.pageCount()) {
        // The face is laid out as the view lays out its pages, but its
        // geometry is its own: the spread's stays for the view's clicks.
        PaintOptions face;
        face.wideLines = options.wideLines;
        SpreadLayout spreadLayout = std::exchange(m_layout, {});
        paintPage(canvas, index, {0, 0, size.width(), size.height()}, face);
        m_layout = std::move(spreadLayout);
    }
    // A bookmark turned with other leaves lies on the page behind it.
    if (bookmark)
        paintBookmark(canvas, record, {0, tab.top - 30, size.width(), tab.top - 30 + tab.height()});
    return image;
}

void SpreadPainter::drawSpine(QImage& target, int leftCount, int rightCount)
{
    Canvas canvas(target);
    PaintOptions options;
    options.spineLeftCount = leftCount;
    options.spineRightCount = rightCount;
    paintSpine(canvas, target.width(), target.height(), spread::facingPair(m_doc), options);
}

void SpreadPainter::paintBackground(Canvas& canvas, int width, int height)
{
    canvas.copyImage(cachedBackground(m_background, m_pictures.background(), width, height), 0, 0);
}

void SpreadPainter::paintEdges(Canvas& canvas, int width, spread::FacingPair pair)
{
    const spread::EdgeCounts counts = spread::edgeCounts(m_doc, pair);
    const int count = m_doc.pageCount();
    // Every bookmark's tab, in book order; the first ones lie before the pair.
    struct Tab {
        int front;
        Rect rect;
        bool before;
    };
    std::vector<Tab> tabs;
    for (int n = 0;; ++n) {
        const int front = m_doc.pageOfBookmark(n);
        if (front < 0 || front + 1 >= count)
            break;
        const bool before = n < counts.bookmarksBefore;
        const CBookPage& page = *m_doc.pages[static_cast<size_t>(front)];
        const Rect tab = spread::bookmarkTab(m_pages, width, page.bookmarkColour, before);
        placeTab(front, tab);
        tabs.push_back({front, tab, before});
    }
    const auto drawTabs = [&](bool before, int layer, Point offset, int layers) {
        for (const Tab& tab : tabs) {
            if (tab.before != before || tab.front == pair.left - 1 || tab.front == pair.right)
                continue;
            const int tabLayer = before ? spread::leftLayerOf(tab.front, pair, layers)
                                        : spread::rightLayerOf(tab.front, pair, count, layers);
            if (tabLayer != layer || m_doc.pages[static_cast<size_t>(tab.front) + 1]->hidden)
                continue;
            // The left side shows back sides, the right side front sides. The
            // tab is hit where it is drawn, on its layer.
            const Rect drawn = moved(tab.rect, offset);
            paintBookmark(canvas, before ? tab.front + 1 : tab.front, drawn);
            placeTab(tab.front, drawn);
            m_outline.push_back(drawn);
        }
    };
    canvas.setBrush(Brush::solid(kWhite));
    // Outermost layer first, each with the tabs lying on it; left side, then right.
    for (const bool left : {true, false}) {
        const int layers = left ? counts.leftLayers : counts.rightLayers;
        const Rect& page = left ? m_pages.left : m_pages.right;
        for (int k = 1; k <= layers; ++k) {
            const Point offset = left ? spread::leftLayerOffset(k, layers) : spread::rightLayerOffset(k, layers);
            drawTabs(left, k, offset, layers);
            canvas.setPen(Pen{Pen::Solid, m_doc.pageEdgePalette[static_cast<size_t>(k - 1) % 8]});
            canvas.setBrush(Brush::solid(kWhite));
            canvas.rectangle(moved(page, offset));
            m_outline.push_back(moved(page, offset));
        }
    }
    canvas.setPen(Pen{Pen::Solid, kBlack});
}

void SpreadPainter::placeTab(int front, const Rect& tab)
{
    m_layout[m_doc.pages[static_cast<size_t>(front)].get()].area = tab;
    m_layout[m_doc.pages[static_cast<size_t>(front) + 1].get()].area = tab;
}

void SpreadPainter::paintSide(Canvas& canvas, int index, Rect& rect, int behindStep, const PaintOptions& options)
{
    CBookPage& page = *m_doc.pages[static_cast<size_t>(index)];
    if (page.kind() != PageKind::BookmarkPage) {
        paintPage(canvas, index, rect, options);
        return;
    }
    // A bookmark in the pair: the page behind it shows, the tab lies on it.
    int behind = index + behindStep;
    while (behind >= 0 && behind < m_doc.pageCount() &&
           m_doc.pages[static_cast<size_t>(behind)]->kind() == PageKind::BookmarkPage)
        behind += behindStep;
    if (behind >= 0 && behind < m_doc.pageCount())
        paintPage(canvas, behind, rect, options);
    const Rect tab = geometryOf(page).area;
    paintBookmark(canvas, index, tab);
    rect = tab;
}

void SpreadPainter::paintPage(Canvas& canvas, int index, const Rect& rect, const PaintOptions& options)
{
    CBookPage& page = *m_doc.pages[static_cast<size_t>(index)];
    canvas.setPen(Pen{Pen::Solid, kBlack});
    switch (page.kind()) {
    case PageKind::BookPage: paintBookPage(canvas, page, index, rect, options); break;
    case PageKind::NotePage: paintNotePage(canvas, page, index, rect); break;
    case PageKind::IndexPage: paintIndexPage(canvas, page, index, rect); break;
    case PageKind::CoverPage: paintCover(canvas, index, rect); break;
    default: break;
    }
}

void SpreadPainter::paintBookPage(Canvas& canvas, CBookPage& page, int index, const Rect& rect,
                                  const PaintOptions& options)
{
    canvas.setBrush(Brush::solid(page.background));
    canvas.rectangle(rect);
    if (page.pictureNumber > 0) {
        const QImage picture = m_pictures.pagePicture(page.pictureNumber);
        if (!picture.isNull()) {
            if (picture.width() < 101 || picture.height() < 101) {
                canvas.setBrush(Brush::tiled(picture));
                canvas.setPen(Pen::none());
                canvas.rectangle(rect);
                canvas.setPen(Pen{Pen::Solid, kBlack});
            } else {
                canvas.stretchImage(picture, rect);
            }
        }
    }

    const std::vector<std::string>& lines = options.wideLines ? page.wideLines() : page.lines;
    const spread::TextLayout layout = spread::bookTextLayout(rect, static_cast<int>(lines.size()), options.wideLines);
    PageGeometry& geometry = m_layout[&page];
    geometry.area = layout.area;
    geometry.lineHeight = layout.fontHeight;
    page.font.lfHeight = layout.fontHeight;
    const QFont font = fontFromLogFont(page.font);
    TextMeasurer& measurer = m_measurers.forFont(page.font);
    const char* codePage = codepage::forCharset(page.font.lfCharSet);

    for (int slot = 0; slot < CBookPage::kLineSlots; ++slot)
        geometry.lineTops[static_cast<size_t>(slot)] =
            slot < static_cast<int>(layout.rows.tops.size()) ? layout.rows.tops[static_cast<size_t>(slot)] : 0;
    geometry.cells.assign(page.cellCount(), {});
    size_t cell = 0;
    const size_t shown = std::min(lines.size(), layout.rows.tops.size());
    for (size_t i = 0; i < shown; ++i) {
        const int top = layout.rows.tops[i];
        if (page.highlightedLine() == static_cast<int>(i) + 1) {
            const auto arrow = spread::markedLineArrow(rect.left, layout.area.left, top, layout.fontHeight);
            canvas.fillPolygon(polygonOf(arrow.data(), arrow.size()), kArrowGreen);
        }
        const layout::LineDrawing drawing = layout::justifyLine(lines[i], layout.area.left, top, layout.area.width(),
                                                                false, layout.rows.heights[i], measurer);
        for (const layout::DrawnRun& run : drawing.runs)
            canvas.textOut(run.x, top, run.text, font, page.textColour, codePage);
        for (const Rect& drawn : drawing.cells) {
            if (cell < geometry.cells.size())
                geometry.cells[cell++] = {static_cast<int>(i), drawn};
        }
    }
    paintMarks(canvas, page, geometry);
    for (const auto& tag : page.tags)
        paintTag(canvas, *tag, rect, geometry);
    paintLabel(canvas, rect, numbered("Page ", m_doc.bookPageNumberOf(index)), index == m_doc.currentPage);
}

void SpreadPainter::paintMarks(Canvas& canvas, const CBookPage& page, PageGeometry& geometry)
{
    const std::vector<CellPlace>& cells = geometry.cells;
    canvas.setRasterOp(RasterOp::MaskPen);
    canvas.setPen(Pen::none());
    geometry.marks.assign(page.marks.size(), {});
    for (size_t m = 0; m < page.marks.size(); ++m) {
        geometry.marks[m] = markRuns(cells, page.marks[m]);
        canvas.setBrush(Brush::solid(page.marks[m].colour));
        for (const Rect& run : geometry.marks[m])
            canvas.rectangle(run);
    }
    canvas.setRasterOp(RasterOp::CopyPen);
    canvas.setBrush(Brush::none());
    for (size_t m = 0; m < page.marks.size(); ++m) {
        canvas.setPen(Pen{Pen::Solid, page.marks[m].colour});
        for (const Rect& r : geometry.marks[m])
            canvas.rectangle(r);
    }
    canvas.setPen(Pen{Pen::Solid, kBlack});
}

void SpreadPainter::paintTag(Canvas& canvas, const PageTag& tag, const Rect& page, PageGeometry& geometry)
{
    const auto [x, y] = pageinput::tagPoint(tag, page);
    for (int i = 0; i < 6; ++i) {
        const auto shade = static_cast<uint8_t>((i + 6) * 10);
        canvas.fillRect({x, y + i - 10, x + 100, y - i}, rgb(shade, shade, static_cast<uint8_t>((i + 20) * 10)));
    }
    const auto triangle = spread::tagTriangle(x, y, tag.open != 0);
    geometry.tagTriangles.push_back(triangle);
    canvas.fillPolygon(polygonOf(triangle.data(), triangle.size()), kArrowGreen);
    canvas.setPen(Pen::none());
    canvas.setBrush(Brush::solid(rgb(255, 122, 122)));
    canvas.ellipse({x - 11, y - 12, x + 3, y + 2});
    canvas.ellipse({x + 97, y - 12, x + 111, y + 2});
    canvas.setPen(Pen{Pen::Solid, kBlack});
    if (!tag.open) {
        geometry.tagBoxes.push_back({});
        return;
    }
    const QFont font = fontFromLogFont(m_doc.styles.tagFont);
    const int lineHeight = QFontMetrics(font).height();
    const Rect box = spread::tagBox(x, y, spread::tagLineCount(tag), lineHeight);
    geometry.tagBoxes.push_back(box);
    canvas.setBrush(Brush::solid(tag.colour));
    canvas.rectangle(box);
    for (size_t k = 0; k < PageTag::kLines; ++k)
        canvas.textOut(x + 2, y + 2 + static_cast<int>(k) * lineHeight, tag.line(k), font, kBlack);
}

void SpreadPainter::paintLabel(Canvas& canvas, const Rect& page, const std::string& text, bool current)
{
    const QFont font = labelFont(16, 400);
    const int textWidth = QFontMetrics(font).horizontalAdvance(QString::fromStdString(text));
    const Rect box = spread::labelBox(page, textWidth);
    canvas.setPen(Pen{Pen::Solid, kBlack});
    canvas.setBrush(Brush::solid(current ? rgb(0, 255, 122) : rgb(255, 230, 255)));
    canvas.roundRect(box, 10, 10);
    canvas.drawTextCentred(box, text, font, kBlack);
}

void SpreadPainter::paintNotePage(Canvas& canvas, CBookPage& page, int index, const Rect& rect)
{
    canvas.setBrush(Brush::solid(page.background));
    canvas.rectangle(rect);
    const Rect area = spread::noteArea(rect, m_doc.pageProportion);
    PageGeometry& geometry = m_layout[&page];
    geometry.area = area;
    const spread::Rows rows = spread::evenRows(area.top, std::max(0, area.height()), 24);
    for (size_t slot = 0; slot < geometry.lineTops.size(); ++slot)
        geometry.lineTops[slot] = slot < rows.tops.size() ? rows.tops[slot] : 0;
    const int rowHeight = rows.heights.empty() ? 0 : rows.heights[0];
    geometry.lineHeight = rowHeight - 2;
    canvas.setPen(Pen{Pen::Solid, kBlack});
    for (size_t r = 1; r < rows.tops.size(); ++r)
        canvas.line(area.left, rows.tops[r], area.right, rows.tops[r]);
    canvas.line(area.left, area.bottom, area.right, area.bottom);
    canvas.drawTextCentred({rect.left, rect.top, rect.right, rect.top + 50}, "- - - Reading Notes - - -",
                           fontFromLogFont(withHeight(page.font, 20)), page.textColour);
    const QFont lineFont = fontFromLogFont(withHeight(page.font, std::max(1, rowHeight - 2)));
    for (size_t i = 0; i < page.lines.size() && i < rows.tops.size(); ++i)
        canvas.textOut(area.left, rows.tops[i], page.lines[i], lineFont, page.textColour,
                       codepage::forCharset(page.font.lfCharSet));
    paintLabel(canvas, rect, numbered("Note ", m_doc.countPages(PageKind::NotePage, 0, index)),
               index == m_doc.currentPage);
}

void SpreadPainter::paintIndexPage(Canvas& canvas, CBookPage& page, int index, const Rect& rect)
{
    canvas.setBrush(Brush::solid(kWhite));
    canvas.rectangle(rect);
    const spread::IndexLayout layout = spread::indexLayout(rect);
    const spread::Rows& rows = layout.rows;
    PageGeometry& geometry = m_layout[&page];
    geometry.area = layout.area;
    for (size_t slot = 0; slot < geometry.lineTops.size(); ++slot)
        geometry.lineTops[slot] = rows.tops[slot];
    const int rowHeight = rows.heights[1];
    geometry.lineHeight = rowHeight;
    const Rect& area = layout.area;
    for (const int x : {area.left, layout.numberColumn, area.right})
        canvas.line(x, rows.tops[1], x, area.bottom);
    for (size_t r = 1; r < rows.tops.size(); ++r)
        canvas.line(area.left, rows.tops[r], area.right, rows.tops[r]);
    canvas.line(area.left, area.bottom, area.right, area.bottom);
    canvas.drawTextCentred({rect.left, rect.top, rect.right, rows.tops[1]}, "- - - Index - - -",
                           fontFromLogFont(withHeight(m_doc.styles.normalFont, 20)), kBlack);
    const QFont font = fontFromLogFont(withHeight(m_doc.styles.normalFont, std::max(1, rowHeight - 4)));
    const auto first = static_cast<size_t>(spread::firstIndexEntry(index));
    for (size_t k = 0; k < spread::kEntriesPerIndexPage && first + k < m_doc.indexEntries.size(); ++k) {
        const IndexEntry& entry = *m_doc.indexEntries[first + k];
        const int top = rows.tops[k + 1], bottom = top + rows.heights[k + 1];
        canvas.drawTextEllipsis({area.left + 3, top, layout.numberColumn, bottom}, entry.titleText(), font, kBlack);
        canvas.drawTextEllipsis({layout.numberColumn + 3, top, area.right, bottom},
                                numbered("", entry.bookPageNumber), font, kBlack);
    }
    paintLabel(canvas, rect, numbered("Index ", index - 1), index == m_doc.currentPage);
}

void SpreadPainter::paintCover(Canvas& canvas, int index, const Rect& rect)
{
    if (index == 0 || index == m_doc.pageCount() - 1) {
        canvas.stretchImage(m_pictures.outerCover(), rect);
        return;
    }
    canvas.painter().save();
    canvas.setPen(Pen::none());
    canvas.setBrush(Brush::tiled(m_pictures.innerCover()));
    canvas.rectangle(rect);
    const QFont name = labelFont(36, 700);
    const int nameTop = rect.top + rect.height() / 2 - 50;
    const int nameHeight = QFontMetrics(name).height();
    canvas.drawTextCentred({rect.left, nameTop, rect.right, nameTop + nameHeight}, "Versaleo", name, rgb(128, 0, 64));
    const QFont version = labelFont(18, 400);
    const int versionTop = nameTop + nameHeight + 10;
    canvas.drawTextCentred({rect.left, versionTop, rect.right, versionTop + QFontMetrics(version).height()},
                           "Version 1.9", version, rgb(128, 0, 64));
    canvas.painter().restore();
    canvas.setPen(Pen{Pen::Solid, kBlack});
}

void SpreadPainter::paintBookmark(Canvas& canvas, int index, const Rect& rect)
{
    const CBookPage& page = *m_doc.pages[static_cast<size_t>(index)];
    canvas.setPen(Pen{Pen::Solid, kBlack});
    canvas.setBrush(Brush::solid(page.background));
    canvas.rectangle(rect);
    // The title runs down a 16-pixel strip along the outer edge.
    const bool rightStrip = index % 2 == 0;
    const int stripLeft = rightStrip ? rect.right - 16 : rect.left;
    const QFont font = fontFromLogFont(m_doc.styles.smallFont);
    const QFontMetrics metrics(font);
    const int rowHeight = metrics.height();
    int y = rect.top + 2;
    const std::string& caption = page.caption;
    for (size_t i = 0; i < caption.size();) {
        const size_t length = dbcs::charLength(caption, i);
        if (y + rowHeight > rect.bottom - 2)
            break;
        canvas.drawTextCentred({stripLeft, y, stripLeft + 16, y + rowHeight}, std::string_view(caption).substr(i, length),
                               font, kBlack);
        y += rowHeight;
        i += length;
    }
}

void SpreadPainter::paintSpine(Canvas& canvas, int width, int height, spread::FacingPair pair,
                               const PaintOptions& options)
{
    const int top = 30, bottom = height - 20;
    const int middle = width / 2;
    const COLORREF colour = spineColour(m_doc);
    const bool left = pair.left >= 0, right = pair.right < m_doc.pageCount();
    for (const int y : spread::spineRows(top, bottom)) {
        for (int shade = 0; shade < 7; ++shade) {
            int r = 0, g = 0, b = 0;
            CAKCommonTools::AKGetRGBValueFromColor(colour, r, g, b, -10 * shade, 5, 255);
            canvas.setPen(Pen{Pen::Solid, rgb(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b))});
            const int reach = 18 + shade;
            const Rect box{middle - reach, y - reach, middle + reach, y + reach};
            // Arcs open towards the pages; a lifted sheet shortens its side's.
            if (left)
                canvas.arc(box, 180 - 30.0 * options.spineLeftCount / 15, 60.0 * options.spineLeftCount / 15);
            if (right)
                canvas.arc(box, -30.0 * options.spineRightCount / 15, 60.0 * options.spineRightCount / 15);
            const int narrow = 15 + shade;
            const Rect inner{middle - narrow, y - narrow / 2, middle + narrow, y + narrow / 2};
            if (left)
                canvas.arc(inner, 150, 60);
            if (right)
                canvas.arc(inner, -30, 60);
        }
    }
    canvas.setPen(Pen{Pen::Solid, kBlack});
}
