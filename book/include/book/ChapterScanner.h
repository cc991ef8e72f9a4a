// Chapter headings in plain text: a short paragraph such as "第十二章 归来",
// "Chapter 7" or "PART IV: The Return" becomes an index entry of the page it
// starts on. Text is system code page text; characters are compared whole,
// so the trail byte of one character and the lead byte of the next never
// pass for a third.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace chapters {

// Longer paragraphs are prose, whatever they begin with.
inline constexpr size_t kMaxHeadingChars = 40;

// Whether one paragraph (without its line end) is a chapter heading.
bool isHeading(std::string_view paragraph);

struct Heading {
    size_t paragraph = 0;  // 0-based, counted as the layout counts line breaks
    std::string title;     // the paragraph without its surrounding blanks
};

// Every heading of a text, in order. Paragraphs end at "\r\n", a lone "\r"
// or a lone "\n", and the text at its first NUL, as in the layout.
std::vector<Heading> findHeadings(std::string_view text);

}  // namespace chapters
