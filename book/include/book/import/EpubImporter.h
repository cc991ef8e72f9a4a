// EPUB books: the spine's XHTML chapters in order, each its own text starting
// on a new page; one bookmark leaf with the book's title in front; one index
// entry per table-of-contents entry, on the first page of its chapter. A
// book locked by DRM is reported and left closed.
#pragma once

#include "book/Importer.h"

namespace epub {

class EpubImporter : public Importer {
public:
    bool import(CVersaleoDoc& doc, const std::string& path) override;
};

}  // namespace epub
