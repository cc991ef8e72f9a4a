// The text poppler finds in a PDF, page by page in the order the file shows
// it, as UTF-8 with a form feed after each page. Shared by the helper program
// and the fuzzing harness.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// None when the document cannot be loaded, is locked or has no page.
std::optional<std::string> pdfPagesOfFile(const std::string& path);
std::optional<std::string> pdfPagesOfBytes(std::string_view bytes);
