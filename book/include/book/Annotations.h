// The reader's own additions to a book: index entries on a book page, and
// new or edited bookmark leaves and note pages. Each operation leaves the
// book whole: leaves of two, index pages rebuilt, bookmarks numbered, the
// current page still on the page the reader was looking at. No GUI types
// here: the dialogs only hand over titles, colours and fonts.
#pragma once

#include "book/CBookPage.h"
#include "book/WinTypes.h"

#include <cstddef>
#include <string_view>

class CVersaleoDoc;

namespace annotations {

// What a bookmark's editor lets the reader type, in code-page bytes (the
// same as importers cut a caption to).
inline constexpr size_t kCaptionLimit = 20;

// The index entries of the book page at `page`. Adding and removing rebuild
// the index pages; every change sets modified. False (and nothing changed)
// when `page` is not a book page or `entry` is not one of its entries.
bool addIndexEntry(CVersaleoDoc& doc, int page, std::string_view title);
bool retitleIndexEntry(CVersaleoDoc& doc, int page, size_t entry, std::string_view title);
bool removeIndexEntry(CVersaleoDoc& doc, int page, size_t entry);

// Where a new leaf goes: the spine of the open spread, as pasted leaves go
// (at the current page when it is even, after it when it is odd), so the
// new leaf is on show. -1 when the current page allows no insertion there.
int newLeafPosition(const CVersaleoDoc& doc);

// A new bookmark leaf (two bookmark pages with the caption, cut to
// kCaptionLimit at a character boundary, and the colour) or a new note leaf
// (two note pages in the colours and font) at newLeafPosition. The current
// page stays on the open spread, which now shows the new leaf; the text
// sources are given up, as after a paste. Returns the
// index of the leaf's front page, or -1 when nothing was inserted.
int insertBookmarkLeaf(CVersaleoDoc& doc, std::string_view caption, COLORREF colour);
int insertNoteLeaf(CVersaleoDoc& doc, COLORREF background, COLORREF textColour, const LOGFONT& font);

// Changes the bookmark whose leaf holds `page` (both of its pages) or the
// note page `page`. False when the page is not of that kind.
bool updateBookmarkLeaf(CVersaleoDoc& doc, int page, std::string_view caption, COLORREF colour);
bool updateNotePage(CVersaleoDoc& doc, int page, COLORREF background, COLORREF textColour, const LOGFONT& font);

}  // namespace annotations
