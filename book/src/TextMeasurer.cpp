#include "book/TextMeasurer.h"

#include "book/Dbcs.h"

int64_t FixedMeasurer::advance(std::string_view bytes)
{
    int64_t total = 0;
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = dbcs::charLength(bytes, i);
        total += (length > 1 ? 16 : 8) * kUnit;
        i += length;
    }
    return total;
}
