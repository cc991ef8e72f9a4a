// The text poppler finds in a PDF, page by page in the order the file shows
// it, as UTF-8 with a form feed after each page. Shared by the helper program
// and the fuzzing harness.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// None when the document cannot be loaded, is locked or has no page.
std::optional<std::string> pdfPagesOfFile(const std::string& path);
std::optional<std::string> pdfPagesOfBytes(std::string_view bytes);

// A file that makes poppler report this many faults has no text worth the
// wait: a damaged file poppler loops on reports hundreds of thousands a
// second, for minutes, and ordinary damaged files a few thousand.
inline constexpr size_t kPdfFaultLimit = 200000;

// poppler reports each fault it meets in a file, and on some damaged files it
// goes on meeting them, in a loop of its own, for minutes. After `limit`
// faults in one file `giveUp` is called; it must leave the process (the
// helper does), since poppler cannot be stopped from within. Until this is
// called, faults are only counted.
void setPdfFaultLimit(size_t limit, void (*giveUp)());
