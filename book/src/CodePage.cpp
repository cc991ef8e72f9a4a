#include "book/CodePage.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace codepage {
namespace {

size_t characterLength(unsigned char lead, bool utf8)
{
    if (!utf8)
        return lead >= 0x80 ? 2 : 1;
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(::iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok())
            ::iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts everything; a sequence that does not decode, or has no
    // counterpart in the target, becomes `replacement` and the walk goes on
    // after that whole character.
    std::string run(std::string_view input, std::string_view replacement, bool utf8Input)
    {
        std::string out;
        if (!ok())
            return std::string(input);
        out.reserve(input.size() * 3 / 2 + 4);
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char buffer[4096];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t result = ::iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (result == static_cast<size_t>(-1)) {
                if (errno == E2BIG)
                    continue;
                // EILSEQ or EINVAL (a sequence cut off at the end)
                out += replacement;
                const size_t skip = std::min(inLeft, characterLength(static_cast<unsigned char>(*in), utf8Input));
                in += skip;
                inLeft -= skip;
                ::iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
            }
        }
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        ::iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        return out;
    }

private:
    iconv_t m_cd;
};

}  // namespace

std::string toUtf8(std::string_view bytes, const char* from)
{
    return Converter("UTF-8", from).run(bytes, "\xEF\xBF\xBD", false);
}

bool isUtf8(std::string_view bytes)
{
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > bytes.size())
            return false;
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

std::string fromFileName(std::string_view name)
{
    return isUtf8(name) ? fromUtf8(name) : std::string(name);
}

std::string fromUtf8(std::string_view utf8, const char* to)
{
    return Converter(to, "UTF-8").run(utf8, "?", true);
}

}  // namespace codepage
