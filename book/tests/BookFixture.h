// A book with every kind of stored record, built the same way every time:
// laid-out text with chapter entries, a bookmark leaf, a note page, marks
// and tags, and a start page inside the book.
#pragma once

#include "book/CVersaleoDoc.h"
#include "book/TextLayout.h"

#include <string>

inline void buildFixtureBook(CVersaleoDoc& doc)
{
    std::string text;
    for (int chapter = 1; chapter <= 6; ++chapter) {
        text += "Chapter " + std::to_string(chapter) + "\r\n";
        for (int paragraph = 0; paragraph < 30; ++paragraph) {
            for (int word = 0; word < 25 + paragraph; ++word)
                text += word % 7 == 3 ? "\xD6\xD0\xCE\xC4 " : "garden-river ";
            text += "\r\n";
        }
    }
    FixedMeasurer measurer;
    layout::importText(doc, "/books/fixture.txt", layout::SourceText(text), measurer, true);
    CBookPage& page = *doc.pages[static_cast<size_t>(doc.firstContentPage() + 3)];
    page.marks.push_back(PageMark{rgb(250, 200, 0), 3, 17});
    auto tag = std::make_unique<PageTag>();
    std::string words = "a tag";
    std::copy(words.begin(), words.end(), tag->text.begin());
    tag->colour = rgb(10, 20, 30);
    tag->x = 0.25;
    tag->y = 0.75;
    tag->open = 1;
    page.tags.push_back(std::move(tag));
    PageList notes;
    for (int i = 0; i < 2; ++i) {
        auto note = doc.createPage(PageKind::NotePage);
        note->lines = {"a note\r\n", "its second line\r\n"};
        notes.push_back(std::move(note));
    }
    doc.insertPages(doc.firstContentPage() + 6, std::move(notes));
    doc.rebuildIndexPages();
    doc.numberBookmarks();
    doc.currentPage = doc.firstContentPage() + 5;
}
