#include "views/PrintSheets.h"

#include "book/CVersaleoDoc.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <functional>

namespace printsheet {
namespace {

PageKind kindAt(const Records& records, int i)
{
    return i >= 0 && i < static_cast<int>(records.size()) ? records[static_cast<size_t>(i)] : PageKind::None;
}

int recordOfBookPage(const Records& records, int n)
{
    int seen = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i] == PageKind::BookPage && ++seen == n)
            return static_cast<int>(i);
    }
    return -1;
}

// One past the index pages, which follow the two front covers.
int indexEnd(const Records& records)
{
    int i = 2;
    while (kindAt(records, i) == PageKind::IndexPage)
        ++i;
    return i;
}

bool betweenPages(PageKind kind)
{
    return kind == PageKind::NotePage || kind == PageKind::BookmarkPage;
}

// Sheets for the printable records of first..last. Two pages per sheet put
// the two records of a leaf (an even record and the one after it) on one
// sheet when both are printed, so no page is printed twice and a bookmark
// or an unprinted note never takes a page's place beside it.
void addSheets(std::vector<Sheet>& sheets, int first, int last, bool twoPages, const std::function<bool(int)>& printable)
{
    for (int i = std::max(first, 0); i <= last;) {
        if (!printable(i)) {
            ++i;
            continue;
        }
        if (twoPages && i % 2 == 0 && i + 1 <= last && printable(i + 1)) {
            sheets.push_back({i, i + 1});
            i += 2;
        } else {
            sheets.push_back({i, -1});
            ++i;
        }
    }
}

}  // namespace

int readNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{INT_MAX} + 1);
    value = negative ? -value : std::min<int64_t>(value, INT_MAX);
    return static_cast<int>(value);
}

PageRange readRange(std::string_view fromText, std::string_view toText, int bookPages)
{
    PageRange range{readNumber(fromText), readNumber(toText)};
    if (range.from > range.to)
        std::swap(range.from, range.to);
    if (bookPages <= 0)
        return {0, 0};
    // Nothing below the first book page or past the last one can be printed.
    range.from = std::clamp(range.from, 1, bookPages);
    range.to = std::clamp(range.to, 1, bookPages);
    return range;
}

Records recordsOf(const CVersaleoDoc& doc)
{
    Records records;
    records.reserve(doc.pages.size());
    for (const auto& page : doc.pages)
        records.push_back(page->kind());
    return records;
}

std::vector<Sheet> sheetList(const Records& records, const PrintOptions& options)
{
    std::vector<Sheet> sheets;
    const int count = static_cast<int>(records.size());
    const int lastPrintable = count - 3;  // the two back covers stay
    const bool two = options.pagesPerSheet == 1;
    const int contentStart = indexEnd(records);
    if (options.printIndex)
        addSheets(sheets, 2, std::min(contentStart - 1, lastPrintable), two,
                  [&](int i) { return kindAt(records, i) == PageKind::IndexPage; });

    const int bookPages = static_cast<int>(std::count(records.begin(), records.end(), PageKind::BookPage));
    const auto note = [&](int i) { return kindAt(records, i) == PageKind::NotePage; };
    if (bookPages == 0) {
        if (options.printNote)
            addSheets(sheets, contentStart, lastPrintable, two, note);
        return sheets;
    }
    int first = recordOfBookPage(records, std::clamp(options.from, 1, bookPages));
    int last = recordOfBookPage(records, std::clamp(options.to, 1, bookPages));
    if (first > last)
        std::swap(first, last);
    if (options.printNote) {
        // The notes written beside the range go with it; bookmarks between
        // them are passed over but do not widen it themselves.
        const int from = first, to = last;
        for (int i = from - 1; i >= 0 && betweenPages(kindAt(records, i)); --i) {
            if (note(i))
                first = i;
        }
        for (int i = to + 1; i < count && betweenPages(kindAt(records, i)); ++i) {
            if (note(i))
                last = i;
        }
    }
    addSheets(sheets, first, std::min(last, lastPrintable), two, [&](int i) {
        return kindAt(records, i) == PageKind::BookPage || (options.printNote && note(i));
    });
    return sheets;
}

SheetStart resetSheet(const std::vector<Sheet>& sheets, int current)
{
    if (sheets.empty())
        return {current, true};
    return {sheets.front().first, false};
}

Sheet sheetAt(const std::vector<Sheet>& sheets, int current)
{
    const auto found =
        std::find_if(sheets.begin(), sheets.end(), [current](const Sheet& sheet) { return sheet.first == current; });
    return found == sheets.end() ? Sheet{} : *found;
}

int previousSheet(const std::vector<Sheet>& sheets, int current)
{
    int best = current;
    for (const Sheet& sheet : sheets) {
        if (sheet.first < current && (best == current || sheet.first > best))
            best = sheet.first;
    }
    return best;
}

int nextSheet(const std::vector<Sheet>& sheets, int current)
{
    int best = current;
    for (const Sheet& sheet : sheets) {
        if (sheet.first > current && (best == current || sheet.first < best))
            best = sheet.first;
    }
    return best;
}

Change changeEffect(const PrintOptions& before, const PrintOptions& after, bool nothingToPrint, SheetShows shows)
{
    if (before == after)
        return Change::Nothing;
    // What selects the sheets starts the preview anew.
    if (before.pagesPerSheet != after.pagesPerSheet || before.allPages != after.allPages ||
        before.from != after.from || before.to != after.to || before.printIndex != after.printIndex ||
        before.printNote != after.printNote)
        return Change::ResetSheet;
    if (before.colour != after.colour)
        return Change::Repaint;
    if (nothingToPrint)
        return Change::Nothing;
    if (before.addNumber != after.addNumber && (shows.bookPage || shows.indexPage))
        return Change::Repaint;
    if (before.printTag != after.printTag && shows.bookPage)
        return Change::Repaint;
    return Change::Nothing;
}

SheetShows sheetShows(const Records& records, const Sheet& sheet)
{
    SheetShows shows;
    for (const int record : {sheet.first, sheet.second}) {
        shows.bookPage = shows.bookPage || kindAt(records, record) == PageKind::BookPage;
        shows.indexPage = shows.indexPage || kindAt(records, record) == PageKind::IndexPage;
    }
    return shows;
}

Rect previewRect(int sheetWidth, int sheetHeight, int clientWidth, int clientHeight)
{
    if (sheetWidth <= 0 || sheetHeight <= 0 || clientWidth <= 20 || clientHeight <= 20)
        return {};
    const int64_t sw = sheetWidth, sh = sheetHeight, cw = clientWidth, ch = clientHeight;
    // The scale is sheet height / (client height - 20) when the height is the
    // tighter side, else sheet width / (client width - 20); in whole numbers,
    // so a side that fits exactly is not lost to rounding.
    int64_t width = 0, height = 0;
    if (sw * ch <= sh * cw) {
        height = ch - 20;
        width = sw * height / sh;
    } else {
        width = cw - 20;
        height = sh * width / sw;
    }
    const auto left = static_cast<int32_t>((cw - width) / 2), top = static_cast<int32_t>((ch - height) / 2);
    return {left, top, left + static_cast<int32_t>(width), top + static_cast<int32_t>(height)};
}

SheetMetrics sheetMetrics(bool printMode, double outputDpi, double screenDpi)
{
    if (!printMode)
        return {};
    const double ratio = screenDpi > 0 && outputDpi > 0 ? std::clamp(outputDpi / screenDpi, 0.01, 1000.0) : 1.0;
    return {static_cast<int>(30 * ratio), static_cast<int>(16 * ratio), static_cast<int>(5 * ratio)};
}

std::vector<Rect> pageAreas(const Rect& sheet, bool twoPages, int margin)
{
    std::vector<Rect> halves;
    if (twoPages) {
        const int middle = sheet.left + sheet.width() / 2;
        halves = {{sheet.left, sheet.top, middle, sheet.bottom}, {middle, sheet.top, sheet.right, sheet.bottom}};
    } else {
        halves = {sheet};
    }
    for (Rect& area : halves) {
        area = {area.left + margin, area.top + margin, area.right - margin, area.bottom - margin};
        area.right = std::max(area.right, area.left);
        area.bottom = std::max(area.bottom, area.top);
    }
    return halves;
}

}  // namespace printsheet
