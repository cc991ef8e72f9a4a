// Page text is 8-bit text of the system code page (GB18030, a superset of
// GBK), kept as bytes exactly as stored in book files. A character is one
// ASCII byte, a lead byte 0x81-0xFE with a trail 0x40-0xFE (not 0x7F), or a
// lead byte followed by a digit, a second lead byte and a digit (GB18030's
// four-byte form; GBK never has a digit after a lead byte, so GBK text reads
// exactly as it always has). Any other high byte (0x80, 0xFF, a lead byte
// cut off or followed by a byte that cannot trail it) is a character of one
// byte that shows as U+FFFD. These helpers apply that rule and nothing else.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dbcs {

// A byte of 0x80 or above starts a character outside ASCII: one of two or
// four bytes, or a lone byte that does not decode. Either way it takes a cell.
constexpr bool isHighByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

constexpr bool isLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
constexpr bool isDigit(unsigned char c) { return c >= 0x30 && c <= 0x39; }

// Bytes of the character at pos: 1, 2 or 4.
constexpr size_t charLength(std::string_view text, size_t pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (!isLead(lead) || pos + 1 >= text.size())
        return 1;
    const auto trail = static_cast<unsigned char>(text[pos + 1]);
    if (trail >= 0x40 && trail != 0x7F && trail != 0xFF)
        return 2;
    if (isDigit(trail) && pos + 3 < text.size() && isLead(static_cast<unsigned char>(text[pos + 2])) &&
        isDigit(static_cast<unsigned char>(text[pos + 3])))
        return 4;
    return 1;
}

// Whether the character at pos is one of two or four bytes (Chinese and
// every other script beyond ASCII, drawn in a full-width cell).
constexpr bool isMultiByte(std::string_view text, size_t pos) { return charLength(text, pos) > 1; }

// Space, tab, carriage return and line feed take no character cell.
constexpr bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Characters that take a cell: blanks skipped, a multi-byte character one.
size_t cellCount(std::string_view line);

// Shortens text to at most n bytes without splitting a character.
void cutToLength(std::string& text, size_t n);
std::string cutCopy(std::string_view text, size_t n);

// Case-insensitive (ASCII) comparison, as the system compares file names.
int compareNoCase(std::string_view a, std::string_view b);
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace dbcs
