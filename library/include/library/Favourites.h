// The browser's remembered addresses: the address-box rules of Go and the
// file "favorite.xml" beside the program (libxml2, laid out by the program's
// pretty-printing stylesheet). No browser engine and no widgets here: the
// rules are shared by the browser panel and the tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace favourites {

// Go trims the list to this many entries before appending.
inline constexpr size_t kMaxEntries = 30;
// Loading takes at most this many "href" values (empty ones count too).
inline constexpr size_t kLoadLimit = 29;
// Larger files are not read: a list of thirty addresses is far smaller.
inline constexpr size_t kMaxFileSize = 4 * 1024 * 1024;

// Whether an address is already covered: a remembered entry contains it or
// is contained in it (plain, case-sensitive substring tests).
bool isRemembered(const std::vector<std::string>& entries, std::string_view address);

// Go's rule: an empty or covered address changes nothing; otherwise, with
// kMaxEntries or more entries, the entry at index 1 goes first, then the
// address is appended. True when the address was added.
bool remember(std::vector<std::string>& entries, const std::string& address);

// The addresses of a favourites document: the values of the first kLoadLimit
// attributes named "href" anywhere in it, empty values skipped. Nothing when
// the bytes are not well-formed XML.
std::vector<std::string> parse(std::string_view bytes);

// The favourites document, pretty-printed: the declaration, then "root" with
// one "item" per entry, every entry in order. Empty when the stylesheet
// cannot be applied.
std::string serialize(const std::vector<std::string>& entries);

// The folder's "favorite.xml".
std::string filePath(const std::string& programFolder);
// The addresses of the file; nothing when it is missing or unreadable.
std::vector<std::string> load(const std::string& path);
// Replaces the file with the entries; false when it cannot be written.
bool save(const std::string& path, const std::vector<std::string>& entries);

}  // namespace favourites
