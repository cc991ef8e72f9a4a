// A book slot of the document, and the texts kept to lay them out again.
#pragma once

#include "book/CBookPage.h"

#include <memory>
#include <string>
#include <vector>

using PageList = std::vector<std::unique_ptr<CBookPage>>;

// A text imported in the current opening, kept with the pages made from it so
// it can be re-read in another encoding.
struct TextSource {
    std::string bytes;             // the raw text as read
    // What opening found the bytes to be in (an iconv name of book/CodePage.h,
    // or a web page's declared charset); empty for the system code page.
    std::string encoding;
    bool findsChapters = false;      // its chapter headings are index entries, laid out again too
    CBookPage* firstPage = nullptr;  // borrowed from the page sequence
    CBookPage* lastPage = nullptr;
};

class CBookWindow {
public:
    // A new window holds its four cover pages and nothing else.
    CBookWindow();

    std::vector<IndexEntry*> indexEntries;  // owned by their pages
    PageList pages;
    std::vector<std::unique_ptr<TextSource>> textSources;
    int32_t modified = 0;
    int32_t currentPage = 0;
};
