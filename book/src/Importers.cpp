#include "book/Importers.h"

#include "book/BookFile.h"
#include "book/CVersaleoDoc.h"
#include "book/TextLayout.h"

void registerStandardImporters(CVersaleoDoc& doc)
{
    doc.importers().add("vl", std::make_shared<bookfile::BookFileImporter>());
    doc.importers().add("txt", std::make_shared<layout::PlainTextImporter>());
}
