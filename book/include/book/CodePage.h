// The system code page of page text (GB18030: GBK's bytes for every GBK
// character, and a four-byte form for every other Unicode character) and
// conversions between it, UTF-8 and the other encodings a text may come in.
// Bytes that do not decode become U+FFFD; nothing is dropped silently.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace codepage {

// iconv names of the code pages the program knows.
inline constexpr const char* kSystem = "GB18030";
inline constexpr const char* kBig5 = "CP950";
inline constexpr const char* kShiftJis = "CP932";
inline constexpr const char* kUtf8 = "UTF-8";
inline constexpr const char* kUtf16Le = "UTF-16LE";
inline constexpr const char* kUtf16Be = "UTF-16BE";

// Whether two encoding names are the same (names are compared, not pointers:
// every library has its own copy of the constants above).
bool same(const char* a, const char* b);
bool isUtf16(const char* name);
// Whether an ASCII byte is always that ASCII character in text of this
// encoding (not in UTF-16, nor in ISO-2022-JP, whose two-byte characters are
// made of ASCII bytes).
bool isAsciiCompatible(const char* name);

// The code page text of a font with this character set is shown in, as the
// platform's text drawing does: Big5 (136) and Shift_JIS (128) have their own;
// GB2312 (134), ANSI (0), default (1) and every other set use the system's.
const char* forCharset(uint8_t charset);
// The character set of a font whose text is system code page text.
inline constexpr uint8_t kGb2312Charset = 134;

// Converts between any two encodings iconv knows. A sequence that does not
// decode, or has no counterpart in the target, becomes U+FFFD (its GB18030
// form in the system code page); where the target cannot hold U+FFFD either
// (Big5, Shift_JIS) it becomes "?".
std::string convert(std::string_view bytes, const char* from, const char* to);
std::string toUtf8(std::string_view bytes, const char* from = kSystem);
std::string fromUtf8(std::string_view utf8, const char* to = kSystem);

// Whether bytes are well-formed UTF-8 (shortest forms, no surrogates, at most
// U+10FFFF).
bool isUtf8(std::string_view bytes);
// A file-system name as page text: UTF-8 names are converted, other bytes
// (names already in the code page) kept as they are.
std::string fromFileName(std::string_view name);

// The encoding a text file is in, for opening: a UTF-8 or UTF-16 byte-order
// mark, or well-formed UTF-8 holding at least one multi-byte sequence, name
// UTF-8 / UTF-16; anything else is the system code page (null).
const char* detect(std::string_view bytes);

// The iconv name of an encoding label as web pages declare it ("utf-8",
// "gb2312", "Big5", "Shift_JIS", "iso-8859-2", "windows-1251", ...); null
// for the system code page's own family (GB2312, GBK, GB18030) and for labels
// this program cannot read.
const char* fromLabel(std::string_view label, bool* known = nullptr);

// A text in `encoding` (null: the system code page) as system code page
// text, without its byte-order mark.
std::string toSystem(std::string_view bytes, const char* encoding);

}  // namespace codepage
