// Paints the cabinet manager's bookshelf into an image: the bevelled frame
// in shades of the cabinet's border colour, the two shelves and a spine per
// book with its name written along it.
#pragma once

#include "library/Cabinet.h"

#include "book/WinTypes.h"

#include <QImage>
#include <QString>

// Whether a title is set upright, one character under the other, as
// Chinese, Japanese and Korean spines are; other titles run down the spine
// turned on their side.
bool titleStandsUpright(const QString& title);

// The shelf of the cabinet (none: the empty frame in the default colour),
// in the frame rectangle of the image. The names are written in the page
// font at height 14.
void paintShelf(QImage& image, const Rect& frame, const CCabinet* cabinet, const LOGFONT& pageFont);
// The selection outline around a spine, drawn with exclusive-or: drawing it
// a second time erases it.
void xorSelectionOutline(QImage& image, const Rect& spine);
