// What the Book Page dialog chooses (paper colour, text colour, font, page
// picture and the range of book pages) and how the choice reaches the book.
// No widgets here: the dialog only collects the choice.
#pragma once

#include "book/WinTypes.h"

class CVersaleoDoc;
class QFont;

struct BookPageChoice {
    COLORREF paper = 0;
    COLORREF text = 0;
    LOGFONT font;
    int start = 0;  // book page numbers, 1-based; 0 when the book has no book pages
    int end = 0;
    bool applyAll = false;
    int picture = 0;  // the page picture's number, 0 for none
};

// The document's book-page style, the whole book as the range, no picture.
BookPageChoice startingChoice(const CVersaleoDoc& doc, bool applyAll);

// The range can be moved exactly when the choice is not for every page and
// the book has book pages.
bool rangeMovable(const BookPageChoice& choice);

// A font chosen in the font dialog: its face, weight, italic, underline and
// strike-out are taken; the height (and width) stay those of `current`, so
// the laid-out lines still fit their pages. The face that `current` shows as
// here keeps `current`'s name.
LOGFONT fontWithFaceOf(const LOGFONT& current, const QFont& chosen);

// For every page: the choice also becomes the document's book-page style, and
// the range is the whole book. Then each book page of the range (taken in
// order when given backwards) gets the paper, text colour, font and picture.
// The book is modified when a page changed. Returns the pages changed.
int applyBookPageChoice(CVersaleoDoc& doc, const BookPageChoice& choice);

// After the page picture `removed` has gone from the folder and the later
// ones moved down: pages that showed it show none, pages that showed a later
// one keep their picture under its new number. Every book window follows; a
// window whose pages changed is modified.
void followPictureRemoval(CVersaleoDoc& doc, int removed);
