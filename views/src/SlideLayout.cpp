#include "views/SlideLayout.h"

#include <Qt>

#include <algorithm>
#include <string>

namespace slide {
namespace {

bool isBookPage(const CVersaleoDoc& doc, int index)
{
    return doc.pages[static_cast<size_t>(index)]->kind() == PageKind::BookPage;
}

}  // namespace

int slideAtOrAfter(const CVersaleoDoc& doc, int from)
{
    for (int i = from < 0 ? 0 : from; i < doc.pageCount(); ++i) {
        if (isBookPage(doc, i))
            return i;
    }
    return -1;
}

int nextSlide(const CVersaleoDoc& doc)
{
    return slideAtOrAfter(doc, doc.currentPage + 1);
}

int previousSlide(const CVersaleoDoc& doc)
{
    // A current index past the end (a book that shrank) counts from the last page.
    for (int i = std::min(doc.currentPage, doc.pageCount()) - 1; i >= 0; --i) {
        if (isBookPage(doc, i))
            return i;
    }
    return -1;
}

Step stepForKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_PageUp:
    case Qt::Key_Left:
    case Qt::Key_Up: return Step::Back;
    case Qt::Key_PageDown:
    case Qt::Key_Right:
    case Qt::Key_Down: return Step::Forward;
    default: return Step::None;
    }
}

spread::TextLayout textLayout(int viewWidth, int viewHeight, int lineCount, bool narrowLines)
{
    // The slide's text area and rows follow the same rule as a page's, with
    // the whole view as the page.
    return spread::bookTextLayout({0, 0, viewWidth, viewHeight}, lineCount, !narrowLines);
}

std::string footerText(int bookPageNumber)
{
    return "- - - No." + std::to_string(bookPageNumber) + " - - -";
}

Rect footerBox(int viewWidth, int viewHeight, int textWidth, int textHeight)
{
    const int left = (viewWidth - textWidth) / 2;
    const int bottom = viewHeight - 5;
    return {left, bottom - textHeight, left + textWidth, bottom};
}

Rect draggedWindow(const Rect& start, Point pressed, Point now)
{
    const int dx = now.x - pressed.x, dy = now.y - pressed.y;
    return {start.left + dx, start.top + dy, start.right + dx, start.bottom + dy};
}

}  // namespace slide
