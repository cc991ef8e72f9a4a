#include "book/CodePage.h"

#include "book/Dbcs.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <map>
#include <utility>

namespace codepage {
namespace {

bool isSingleByte(const char* name)
{
    return std::strncmp(name, "ISO-8859", 8) == 0 || std::strncmp(name, "CP125", 5) == 0 ||
           std::strncmp(name, "KOI8", 4) == 0;
}

bool isAscii(std::string_view bytes)
{
    size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if (word & 0x8080808080808080ULL)
            return false;
    }
    for (; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return false;
    }
    return true;
}

// Length of the well-formed UTF-8 sequence at the start of `bytes`, or 0.
size_t utf8Sequence(std::string_view bytes)
{
    const auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(0);
    if (lead < 0x80)
        return 1;
    size_t length;
    unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;  // shortest form only
        else if (lead == 0xED)
            high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;  // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (bytes.size() < length || at(1) < low || at(1) > high)
        return 0;
    for (size_t k = 2; k < length; ++k) {
        if ((at(k) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

// How many bytes of input to pass over after a sequence iconv refused: the
// whole character where the encoding says how long it is, so one bad
// character gives one replacement and the next good one survives.
size_t badLength(std::string_view rest, const char* from)
{
    const auto lead = static_cast<unsigned char>(rest[0]);
    if (same(from, kUtf8)) {
        const size_t claimed = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        size_t skip = 1;
        while (skip < claimed && skip < rest.size() && (static_cast<unsigned char>(rest[skip]) & 0xC0) == 0x80)
            ++skip;
        return skip;
    }
    if (isUtf16(from))
        return std::min<size_t>(2, rest.size());
    if (same(from, kSystem))
        return dbcs::charLength(rest, 0);
    if (isSingleByte(from))
        return 1;
    // The other double-byte code pages: a lead byte and a trail that could follow it.
    return lead >= 0x81 && rest.size() > 1 && static_cast<unsigned char>(rest[1]) >= 0x40 ? 2 : 1;
}

std::string_view replacementIn(const char* to)
{
    if (same(to, kSystem))
        return {"\x84\x31\xA4\x37", 4};
    if (same(to, kUtf8))
        return "\xEF\xBF\xBD";
    if (same(to, kUtf16Le))
        return {"\xFD\xFF", 2};
    if (same(to, kUtf16Be))
        return {"\xFF\xFD", 2};
    return "?";
}

// Conversion descriptors are opened once per thread and pair of encodings;
// each use starts from the initial state.
class Converters {
public:
    ~Converters()
    {
        for (auto& [names, cd] : m_open) {
            if (cd != kFailed)
                ::iconv_close(cd);
        }
    }
    iconv_t get(const char* to, const char* from)
    {
        auto [it, added] = m_open.try_emplace({to, from}, kFailed);
        if (added)
            it->second = ::iconv_open(to, from);
        if (it->second != kFailed)
            ::iconv(it->second, nullptr, nullptr, nullptr, nullptr);
        return it->second;
    }

    static inline const iconv_t kFailed = reinterpret_cast<iconv_t>(-1);

private:
    std::map<std::pair<std::string, std::string>, iconv_t> m_open;
};

std::string run(iconv_t cd, std::string_view input, const char* from, const char* to)
{
    const std::string_view replacement = replacementIn(to);
    std::string out;
    out.reserve(input.size() * 3 / 2 + 4);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (result == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // EILSEQ, or EINVAL for a sequence cut off at the end
            out += replacement;
            const size_t skip = std::min(inLeft, badLength(std::string_view(in, inLeft), from));
            in += skip;
            inLeft -= skip;
            ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    ::iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    return out;
}

struct Label {
    std::string_view label;
    const char* name;  // null: the system code page
};

constexpr Label kLabels[] = {
    {"utf-8", kUtf8}, {"utf8", kUtf8}, {"unicode-1-1-utf-8", kUtf8},
    // A page that says UTF-16 but was read as bytes is ASCII-compatible:
    // browsers take it as UTF-8, and so do we.
    {"utf-16", kUtf8}, {"utf-16le", kUtf8}, {"utf-16be", kUtf8}, {"unicode", kUtf8},
    {"gb2312", nullptr}, {"gbk", nullptr}, {"gb18030", nullptr}, {"gb_2312", nullptr}, {"gb_2312-80", nullptr},
    {"x-gbk", nullptr}, {"cp936", nullptr}, {"ms936", nullptr}, {"windows-936", nullptr}, {"chinese", nullptr},
    {"csgb2312", nullptr}, {"iso-ir-58", nullptr}, {"euc-cn", nullptr}, {"hz-gb-2312", nullptr},
    {"big5", kBig5}, {"cn-big5", kBig5}, {"csbig5", kBig5}, {"x-x-big5", kBig5}, {"cp950", kBig5},
    {"big5-hkscs", "BIG5-HKSCS"},
    {"shift_jis", kShiftJis}, {"shift-jis", kShiftJis}, {"sjis", kShiftJis}, {"x-sjis", kShiftJis},
    {"ms_kanji", kShiftJis}, {"ms932", kShiftJis}, {"windows-31j", kShiftJis}, {"csshiftjis", kShiftJis},
    {"cp932", kShiftJis},
    {"euc-jp", "EUC-JP"}, {"iso-2022-jp", "ISO-2022-JP"},
    {"euc-kr", "CP949"}, {"ks_c_5601-1987", "CP949"}, {"windows-949", "CP949"}, {"cp949", "CP949"},
    // Browsers read these as windows-1252, a superset.
    {"iso-8859-1", "CP1252"}, {"iso8859-1", "CP1252"}, {"latin1", "CP1252"}, {"l1", "CP1252"},
    {"us-ascii", "CP1252"}, {"ascii", "CP1252"}, {"windows-1252", "CP1252"}, {"cp1252", "CP1252"},
    {"iso-8859-2", "ISO-8859-2"}, {"iso-8859-3", "ISO-8859-3"}, {"iso-8859-4", "ISO-8859-4"},
    {"iso-8859-5", "ISO-8859-5"}, {"iso-8859-6", "ISO-8859-6"}, {"iso-8859-7", "ISO-8859-7"},
    {"iso-8859-8", "ISO-8859-8"}, {"iso-8859-9", "CP1254"}, {"iso-8859-10", "ISO-8859-10"},
    {"iso-8859-11", "ISO-8859-11"}, {"iso-8859-13", "ISO-8859-13"}, {"iso-8859-14", "ISO-8859-14"},
    {"iso-8859-15", "ISO-8859-15"}, {"iso-8859-16", "ISO-8859-16"},
    {"windows-1250", "CP1250"}, {"windows-1251", "CP1251"}, {"windows-1253", "CP1253"},
    {"windows-1254", "CP1254"}, {"windows-1255", "CP1255"}, {"windows-1256", "CP1256"},
    {"windows-1257", "CP1257"}, {"windows-1258", "CP1258"},
    {"cp1250", "CP1250"}, {"cp1251", "CP1251"}, {"cp1253", "CP1253"}, {"cp1254", "CP1254"},
    {"cp1255", "CP1255"}, {"cp1256", "CP1256"}, {"cp1257", "CP1257"}, {"cp1258", "CP1258"},
    {"koi8-r", "KOI8-R"}, {"koi8-u", "KOI8-U"},
};

}  // namespace

bool same(const char* a, const char* b)
{
    return a == b || (a && b && std::strcmp(a, b) == 0);
}

bool isUtf16(const char* name)
{
    return name && (same(name, kUtf16Le) || same(name, kUtf16Be));
}

bool isAsciiCompatible(const char* name)
{
    return !isUtf16(name) && !same(name, "ISO-2022-JP");
}

const char* forCharset(uint8_t charset)
{
    switch (charset) {
    case 136: return kBig5;
    case 128: return kShiftJis;
    default: return kSystem;
    }
}

std::string convert(std::string_view bytes, const char* from, const char* to)
{
    if (same(from, to) || (isAsciiCompatible(from) && isAsciiCompatible(to) && isAscii(bytes)))
        return std::string(bytes);
    thread_local Converters converters;
    const iconv_t cd = converters.get(to, from);
    if (cd == Converters::kFailed)
        return std::string(bytes);
    return run(cd, bytes, from, to);
}

std::string toUtf8(std::string_view bytes, const char* from)
{
    return convert(bytes, from, kUtf8);
}

std::string fromUtf8(std::string_view utf8, const char* to)
{
    return convert(utf8, kUtf8, to);
}

bool isUtf8(std::string_view bytes)
{
    for (size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            // Runs of ASCII go eight bytes at a time.
            if (i + 8 <= bytes.size() && isAscii(bytes.substr(i, 8)))
                i += 8;
            else
                ++i;
            continue;
        }
        const size_t length = utf8Sequence(bytes.substr(i));
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::string fromFileName(std::string_view name)
{
    return isUtf8(name) ? fromUtf8(name) : std::string(name);
}

const char* detect(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return kUtf8;
    if (bytes.starts_with("\xFF\xFE"))
        return kUtf16Le;
    if (bytes.starts_with("\xFE\xFF"))
        return kUtf16Be;
    return !isAscii(bytes) && isUtf8(bytes) ? kUtf8 : nullptr;
}

const char* fromLabel(std::string_view label, bool* known)
{
    std::string lower(label);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    for (const Label& entry : kLabels) {
        if (entry.label == lower) {
            if (known)
                *known = true;
            return entry.name;
        }
    }
    if (known)
        *known = false;
    return nullptr;
}

std::string toSystem(std::string_view bytes, const char* encoding)
{
    if (!encoding || same(encoding, kSystem))
        return std::string(bytes);
    if ((same(encoding, kUtf8) && bytes.starts_with("\xEF\xBB\xBF")))
        bytes.remove_prefix(3);
    else if ((same(encoding, kUtf16Le) && bytes.starts_with("\xFF\xFE")) ||
             (same(encoding, kUtf16Be) && bytes.starts_with("\xFE\xFF")))
        bytes.remove_prefix(2);
    return convert(bytes, encoding, kSystem);
}

}  // namespace codepage
