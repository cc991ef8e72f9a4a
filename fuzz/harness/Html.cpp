// A web page opened as the reader opens it: read from its file, its encoding
// found (mark, declared charset, UTF-8 test), its text taken and laid out.
// The saved-page name is made from the same bytes as a title.
#include "FuzzSupport.h"

#include "book/TextLayout.h"
#include "book/import/HtmlText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::writeScratch("page.html", data, size);
    CVersaleoDoc doc;
    fuzz::useFixedMetrics(doc);
    layout::importSource(doc, html::fileToSource(path), "fuzz", "fuzz", *doc.bookMeasurer());
    (void)html::savedPageName(fuzz::bytesOf(data, size));
    return 0;
}
