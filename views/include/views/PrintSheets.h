// The rules of printing: reading the page range the reader typed, which
// records go on which sheet, moving between sheets, what a change of the
// options does, the preview's scale and the measures of a sheet on an output.
// Pure: no drawing and no widgets, so the print view, the print loop and the
// tests follow the same rules.
#pragma once

#include "book/CBookPage.h"
#include "book/WinTypes.h"

#include <string_view>
#include <vector>

class CVersaleoDoc;

namespace printsheet {

// The options of the print bar.
struct PrintOptions {
    int pagesPerSheet = 0;  // 0 one page, 1 two pages
    int colour = 1;         // 1 colour, 0 black and white
    int addNumber = 0;
    int printIndex = 0;
    int printNote = 0;
    int printTag = 0;
    int allPages = 1;  // 1 all, 0 the range from..to
    int from = 0;      // book-page numbers, 1-based
    int to = 0;
    friend bool operator==(const PrintOptions&, const PrintOptions&) = default;
};

struct PageRange {
    int from = 0;
    int to = 0;
    friend bool operator==(const PageRange&, const PageRange&) = default;
};

// An edit box's number as atoi reads it: blanks, a sign, digits, anything
// after them ignored; no digits give 0. It never overflows: a number past
// the int range is cut to it.
int readNumber(std::string_view text);

// The range the two boxes name in a book of `bookPages` book pages: in
// order, both within 1..bookPages (0 and 0 without book pages).
PageRange readRange(std::string_view from, std::string_view to, int bookPages);

// The kinds of the book's records, in book order.
using Records = std::vector<PageKind>;
Records recordsOf(const CVersaleoDoc& doc);

// One printed sheet: its first record and, with two pages per sheet, the
// record beside it (-1 when the sheet holds one page).
struct Sheet {
    int first = -1;
    int second = -1;
    friend bool operator==(const Sheet&, const Sheet&) = default;
};

// Every sheet the options select, in book order: the index pages with "Print
// Index", then the book pages of the range (widened over the note pages
// around it, and with the note pages in it, with "Print Note"); without book
// pages, the note pages with "Print Note". Two pages per sheet pair the
// records of a leaf when both are printed; a page whose partner is not
// printed (the ends of the range, a bookmark or a note beside it) has a sheet
// of its own. The covers are never printed.
std::vector<Sheet> sheetList(const Records& records, const PrintOptions& options);

// Where the preview starts after the options changed: the first sheet, or
// nothing to print when the options select no page (the current sheet then
// stays as it was).
struct SheetStart {
    int current = 2;
    bool nothingToPrint = false;
};
SheetStart resetSheet(const std::vector<Sheet>& sheets, int current);

// The sheet of `current` in the list, or an empty sheet when it has none.
Sheet sheetAt(const std::vector<Sheet>& sheets, int current);
// The nearest sheet before / after `current`; `current` itself at either end.
int previousSheet(const std::vector<Sheet>& sheets, int current);
int nextSheet(const std::vector<Sheet>& sheets, int current);

// What a change of the options does to the preview.
enum class Change { Nothing, Repaint, ResetSheet };
// `before` and `after` hold the range as read before and after the action.
// The sheet on show matters for "Add Number" (it marks book and index pages)
// and "Print Tag" (book pages); while nothing is to be printed they do nothing.
struct SheetShows {
    bool bookPage = false;
    bool indexPage = false;
};
Change changeEffect(const PrintOptions& before, const PrintOptions& after, bool nothingToPrint, SheetShows shows);
SheetShows sheetShows(const Records& records, const Sheet& sheet);

// The sheet's rectangle in a preview of the client's size: scaled to fit
// with 10 pixels to spare on the tighter side, centred. Empty when the
// client has no room for it.
Rect previewRect(int sheetWidth, int sheetHeight, int clientWidth, int clientHeight);

// The measures of a sheet on its output: the page margin, the page number's
// font height and its gap to the page's bottom. The preview keeps the screen's
// 30, 16 and 5 pixels; an output of another resolution scales them by its
// dots per inch over the screen's (truncated).
struct SheetMetrics {
    int margin = 30;
    int numberFont = 16;
    int numberGap = 5;
    friend bool operator==(const SheetMetrics&, const SheetMetrics&) = default;
};
SheetMetrics sheetMetrics(bool printMode, double outputDpi, double screenDpi);

// The page areas of a sheet: the whole sheet, or its halves left and right
// of the vertical middle, each shrunk by the margin.
std::vector<Rect> pageAreas(const Rect& sheet, bool twoPages, int margin);

// The number a tag prints with: the tags run through the whole book, so it is
// 1 plus the tags on the book pages before its page plus its place there.
// `tagsBefore` is the count on those pages, `place` 0 for a page's first tag.
inline int tagNumber(int tagsBefore, int place) { return 1 + tagsBefore + place; }

}  // namespace printsheet
