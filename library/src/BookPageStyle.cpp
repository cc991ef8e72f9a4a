#include "library/BookPageStyle.h"

#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"
#include "book/Dbcs.h"

#include "views/FontMetrics.h"

#include <QFont>
#include <QFontInfo>

#include <algorithm>
#include <utility>

BookPageChoice startingChoice(const CVersaleoDoc& doc, bool applyAll)
{
    BookPageChoice choice;
    choice.paper = doc.styles.bookPage.background;
    choice.text = doc.styles.bookPage.textColour;
    choice.font = doc.styles.bookPage.font;
    choice.applyAll = applyAll;
    const int pages = doc.bookPageCount();
    choice.start = pages > 0 ? 1 : 0;
    choice.end = pages;
    return choice;
}

bool rangeMovable(const BookPageChoice& choice)
{
    return !choice.applyAll && choice.start != 0 && choice.end != 0;
}

LOGFONT fontWithFaceOf(const LOGFONT& current, const QFont& chosen)
{
    LOGFONT font = current;
    // A face this platform shows under another name ("Arial" as Liberation
    // Sans) keeps the name the book has, so the book reads the same elsewhere.
    if (chosen.family() != QFontInfo(fontFromLogFont(current)).family()) {
        // The face is stored in the code page, cut between characters.
        const std::string face = codepage::fromUtf8(chosen.family().toStdString());
        font.setFaceName(dbcs::cutCopy(face, sizeof font.lfFaceName - 1));
    }
    font.lfWeight = std::clamp(static_cast<int32_t>(chosen.weight()), 1, 1000);
    font.lfItalic = chosen.style() != QFont::StyleNormal ? 1 : 0;
    font.lfUnderline = chosen.underline() ? 1 : 0;
    font.lfStrikeOut = chosen.strikeOut() ? 1 : 0;
    return font;
}

int applyBookPageChoice(CVersaleoDoc& doc, const BookPageChoice& choice)
{
    const int bookPages = doc.bookPageCount();
    int start = choice.start, end = choice.end;
    if (choice.applyAll) {
        doc.styles.bookPage.background = choice.paper;
        doc.styles.bookPage.textColour = choice.text;
        doc.styles.bookPage.font = choice.font;
        start = 1;
        end = bookPages;
    }
    if (bookPages == 0)
        return 0;
    if (start > end)
        std::swap(start, end);
    start = std::max(start, 1);
    end = std::min(end, bookPages);
    int number = 0, changed = 0;
    for (const auto& page : doc.pages) {
        if (page->kind() != PageKind::BookPage)
            continue;
        ++number;
        if (number < start)
            continue;
        if (number > end)
            break;
        if (page->background == choice.paper && page->textColour == choice.text && page->font == choice.font &&
            page->pictureNumber == choice.picture)
            continue;
        page->background = choice.paper;
        page->textColour = choice.text;
        page->font = choice.font;
        page->pictureNumber = choice.picture;
        ++changed;
    }
    if (changed > 0)
        doc.modified = 1;
    return changed;
}

namespace {

bool followInPages(PageList& pages, int removed)
{
    bool changed = false;
    for (const auto& page : pages) {
        if (page->pictureNumber == removed) {
            page->pictureNumber = 0;
            changed = true;
        } else if (page->pictureNumber > removed) {
            --page->pictureNumber;
            changed = true;
        }
    }
    return changed;
}

}  // namespace

void followPictureRemoval(CVersaleoDoc& doc, int removed)
{
    if (removed < 1)
        return;
    // The windows are reached by making each the live one in turn; the live
    // one is the same again afterwards.
    const int shown = doc.activeWindow();
    for (int n = 1; n <= CVersaleoDoc::kWindowCount; ++n) {
        doc.switchWindow(n);
        if (followInPages(doc.pages, removed))
            doc.modified = 1;
    }
    doc.switchWindow(shown);
}
