// The lantern slide's rules: which page a slide shows and which the keys
// step to, where its lines and footer go, how the background fills the view
// and where a dragged window lands. Pure computations on the book and on
// sizes; the slide painter and the view follow them.
#pragma once

#include "views/SpreadGeometry.h"

#include "book/CVersaleoDoc.h"
#include "book/WinTypes.h"

#include <string>

namespace slide {

// The first book page at or after `from`, or -1: notes, index pages,
// bookmarks and covers are passed over.
int slideAtOrAfter(const CVersaleoDoc& doc, int from);
// The book page the next and the previous slide show, counted from the
// current index; -1 at either end of the book.
int nextSlide(const CVersaleoDoc& doc);
int previousSlide(const CVersaleoDoc& doc);

enum class Step { None, Back, Forward };
// What a key does on a slide: Page Up, Left and Up go back, Page Down, Right
// and Down forward (the Left arrow goes back here, unlike the reading views).
Step stepForKey(int qtKey);

// The text area (the view shrunk by 30 on every side) and its rows. The
// narrow lines of the two-page mode take 26 rows and a font of at most a
// twentieth of the width; the wide lines 13 rows (one per line past 13) and
// at most a fortieth. The rest of the height goes a pixel a row to the first.
spread::TextLayout textLayout(int viewWidth, int viewHeight, int lineCount, bool narrowLines);

// "- - - No.7 - - -" for the seventh book page.
std::string footerText(int bookPageNumber);
// The footer's box: centred across the view, its bottom 5 pixels above the
// view's bottom.
Rect footerBox(int viewWidth, int viewHeight, int textWidth, int textHeight);

// Where the window that stood at `start` when the button went down at
// `pressed` goes with the pointer at `now` (screen coordinates).
Rect draggedWindow(const Rect& start, Point pressed, Point now);

}  // namespace slide
