// "favorite.xml" as read by the browser; what it reads must write and read
// back the same.
#include "FuzzSupport.h"

#include "library/Favourites.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<std::string> entries = favourites::parse(fuzz::bytesOf(data, size));
    if (entries.empty())
        return 0;
    if (favourites::parse(favourites::serialize(entries)) != entries)
        std::abort();
    return 0;
}
