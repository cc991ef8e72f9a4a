#include "book/Importers.h"

#include "book/BookFile.h"
#include "book/CVersaleoDoc.h"
#include "book/Dbcs.h"
#include "book/TextLayout.h"
#include "book/import/CompiledHelp.h"
#include "book/import/EpubImporter.h"
#include "book/import/HtmlText.h"
#include "book/import/PdfText.h"
#include "book/import/WordText.h"

#include <algorithm>

void registerStandardImporters(CVersaleoDoc& doc)
{
    doc.importers().add("vl", std::make_shared<bookfile::BookFileImporter>());
    doc.importers().add("txt", std::make_shared<layout::PlainTextImporter>());
    auto web = std::make_shared<html::HtmlImporter>();
    doc.importers().add("htm", web);
    doc.importers().add("html", web);
    doc.importers().add("pdf", std::make_shared<pdf::PdfImporter>());
    // Word reads the documents of the other office programs as well.
    auto office = std::make_shared<word::WordImporter>();
    for (const char* extension : {"doc", "docx", "odt", "rtf", "wps", "wpd"})
        doc.importers().add(extension, office);
    doc.importers().add("epub", std::make_shared<epub::EpubImporter>());
    doc.importers().add("chm", std::make_shared<chm::CompiledHelpImporter>());
}

const std::vector<std::string>& standardExtensions()
{
    static const std::vector<std::string> known = [] {
        CVersaleoDoc doc;
        registerStandardImporters(doc);
        return doc.importers().extensions();
    }();
    return known;
}

bool isStandardExtension(std::string_view extension)
{
    const std::vector<std::string>& known = standardExtensions();
    return std::any_of(known.begin(), known.end(),
                       [extension](const std::string& k) { return dbcs::equalsNoCase(k, extension); });
}
