// PDF text the scanner cannot read (composite fonts, octal escapes, hex
// strings): when the scanner recovers nothing, or too little for the content
// it inflated, poppler reads the text instead, in a helper program with a
// time limit. The scanner stays the importer of every PDF it reads.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pdf {

inline constexpr const char* kRescueHelperName = "versaleo-pdftext";

// Whether the scanner's text is too little to be the file's: none at all, or
// less than one byte per 100 bytes of inflated content.
bool needsRescue(size_t textBytes, size_t inflatedBytes);

// poppler's output (UTF-8, a form feed after each page) as a UTF-8 text: a
// paragraph per line, and a page break as a paragraph break.
std::string paragraphsOfPages(std::string_view pages);

struct RescueOptions {
    std::string helper;  // empty: the helper beside the program
    std::chrono::milliseconds timeLimit = std::chrono::minutes(2);
    std::function<bool()> keepGoing;
};

// The UTF-8 text poppler reads from a PDF; none when the helper fails, finds
// no page, runs out of time or is stopped.
std::optional<std::string> rescueText(const std::string& path, const RescueOptions& options);

}  // namespace pdf
