// Moving to a book page by its number, as typed in the bottom bar's page box
// or the Turn To dialog: only the digits 0 to 9 are a number, 0 goes nowhere
// and a number past the last book page means the last one.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace pagejump {

// The number typed; nullopt when anything but 0-9 was typed (full-width
// digits and blanks included). Empty text is 0; a number too long for the
// book stays a very large one.
std::optional<int64_t> parseNumber(const QString& typed);

// The book page to move to for a typed number in a book of bookPages book
// pages: 1 to bookPages, or 0 for no move.
int targetBookPage(int64_t number, int bookPages);

}  // namespace pagejump
