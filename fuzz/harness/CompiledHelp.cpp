// The compiled-help helper's extraction, in process, into a scratch folder;
// then what the importer does with it: every page found, read as a web page.
#include "FuzzSupport.h"

#include "ChmExtraction.h"
#include "book/import/CompiledHelp.h"
#include "book/import/HtmlText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::writeScratch("help.chm", data, size);
    const std::string folder = fuzz::scratchFolder() + "/help";
    if (extractCompiledHelp(folder.c_str(), path.c_str()) > 0) {
        for (const std::string& page : chm::collectHtmlFiles(folder))
            (void)html::fileToSource(page);
    }
    fuzz::removeScratch(folder);
    return 0;
}
