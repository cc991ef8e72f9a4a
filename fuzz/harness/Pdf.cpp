// A PDF read by the scanner the importer uses, its text laid out; the same
// bytes as the poppler helper's output, turned into paragraphs.
#include "FuzzSupport.h"

#include "book/TextLayout.h"
#include "book/import/PdfRescue.h"
#include "book/import/PdfText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes = fuzz::bytesOf(data, size);
    size_t inflated = 0;
    std::string text = pdf::extractText(bytes, pdf::kMaxText, &inflated);
    (void)pdf::needsRescue(text.size(), inflated);
    CVersaleoDoc doc;
    fuzz::useFixedMetrics(doc);
    layout::importSource(doc, layout::SourceText(std::move(text)), "fuzz", "fuzz", *doc.bookMeasurer());
    (void)pdf::paragraphsOfPages(bytes);
    return 0;
}
