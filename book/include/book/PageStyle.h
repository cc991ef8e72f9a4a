// How new pages look: the styles a page takes from the document when it is
// created, and the colours of the stacked page edges.
#pragma once

#include "book/WinTypes.h"

#include <array>

struct PageStyle {
    COLORREF background = 0;
    COLORREF textColour = 0;
    LOGFONT font;
};

struct PageStyles {
    PageStyle bookPage;
    PageStyle notePage;
    COLORREF bookmarkBackground = 0;
    LOGFONT smallFont;  // for the views: the book-page font at height 14
    COLORREF markColour = 0;
    COLORREF tagColour = 0;
    LOGFONT tagFont;
    LOGFONT normalFont;  // for the views: the book-page font at height 20

    static PageStyles defaults();
};

// The default book-page font: Arial, height 20, normal weight.
LOGFONT defaultBookFont();

inline constexpr int kLineWidth = 407;
inline constexpr double kPageProportion = 407.0 / 631.0;

inline constexpr std::array<COLORREF, 8> kPageEdgePalette = {
    rgb(0, 0, 0),     rgb(255, 0, 0),   rgb(255, 165, 0),  rgb(0, 255, 0),
    rgb(0, 255, 255), rgb(0, 0, 255),   rgb(138, 43, 226), rgb(0, 0, 226),
};
