// The system code page of page text (GBK, code page 936) and conversions
// between it and UTF-8. Bytes that do not decode become U+FFFD (decoding) or
// '?' (encoding); nothing is dropped silently.
#pragma once

#include <string>
#include <string_view>

namespace codepage {

// iconv names of the code pages the program knows.
inline constexpr const char* kSystem = "CP936";
inline constexpr const char* kBig5 = "CP950";
inline constexpr const char* kShiftJis = "CP932";

std::string toUtf8(std::string_view bytes, const char* from = kSystem);
// Whether bytes are well-formed UTF-8.
bool isUtf8(std::string_view bytes);
// A file-system name as page text: UTF-8 names are converted, other bytes
// (names already in the code page) kept as they are.
std::string fromFileName(std::string_view name);
std::string fromUtf8(std::string_view utf8, const char* to = kSystem);

}  // namespace codepage
