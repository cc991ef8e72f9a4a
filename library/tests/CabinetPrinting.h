// Readable cabinets and entries in test failures.
#pragma once

#include "library/Cabinet.h"

#include <ostream>

inline void PrintTo(const CCabinetBook& b, std::ostream* os)
{
    *os << "{" << b.fileName << " \"" << b.bookName << "\" by \"" << b.author << "\" colour " << b.frameColor << "}";
}

inline void PrintTo(const CCabinet& c, std::ostream* os)
{
    *os << "{\"" << c.name << "\" by \"" << c.creator << "\" colour " << c.borderColor << " " << c.createYear << "-"
        << c.createMonth << "-" << c.createDay << ":";
    for (const CCabinetBook& b : c.books) {
        *os << " ";
        PrintTo(b, os);
    }
    *os << "}";
}
