// Rewriting a book page's text in place, slot by slot as the reader typed it:
// each line is joined again from its tokens, keeps its paragraph indent and
// its paragraph end, and the page's cells and marks follow the new text.
// Model only: the editors that produce the lines live with the frame.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CBookPage;

namespace content {

// One slot's new line from the typed text (code-page bytes): trimmed, its
// blanks between tokens made single spaces, the four-space indent put back
// when the text began with it, "\r\n" appended when the old line ended a
// paragraph. A line longer than the line width stays as typed.
std::string rebuildLine(std::string_view typed, bool endedParagraph);

// Replaces the page's lines by the slots' texts (slot i becomes line i, a
// slot equal to line i leaves it untouched; the
// page's lines past the slots stay), appending new lines only up to the last
// slot that holds text; then rebuilds the cells, fits the marks to them and
// drops the wide lines.
void replaceLines(CBookPage& page, const std::vector<std::string>& slots);

// Marks that start past the last cell go; marks that end past it end there.
void fitMarksToCells(CBookPage& page);

}  // namespace content
