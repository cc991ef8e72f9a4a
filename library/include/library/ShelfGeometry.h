// The bookshelf of the cabinet manager: where the frame, the two shelves and
// the 24 spines go, which spine a point hits, and the colours everything is
// drawn in. Pure computations: the painter follows them and the dialog
// hit-tests with them.
#pragma once

#include "book/WinTypes.h"

#include <array>
#include <utility>

namespace shelf {

inline constexpr int kBooksPerShelf = 12;
inline constexpr int kShelves = 2;
inline constexpr int kBevelSteps = 6;
inline constexpr int kBevelStepWidth = 3;
inline constexpr int kMargin = 6;
inline constexpr int kOutlineWidth = 3;
inline constexpr COLORREF kNoCabinetColour = rgb(240, 106, 12);
inline constexpr COLORREF kSelectionColour = rgb(122, 255, 122);

// The frame narrowed on each side by half of ((width - 36) mod 12), so that
// its interior divides evenly into spines.
Rect narrowedFrame(const Rect& frame);
// Inside the six bevel steps of the narrowed frame.
Rect interior(const Rect& frame);
// 0: the upper half of the interior, 1: the lower half.
Rect shelfRect(const Rect& frame, int shelfIndex);
// (shelf width - 12) / 12.
int spineWidth(const Rect& frame);
// Entry 0-11 on the upper shelf from the left, 12-23 on the lower one.
Rect spineRect(const Rect& frame, int index);
// The spine of the first `count` entries under the point, or -1.
int spineAt(const Rect& frame, int count, Point p);
// The rectangle the selection outline runs around: the spine with its
// bottom edge 3 pixels higher.
Rect selectionOutline(const Rect& spine);

// The colour's components lowered by offset and held within 5..255.
COLORREF lowered(COLORREF colour, int offset);
// Step k (0 outermost) of the bevel: lowered by 0, 2, 4, 6, 8, 10.
std::array<COLORREF, kBevelSteps> bevelShades(COLORREF border);
// The inside of the cabinet and its shelf boards, from the border colour.
COLORREF backWallColour(COLORREF border);
COLORREF boardColour(COLORREF border);
// A spine's vertical gradient: lighter at the top, darker at the foot.
std::pair<COLORREF, COLORREF> spineGradient(COLORREF frameColour);
// Black on light spines, white on dark ones.
COLORREF spineTextColour(COLORREF frameColour);

}  // namespace shelf
