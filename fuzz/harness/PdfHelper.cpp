// The PDF helper's extraction through poppler, in process, and the reader's
// reading of what the helper prints.
#include "FuzzSupport.h"

#include "PdfPages.h"
#include "book/import/PdfRescue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::optional<std::string> pages = pdfPagesOfBytes(fuzz::bytesOf(data, size));
    if (pages)
        (void)pdf::paragraphsOfPages(*pages);
    return 0;
}
