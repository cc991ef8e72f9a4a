#include "book/Importers.h"

#include "book/BookFile.h"
#include "book/CVersaleoDoc.h"
#include "book/TextLayout.h"

void registerStandardImporters(CVersaleoDoc& doc, std::shared_ptr<TextMeasurer> measurer)
{
    doc.importers().add("vl", std::make_shared<bookfile::BookFileImporter>());
    doc.importers().add("txt", std::make_shared<layout::PlainTextImporter>(std::move(measurer)));
}
