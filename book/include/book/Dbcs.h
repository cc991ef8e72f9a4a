// Page text is 8-bit text of the system code page, kept as bytes exactly as
// stored in book files: a byte of 0x80 or above starts a double-byte
// character. These helpers apply that rule and nothing else.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dbcs {

constexpr bool isLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Bytes of the character at pos: 2 for a lead byte with its trail, else 1.
constexpr size_t charLength(std::string_view text, size_t pos)
{
    return isLeadByte(text[pos]) && pos + 1 < text.size() ? 2 : 1;
}

// Space, tab, carriage return and line feed take no character cell.
constexpr bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Characters that take a cell: blanks skipped, a double-byte character one.
size_t cellCount(std::string_view line);

// Shortens text to at most n bytes without splitting a double-byte character.
void cutToLength(std::string& text, size_t n);
std::string cutCopy(std::string_view text, size_t n);

// Case-insensitive (ASCII) comparison, as the system compares file names.
int compareNoCase(std::string_view a, std::string_view b);
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace dbcs
