// A plain text opened as the reader opens it: its encoding found, converted
// to the code page, laid out into pages with chapter headings as index
// entries; with the platform's fonts or with fixed metrics (FUZZ_FIXED_METRICS).
#include "FuzzSupport.h"

#include "book/TextLayout.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
#ifndef FUZZ_FIXED_METRICS
    fuzz::ensureGuiApplication();
#endif
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CVersaleoDoc doc;
#ifdef FUZZ_FIXED_METRICS
    fuzz::useFixedMetrics(doc);
#else
    fuzz::useRealMetrics(doc);
#endif
    layout::SourceText text = layout::detectText(std::string(fuzz::bytesOf(data, size)));
    layout::importSource(doc, std::move(text), "fuzz", "fuzz", *doc.bookMeasurer(), true);
    return 0;
}
