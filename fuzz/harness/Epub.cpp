// An EPUB book opened by its importer from a file, laid out with fixed
// metrics.
#include "FuzzSupport.h"

#include "book/import/EpubImporter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::writeScratch("book.epub", data, size);
    CVersaleoDoc doc;
    fuzz::useFixedMetrics(doc);
    epub::EpubImporter importer;
    importer.import(doc, path);
    return 0;
}
