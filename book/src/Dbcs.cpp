#include "book/Dbcs.h"

namespace dbcs {

size_t cellCount(std::string_view line)
{
    size_t count = 0;
    for (size_t i = 0; i < line.size();) {
        if (isHighByte(line[i])) {
            ++count;
            i += charLength(line, i);
        } else {
            if (!isBlank(line[i]))
                ++count;
            ++i;
        }
    }
    return count;
}

void cutToLength(std::string& text, size_t n)
{
    if (text.size() <= n)
        return;
    // A character that would end past n is left out whole.
    size_t pos = 0;
    while (pos < n) {
        const size_t next = pos + charLength(text, pos);
        if (next > n)
            break;
        pos = next;
    }
    text.resize(pos);
}

std::string cutCopy(std::string_view text, size_t n)
{
    // Enough bytes to see whole any character that starts before n.
    std::string copy(text.substr(0, n + 3));
    cutToLength(copy, n);
    return copy;
}

int compareNoCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) {
        return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    };
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int d = lower(a[i]) - lower(b[i]);
        if (d != 0)
            return d;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && compareNoCase(a, b) == 0;
}

}  // namespace dbcs
