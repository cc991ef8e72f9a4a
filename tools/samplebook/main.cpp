// versaleo-sample-book: writes a small showcase book with every kind of page
// and annotation, for looking at the painter and for the README's picture.
//
//   versaleo-sample-book OUT.vl
#include "book/BookFile.h"
#include "book/CVersaleoDoc.h"
#include "book/TextLayout.h"

#include <cstdio>
#include <string>

namespace {

const char* const kChapterOne =
    "The lamp was lit before the rain began. Anna opened the old atlas on the kitchen table and turned its heavy "
    "pages one by one, as her grandmother had done, slowly, listening to the paper.\n"
    "Every map had a note in the margin: a date, a name, sometimes only a small drawing of a bird. She read them "
    "aloud to the empty room, and the room seemed to listen.\n"
    "Outside, the river rose a little in the dark, and the garden smelled of wet earth and late roses. Somewhere "
    "a door closed, softly, the way doors close in houses that remember.\n"
    "She marked the page with a ribbon and went on reading until the candle was short and the window grey.\n";

const char* const kChapterTwo =
    "In the morning the atlas was still open at the same page. The bird in the margin had been drawn with great "
    "care: a swift, its wings like two thin crescents, and beside it a single word in faded ink.\n"
    "Anna copied the word into her notebook and closed the book gently, the way one closes a door on a sleeping "
    "child.\n";

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: versaleo-sample-book OUT.vl\n");
        return 2;
    }
    CVersaleoDoc doc;
    FixedMeasurer measurer;
    layout::importText(doc, "/books/Chapter Two.txt", kChapterTwo, measurer);
    layout::importText(doc, "/books/Chapter One.txt", std::string(kChapterOne) + kChapterOne + kChapterOne + kChapterOne + kChapterOne, measurer);

    PageList notes;
    auto note = doc.createPage(PageKind::NotePage);
    note->lines = {"Look up the word in the margin.", "Ask about the swift drawing.", "", "Read chapter two again."};
    notes.push_back(std::move(note));
    notes.push_back(doc.createPage(PageKind::NotePage));
    doc.insertPages(doc.lastContentPage() + 1, std::move(notes));
    doc.rebuildIndexPages();
    doc.numberBookmarks();

    CBookPage& first = *doc.pages[static_cast<size_t>(doc.pageOfBookPage(2))];
    first.marks.push_back(PageMark{doc.styles.markColour, 3, 14});
    first.marks.push_back(PageMark{rgb(255, 255, 100), 40, 55});
    auto tag = std::make_unique<PageTag>();
    tag->setLines({"Grandmother's atlas", "page 112"});
    tag->colour = rgb(255, 250, 160);
    tag->x = 0.55;
    tag->y = 0.62;
    first.tags.push_back(std::move(tag));
    first.setHighlightedLine(6);
    CBookPage& second = *doc.pages[static_cast<size_t>(doc.pageOfBookPage(3))];
    second.pictureNumber = 1;
    auto closed = std::make_unique<PageTag>();
    closed->x = 0.2;
    closed->y = 0.3;
    closed->open = 0;
    second.tags.push_back(std::move(closed));
    doc.currentPage = doc.pageOfBookPage(2);
    if (!bookfile::save(doc, argv[1])) {
        std::fprintf(stderr, "versaleo-sample-book: cannot save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
