// "library.xml": the cabinets as an XML document in UTF-8, built and read
// through libxml2 and laid out by the program's pretty-printing stylesheet
// (libxslt). Only element and attribute names matter to the reader, never
// the layout. No file access here: bytes in, bytes out.
#pragma once

#include "library/Cabinet.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace libraryfile {

// Larger files are not read: no library of this program comes near it.
inline constexpr size_t kMaxFileSize = 32 * 1024 * 1024;

// The cabinets of a library document, in document order; nullopt when the
// bytes are not a library (not well-formed XML, or a document element other
// than "root"). Missing or non-numeric number attributes read as 0. Entries
// whose "FileName" could lead out of the books folder (a separator, "." or
// ".." as the whole name, or nothing at all) are dropped.
std::optional<std::vector<CCabinet>> parse(std::string_view bytes);

// The library document, pretty-printed: the declaration, then "root" with
// one "cabinet" per cabinet and one "book" per entry, attributes in the
// format's order, colours and dates in decimal. Empty when the stylesheet
// cannot be applied.
std::string serialize(const std::vector<CCabinet>& cabinets);

// The pretty-printing stylesheet, from the program's resources.
std::string prettyPrintStylesheet();
// Any XML document laid out by that stylesheet; empty on failure.
std::string prettyPrint(std::string_view xml);

// UTF-8 text with what XML 1.0 cannot hold left out (most control
// characters, broken sequences): written, it would make the file unreadable.
std::string xmlText(std::string_view utf8);

// Whether a "FileName" names a file inside the books folder.
bool isSafeFileName(std::string_view name);

}  // namespace libraryfile
