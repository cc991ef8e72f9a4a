#include "views/SheetPainter.h"

#include "views/Canvas.h"
#include "views/PageGeometry.h"
#include "views/SpreadGeometry.h"
#include "views/TextCodec.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "book/TextLayout.h"

#include <QFontMetricsF>
#include <QPaintEngine>

#include <algorithm>

namespace {

constexpr COLORREF kBlack = rgb(0, 0, 0);
// What black and white prints for a mark's and a tag's colour.
constexpr COLORREF kGrey = rgb(122, 122, 122);

QRect toQRect(const Rect& r)
{
    return {r.left, r.top, r.width(), r.height()};
}

LOGFONT withHeight(LOGFONT font, int height)
{
    font.lfHeight = std::max(1, height);
    return font;
}

QFont arial(int height)
{
    LOGFONT font;
    font.setFaceName("Arial");
    font.lfWeight = 400;
    return fontFromLogFont(withHeight(font, height));
}

// Page text drawn with its cell's top-left at (x, y); a paragraph's line end is not drawn.
void drawBytes(QPainter& painter, int x, int y, std::string_view bytes, const QFont& font, COLORREF colour,
               const char* codePage)
{
    while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r'))
        bytes.remove_suffix(1);
    if (bytes.empty())
        return;
    painter.setFont(font);
    painter.setPen(toQColor(colour));
    painter.drawText(QPointF(x, y + QFontMetricsF(font).ascent()), fromCodePage(bytes, codePage));
}

// A one-pixel line on the screen is as thin on paper as the margin is wide.
QPen rulePen(COLORREF colour, const SheetStyle& style)
{
    QPen pen(toQColor(colour));
    pen.setWidth(std::max(1, style.metrics.margin / 30));
    return pen;
}

// Where the rows go: the page area, less the strip at its bottom that the
// page number takes, so the number never lies over the last row.
Rect rowsArea(const Rect& area, const SheetStyle& style)
{
    Rect rows = area;
    if (style.addNumber)
        rows.bottom = std::max(rows.top, area.bottom - style.metrics.numberGap - style.metrics.numberFont);
    return rows;
}

}  // namespace

SheetPainter::SheetPainter(const CVersaleoDoc& doc) : m_doc(doc) {}

void SheetPainter::draw(QPainter& painter, const Rect& sheet, const printsheet::Sheet& records, const SheetStyle& style)
{
    painter.save();
    painter.setClipRect(toQRect(sheet));
    if (!style.printMode)
        painter.fillRect(toQRect(sheet), Qt::white);
    const std::vector<Rect> areas = printsheet::pageAreas(sheet, style.twoPages, style.metrics.margin);
    if (records.first >= 0)
        drawPage(painter, records.first, areas.front(), style);
    if (style.twoPages && records.second >= 0)
        drawPage(painter, records.second, areas.back(), style);
    painter.restore();
}

void SheetPainter::drawPage(QPainter& painter, int record, const Rect& area, const SheetStyle& style)
{
    // Only the printed kinds; a stale record after the book changed draws nothing.
    if (record < 0 || record >= m_doc.pageCount() || area.width() <= 0 || area.height() <= 0)
        return;
    const CBookPage& page = *m_doc.pages[static_cast<size_t>(record)];
    switch (page.kind()) {
    case PageKind::BookPage: drawBookPage(painter, page, record, area, style); break;
    case PageKind::IndexPage: drawIndexPage(painter, record, area, style); break;
    case PageKind::NotePage: drawNotePage(painter, page, area, style); break;
    default: break;
    }
}

void SheetPainter::drawBookPage(QPainter& painter, const CBookPage& page, int record, const Rect& area,
                                const SheetStyle& style)
{
    if (style.colour)
        painter.fillRect(toQRect(area), toQColor(page.background));
    const COLORREF ink = style.colour ? page.textColour : kBlack;
    const Rect text = rowsArea(area, style);
    const spread::Rows rows = spread::evenRows(text.top, text.height(), CBookPage::kLineSlots);
    const LOGFONT logFont = withHeight(page.font, std::min(text.width() / 20, text.height() / CBookPage::kLineSlots));
    const QFont font = fontFromLogFont(logFont);
    TextMeasurer& measurer = m_measurers.forFont(logFont);
    const char* codePage = codepage::forCharset(logFont.lfCharSet);

    // The lines are laid out first: the marks need their characters' cells.
    std::vector<layout::LineDrawing> drawings;
    std::vector<CellPlace> cells(page.cellCount(), CellPlace{-1, {}});
    size_t cell = 0;
    const size_t shown = std::min(page.lines.size(), rows.tops.size());
    for (size_t i = 0; i < shown; ++i) {
        drawings.push_back(layout::justifyLine(page.lines[i], area.left, rows.tops[i], area.width(), false,
                                               rows.heights[i], measurer));
        for (const Rect& drawn : drawings.back().cells) {
            if (cell < cells.size())
                cells[cell++] = {static_cast<int>(i), drawn};
        }
    }
    std::vector<std::pair<Rect, COLORREF>> runs;
    for (const PageMark& mark : page.marks) {
        const COLORREF colour = style.colour ? mark.colour : kGrey;
        for (const Rect& run : markRuns(cells, mark))
            runs.push_back({run, colour});
    }

    // A mark is a highlighter over the text: masked over it where the output
    // combines colours (an image), laid under it where it cannot (a printer
    // or a PDF, whose engines claim raster operations but paint over).
    const QPaintEngine* engine = painter.paintEngine();
    const bool masking = engine && engine->type() == QPaintEngine::Raster;
    if (!masking) {
        for (const auto& [run, colour] : runs)
            painter.fillRect(toQRect(run), toQColor(colour));
    }
    for (size_t i = 0; i < drawings.size(); ++i) {
        for (const layout::DrawnRun& run : drawings[i].runs)
            drawBytes(painter, run.x, rows.tops[i], run.text, font, ink, codePage);
    }
    if (masking) {
        painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        for (const auto& [run, colour] : runs)
            painter.fillRect(toQRect(run), toQColor(colour));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    painter.setBrush(Qt::NoBrush);
    for (const auto& [run, colour] : runs) {
        painter.setPen(rulePen(colour, style));
        painter.drawRect(toQRect(run).adjusted(0, 0, -1, -1));
    }

    if (style.printTag) {
        const QFont numberFont = arial(style.metrics.numberFont);
        const QFontMetricsF metrics(numberFont);
        const int before = tagsBefore(record);
        for (size_t place = 0; place < page.tags.size(); ++place) {
            const PageTag& tag = *page.tags[place];
            const QString number = QString::number(printsheet::tagNumber(before, static_cast<int>(place)));
            const int width = static_cast<int>(metrics.horizontalAdvance(number)) + 2;
            const int height = static_cast<int>(metrics.height());
            // Its fractions of the area, kept inside it (a stored fraction may be anything).
            const double fx = std::clamp(tag.x, 0.0, 1.0), fy = std::clamp(tag.y, 0.0, 1.0);
            const int x = std::clamp(area.left + static_cast<int>(fx * area.width()), area.left,
                                     std::max(area.left, area.right - width));
            const int y = std::clamp(area.top + static_cast<int>(fy * area.height()), area.top,
                                     std::max(area.top, area.bottom - height));
            const QRect box(x, y, width, height);
            painter.fillRect(box, toQColor(style.colour ? tag.colour : kGrey));
            painter.setFont(numberFont);
            painter.setPen(Qt::black);
            painter.drawText(box, Qt::AlignCenter, number);
        }
    }
    if (style.addNumber)
        drawNumber(painter, "- - -   Page " + std::to_string(m_doc.bookPageNumberOf(record)) + "  - - -", area, style);
}

void SheetPainter::drawIndexPage(QPainter& painter, int record, const Rect& area, const SheetStyle& style)
{
    painter.fillRect(toQRect(area), Qt::white);
    const Rect grid = rowsArea(area, style);
    const spread::Rows rows = spread::evenRows(grid.top, grid.height(), CBookPage::kLineSlots);
    const int rowHeight = rows.heights[1];
    const int numberColumn = area.left + area.width() * 6 / 7;
    painter.setPen(rulePen(kBlack, style));
    for (const int x : {area.left, numberColumn, area.right - 1})
        painter.drawLine(x, rows.tops[1], x, grid.bottom - 1);
    for (size_t r = 1; r < rows.tops.size(); ++r)
        painter.drawLine(area.left, rows.tops[r], area.right - 1, rows.tops[r]);
    painter.drawLine(area.left, grid.bottom - 1, area.right - 1, grid.bottom - 1);

    // The screen's proportions: a 20-pixel title and 18-pixel entries in 22-pixel rows.
    painter.setPen(Qt::black);
    painter.setFont(fontFromLogFont(withHeight(m_doc.styles.normalFont, rowHeight * 10 / 11)));
    painter.drawText(QRect(area.left, area.top, area.width(), rows.tops[1] - area.top), Qt::AlignCenter,
                     QStringLiteral("- - - Index - - -"));
    const QFont font = fontFromLogFont(withHeight(m_doc.styles.normalFont, rowHeight * 9 / 11));
    const QFontMetricsF metrics(font);
    painter.setFont(font);
    const int pad = std::max(1, 3 * style.metrics.margin / 30);
    const auto first = static_cast<size_t>(spread::firstIndexEntry(record));
    for (size_t k = 0; k < spread::kEntriesPerIndexPage && first + k < m_doc.indexEntries.size(); ++k) {
        const IndexEntry& entry = *m_doc.indexEntries[first + k];
        const int top = rows.tops[k + 1], height = rows.heights[k + 1];
        const QRect title(area.left + pad, top, numberColumn - area.left - pad, height);
        painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(fromCodePage(entry.titleText()), Qt::ElideRight, title.width()));
        painter.drawText(QRect(numberColumn + pad, top, area.right - numberColumn - pad, height),
                         Qt::AlignLeft | Qt::AlignVCenter, QString::number(entry.bookPageNumber));
    }
    if (style.addNumber)
        drawNumber(painter, "- - -  Index " + std::to_string(record - 1) + "  - - -", area, style);
}

void SheetPainter::drawNotePage(QPainter& painter, const CBookPage& page, const Rect& area, const SheetStyle& style)
{
    if (style.colour)
        painter.fillRect(toQRect(area), toQColor(page.background));
    const COLORREF ink = style.colour ? page.textColour : kBlack;
    // A title row over the 24 ruled rows of the note.
    const spread::Rows rows = spread::evenRows(area.top, area.height(), 25);
    const int rowHeight = rows.heights[1];
    painter.setPen(rulePen(kBlack, style));
    for (size_t r = 2; r < rows.tops.size(); ++r)
        painter.drawLine(area.left, rows.tops[r], area.right - 1, rows.tops[r]);
    painter.drawLine(area.left, area.bottom - 1, area.right - 1, area.bottom - 1);
    painter.setPen(toQColor(ink));
    painter.setFont(fontFromLogFont(withHeight(page.font, rowHeight * 10 / 11)));
    painter.drawText(QRect(area.left, area.top, area.width(), rows.heights[0]), Qt::AlignCenter,
                     QStringLiteral("- - - Reading Notes - - -"));
    const QFont font = fontFromLogFont(withHeight(page.font, rowHeight * 9 / 11));
    const char* codePage = codepage::forCharset(page.font.lfCharSet);
    const int pad = std::max(1, 3 * style.metrics.margin / 30);
    for (size_t i = 0; i < page.lines.size() && i + 1 < rows.tops.size(); ++i)
        drawBytes(painter, area.left + pad, rows.tops[i + 1], page.lines[i], font, ink, codePage);
}

void SheetPainter::drawNumber(QPainter& painter, const std::string& text, const Rect& area, const SheetStyle& style)
{
    const int height = style.metrics.numberFont;
    const int top = area.bottom - style.metrics.numberGap - height;
    painter.setFont(arial(height));
    painter.setPen(Qt::black);
    painter.drawText(QRect(area.left, top, area.width(), height), Qt::AlignHCenter | Qt::AlignTop,
                     QString::fromStdString(text));
}

int SheetPainter::tagsBefore(int record) const
{
    int tags = 0;
    for (int i = 0; i < record && i < m_doc.pageCount(); ++i) {
        const CBookPage& page = *m_doc.pages[static_cast<size_t>(i)];
        if (page.kind() == PageKind::BookPage)
            tags += static_cast<int>(page.tags.size());
    }
    return tags;
}
