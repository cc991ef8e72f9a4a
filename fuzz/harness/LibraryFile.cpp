// "library.xml" as read by the cabinet manager; a library it reads must
// write and read back to the same cabinets.
#include "FuzzSupport.h"

#include "library/LibraryFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto cabinets = libraryfile::parse(fuzz::bytesOf(data, size));
    if (!cabinets)
        return 0;
    const std::string written = libraryfile::serialize(*cabinets);
    const auto again = libraryfile::parse(written);
    if (!again || again->size() != cabinets->size())
        std::abort();
    for (size_t i = 0; i < cabinets->size(); ++i) {
        if ((*again)[i].books.size() != (*cabinets)[i].books.size())
            std::abort();
    }
    return 0;
}
