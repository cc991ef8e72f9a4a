#include "book/Importers.h"

#include "book/BookFile.h"
#include "book/CVersaleoDoc.h"
#include "book/TextLayout.h"
#include "book/import/CompiledHelp.h"
#include "book/import/HtmlText.h"
#include "book/import/PdfText.h"
#include "book/import/WordText.h"

void registerStandardImporters(CVersaleoDoc& doc)
{
    doc.importers().add("vl", std::make_shared<bookfile::BookFileImporter>());
    doc.importers().add("txt", std::make_shared<layout::PlainTextImporter>());
    auto web = std::make_shared<html::HtmlImporter>();
    doc.importers().add("htm", web);
    doc.importers().add("html", web);
    doc.importers().add("pdf", std::make_shared<pdf::PdfImporter>());
    doc.importers().add("doc", std::make_shared<word::WordImporter>());
    doc.importers().add("chm", std::make_shared<chm::CompiledHelpImporter>());
}
