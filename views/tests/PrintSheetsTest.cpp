#include "views/PrintSheets.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

using namespace printsheet;

// A book written as one letter a record: C cover, I index, M bookmark,
// B book page, N note page.
Records book(const std::string& letters)
{
    Records records;
    for (const char c : letters) {
        switch (c) {
        case 'C': records.push_back(PageKind::CoverPage); break;
        case 'I': records.push_back(PageKind::IndexPage); break;
        case 'M': records.push_back(PageKind::BookmarkPage); break;
        case 'B': records.push_back(PageKind::BookPage); break;
        case 'N': records.push_back(PageKind::NotePage); break;
        default: ADD_FAILURE() << c;
        }
    }
    return records;
}

// Records 0-1 covers, 2-3 index, 4-5 a bookmark, 6-9 book pages 1-4, 10-11
// a note leaf, 12-15 book pages 5-8, 16-17 covers.
const Records kBook = book("CCIIMMBBBBNNBBBBCC");

PrintOptions range(int from, int to, int pagesPerSheet = 0)
{
    PrintOptions options;
    options.allPages = 0;
    options.from = from;
    options.to = to;
    options.pagesPerSheet = pagesPerSheet;
    return options;
}

std::vector<Sheet> singles(std::initializer_list<int> records)
{
    std::vector<Sheet> sheets;
    for (const int r : records)
        sheets.push_back({r, -1});
    return sheets;
}

TEST(RangeReading, TheTypedRangeIsPutInOrderAndIntoTheBook)
{
    struct Case {
        const char* from;
        const char* to;
        int bookPages;
        PageRange expected;
    };
    const Case cases[] = {
        {"9", "3", 20, {3, 9}},     // typed backwards
        {"0", "5", 20, {1, 5}},     // a 0 is the first page
        {"2", "999", 20, {2, 20}},  // past the end is cut
        {"", "", 20, {1, 1}},
        {"4", "7", 0, {0, 0}},  // no book pages: nothing
        {" 12abc", "x", 20, {1, 12}},
        {"-4", "3", 20, {1, 3}},  // nothing before the first page
        {"99999999999999", "5", 20, {5, 20}},
        {"30", "25", 20, {20, 20}},  // the whole range past the end
        {"+7", "7", 20, {7, 7}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readRange(c.from, c.to, c.bookPages), c.expected) << c.from << ".." << c.to;
}

TEST(RangeReading, NumbersAreReadAsAtoiReadsThemWithoutOverflowing)
{
    EXPECT_EQ(readNumber("42"), 42);
    EXPECT_EQ(readNumber("  17 pages"), 17);
    EXPECT_EQ(readNumber("-3"), -3);
    EXPECT_EQ(readNumber("page 3"), 0);
    EXPECT_EQ(readNumber(""), 0);
    EXPECT_EQ(readNumber("123456789012345678901234567890"), INT_MAX);
    EXPECT_EQ(readNumber("-123456789012345678901234567890"), INT_MIN);
}

TEST(OnePagePerSheet, TheBookPagesOfTheRangeOneASheet)
{
    EXPECT_EQ(sheetList(kBook, range(2, 7)), singles({7, 8, 9, 12, 13, 14}));
    EXPECT_EQ(sheetList(kBook, range(1, 8)), singles({6, 7, 8, 9, 12, 13, 14, 15}));
}

TEST(OnePagePerSheet, PrintNoteTakesTheNotesInAndAroundTheRange)
{
    PrintOptions inside = range(2, 7);
    inside.printNote = 1;
    EXPECT_EQ(sheetList(kBook, inside), singles({7, 8, 9, 10, 11, 12, 13, 14}));
    // Starting after a note leaf: the start moves back to its first note.
    PrintOptions after = range(5, 8);
    after.printNote = 1;
    EXPECT_EQ(sheetList(kBook, after), singles({10, 11, 12, 13, 14, 15}));
    // Ending before one: the end moves on to its last note. A bookmark
    // before the range does not move the start.
    PrintOptions before = range(1, 4);
    before.printNote = 1;
    EXPECT_EQ(sheetList(kBook, before), singles({6, 7, 8, 9, 10, 11}));
    // Notes behind a bookmark still belong to the range.
    PrintOptions behind = range(1, 1);
    behind.printNote = 1;
    EXPECT_EQ(sheetList(book("CCIINNMMBBBBCC"), behind), singles({4, 5, 8}));
}

TEST(OnePagePerSheet, PrintIndexPutsTheIndexPagesFirst)
{
    PrintOptions options = range(1, 2);
    options.printIndex = 1;
    EXPECT_EQ(sheetList(kBook, options), singles({2, 3, 6, 7}));
}

TEST(TwoPagesPerSheet, TheTwoPagesOfALeafShareASheet)
{
    EXPECT_EQ(sheetList(kBook, range(1, 8, 1)),
              (std::vector<Sheet>{{6, 7}, {8, 9}, {12, 13}, {14, 15}}));
    PrintOptions notes = range(1, 8, 1);
    notes.printNote = 1;
    EXPECT_EQ(sheetList(kBook, notes), (std::vector<Sheet>{{6, 7}, {8, 9}, {10, 11}, {12, 13}, {14, 15}}));
    PrintOptions index = range(1, 2, 1);
    index.printIndex = 1;
    EXPECT_EQ(sheetList(kBook, index), (std::vector<Sheet>{{2, 3}, {6, 7}}));
}

TEST(TwoPagesPerSheet, APageWhosePartnerIsNotPrintedHasASheetOfItsOwn)
{
    // Book pages 2-7: the range starts on the back of a leaf and ends on the
    // front of one; the note leaf between is not printed.
    EXPECT_EQ(sheetList(kBook, range(2, 7, 1)), (std::vector<Sheet>{{7, -1}, {8, 9}, {12, 13}, {14, -1}}));
    // A page beside a bookmark or a note leaf out of place.
    EXPECT_EQ(sheetList(book("CCIIBMMBCC"), range(1, 2, 1)), (std::vector<Sheet>{{4, -1}, {7, -1}}));
    EXPECT_EQ(sheetList(book("CCIIBNBBCC"), range(1, 3, 1)), (std::vector<Sheet>{{4, -1}, {6, 7}}));
}

TEST(NoBookPages, OnlyTheNotesAndTheIndexSelected)
{
    const Records notes = book("CCIINNNNCC");
    PrintOptions options = range(0, 0);
    EXPECT_TRUE(sheetList(notes, options).empty());
    options.printNote = 1;
    EXPECT_EQ(sheetList(notes, options), singles({4, 5, 6, 7}));
    options.pagesPerSheet = 1;
    EXPECT_EQ(sheetList(notes, options), (std::vector<Sheet>{{4, 5}, {6, 7}}));
    options.printIndex = 1;
    EXPECT_EQ(sheetList(notes, options), (std::vector<Sheet>{{2, 3}, {4, 5}, {6, 7}}));
    EXPECT_TRUE(sheetList(book("CCIICC"), range(0, 0)).empty());
}

TEST(NoBookPages, TheCoversAreNeverPrinted)
{
    // A book whose last records are not marked as covers still keeps them.
    PrintOptions options = range(1, 3, 1);
    EXPECT_EQ(sheetList(book("CCIIBBBB"), options), (std::vector<Sheet>{{4, 5}}));
    EXPECT_TRUE(sheetList({}, options).empty());
    EXPECT_TRUE(sheetList(book("B"), options).empty());
}

TEST(SheetStart, TheFirstSheetOrNothingToPrint)
{
    const std::vector<Sheet> sheets = {{7, -1}, {8, 9}};
    EXPECT_EQ(resetSheet(sheets, 12).current, 7);
    EXPECT_FALSE(resetSheet(sheets, 12).nothingToPrint);
    const SheetStart none = resetSheet({}, 12);
    EXPECT_TRUE(none.nothingToPrint);
    EXPECT_EQ(none.current, 12);
}

TEST(SheetStart, PrintIndexStartsAtTheFirstIndexPageAndPrintNoteAtTheEarliestNote)
{
    PrintOptions index = range(3, 4);
    index.printIndex = 1;
    EXPECT_EQ(resetSheet(sheetList(kBook, index), 14).current, 2);
    PrintOptions note = range(5, 8);
    note.printNote = 1;
    EXPECT_EQ(resetSheet(sheetList(kBook, note), 2).current, 10);
    EXPECT_EQ(resetSheet(sheetList(kBook, range(6, 8)), 2).current, 13);
}

TEST(Navigation, PreviousAndNextStopAtTheEnds)
{
    const std::vector<Sheet> sheets = {{6, 7}, {8, 9}, {12, 13}};
    EXPECT_EQ(previousSheet(sheets, 8), 6);
    EXPECT_EQ(previousSheet(sheets, 6), 6);
    EXPECT_EQ(nextSheet(sheets, 8), 12);
    EXPECT_EQ(nextSheet(sheets, 12), 12);
    // From a record between sheets, the nearest on either side.
    EXPECT_EQ(previousSheet(sheets, 10), 8);
    EXPECT_EQ(nextSheet(sheets, 10), 12);
    EXPECT_EQ(nextSheet({}, 10), 10);
    EXPECT_EQ(sheetAt(sheets, 8), (Sheet{8, 9}));
    EXPECT_EQ(sheetAt(sheets, 9), Sheet{});
}

TEST(OptionChanges, EachOptionRepaintsOrStartsAgainAsItMust)
{
    const PrintOptions base = range(1, 8);
    const SheetShows book{true, false}, index{false, true}, note{};
    struct Case {
        const char* what;
        void (*edit)(PrintOptions&);
        SheetShows shows;
        bool nothingToPrint;
        Change expected;
    };
    const Case cases[] = {
        {"same value", [](PrintOptions&) {}, book, false, Change::Nothing},
        {"two pages", [](PrintOptions& o) { o.pagesPerSheet = 1; }, book, false, Change::ResetSheet},
        {"all pages", [](PrintOptions& o) { o.allPages = 1; }, book, false, Change::ResetSheet},
        {"range", [](PrintOptions& o) { o.to = 5; }, book, false, Change::ResetSheet},
        {"range with nothing to print", [](PrintOptions& o) { o.from = 2; }, book, true, Change::ResetSheet},
        {"print index", [](PrintOptions& o) { o.printIndex = 1; }, book, false, Change::ResetSheet},
        {"print note", [](PrintOptions& o) { o.printNote = 1; }, book, false, Change::ResetSheet},
        {"colour", [](PrintOptions& o) { o.colour = 0; }, note, false, Change::Repaint},
        {"number on a book page", [](PrintOptions& o) { o.addNumber = 1; }, book, false, Change::Repaint},
        {"number on an index page", [](PrintOptions& o) { o.addNumber = 1; }, index, false, Change::Repaint},
        {"number on a note page", [](PrintOptions& o) { o.addNumber = 1; }, note, false, Change::Nothing},
        {"number with nothing to print", [](PrintOptions& o) { o.addNumber = 1; }, book, true, Change::Nothing},
        {"tag on a book page", [](PrintOptions& o) { o.printTag = 1; }, book, false, Change::Repaint},
        {"tag on an index page", [](PrintOptions& o) { o.printTag = 1; }, index, false, Change::Nothing},
        {"tag with nothing to print", [](PrintOptions& o) { o.printTag = 1; }, book, true, Change::Nothing},
    };
    for (const Case& c : cases) {
        PrintOptions after = base;
        c.edit(after);
        EXPECT_EQ(changeEffect(base, after, c.nothingToPrint, c.shows), c.expected) << c.what;
    }
}

TEST(OptionChanges, WhatASheetShowsCountsBothItsPages)
{
    EXPECT_TRUE(sheetShows(kBook, {2, 3}).indexPage);
    EXPECT_FALSE(sheetShows(kBook, {2, 3}).bookPage);
    EXPECT_TRUE(sheetShows(book("CCIINBCC"), {4, 5}).bookPage);
    EXPECT_FALSE(sheetShows(kBook, {10, 11}).bookPage);
    EXPECT_FALSE(sheetShows(kBook, {}).bookPage);
}

TEST(Preview, TheSheetIsScaledToTheTighterSideAndCentred)
{
    // An A4 landscape sheet at 600 dpi in a wide client: the height decides.
    EXPECT_EQ(previewRect(7016, 4961, 1000, 600), (Rect{90, 10, 910, 590}));
    // The same sheet in a square client: the width decides.
    EXPECT_EQ(previewRect(7016, 4961, 600, 600), (Rect{10, 95, 590, 505}));
    // A portrait sheet in a client of its own shape fits to the pixel.
    EXPECT_EQ(previewRect(1000, 1400, 520, 720), (Rect{10, 10, 510, 710}));
    EXPECT_EQ(previewRect(1000, 1400, 20, 720), Rect{});
    EXPECT_EQ(previewRect(0, 1400, 500, 720), Rect{});
}

TEST(SheetMeasures, TheOutputsResolutionScalesMarginsAndNumbers)
{
    // A 600-dpi printer against a 96-dpi screen: 30 * 6.25 = 187.5, 16 * 6.25, 5 * 6.25.
    EXPECT_EQ(sheetMetrics(true, 600, 96), (SheetMetrics{187, 100, 31}));
    EXPECT_EQ(sheetMetrics(true, 300, 120), (SheetMetrics{75, 40, 12}));
    // The preview keeps the screen's measures whatever the printer.
    EXPECT_EQ(sheetMetrics(false, 600, 96), (SheetMetrics{30, 16, 5}));
    EXPECT_EQ(sheetMetrics(true, 600, 0), (SheetMetrics{30, 16, 5}));
}

TEST(SheetMeasures, TwoPagesSplitTheSheetAtItsMiddle)
{
    EXPECT_EQ(pageAreas({0, 0, 1000, 700}, true, 30), (std::vector<Rect>{{30, 30, 470, 670}, {530, 30, 970, 670}}));
    EXPECT_EQ(pageAreas({10, 20, 710, 1020}, false, 187), (std::vector<Rect>{{197, 207, 523, 833}}));
    // A margin wider than the sheet leaves an empty area, never an inverted one.
    const Rect tiny = pageAreas({0, 0, 40, 40}, false, 30).front();
    EXPECT_EQ(tiny.width(), 0);
    EXPECT_EQ(tiny.height(), 0);
}

}  // namespace
