#include "book/PageStyle.h"

#include "book/CBookWindow.h"

LOGFONT defaultBookFont()
{
    LOGFONT font;
    font.lfHeight = 20;
    font.lfWeight = 400;
    font.lfQuality = 6;
    font.lfPitchAndFamily = 0x40;
    font.setFaceName("Arial");
    return font;
}

PageStyles PageStyles::defaults()
{
    const LOGFONT book = defaultBookFont();
    LOGFONT small = book;
    small.lfHeight = 14;

    PageStyles styles;
    styles.bookPage = {rgb(249, 181, 249), rgb(50, 128, 23), book};
    styles.notePage = {rgb(255, 122, 122), rgb(122, 255, 122), book};
    styles.bookmarkBackground = rgb(255, 122, 122);
    styles.smallFont = small;
    styles.markColour = rgb(122, 255, 122);
    styles.tagColour = rgb(122, 255, 122);
    styles.tagFont = small;
    styles.normalFont = book;
    return styles;
}

CBookWindow::CBookWindow()
{
    for (int i = 0; i < 4; ++i)
        pages.push_back(std::make_unique<CBookPage>(PageKind::CoverPage));
}
