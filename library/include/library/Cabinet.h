// The library's records: named cabinets holding up to 24 book entries, each
// entry naming the library's own copy of a document in the books folder.
// Names, creators, titles and authors are page text (the system code page);
// a copy's file name is a file-system name.
#pragma once

#include "book/WinTypes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CCabinetBook {
    COLORREF frameColor = rgb(100, 200, 100);
    std::string fileName;  // "book<n>.<extension>", no folder
    std::string bookName;
    std::string author;

    friend bool operator==(const CCabinetBook&, const CCabinetBook&) = default;
};

struct CCabinet {
    static constexpr size_t kMaxBooks = 24;

    std::string name;
    std::string creator;
    COLORREF borderColor = rgb(240, 106, 12);
    int32_t createYear = 0;
    int32_t createMonth = 0;
    int32_t createDay = 0;
    std::vector<CCabinetBook> books;

    friend bool operator==(const CCabinet&, const CCabinet&) = default;
};

// Whether two names of page text are the same name, ignoring case (in every
// script that has case, not only ASCII).
bool sameCabinetName(std::string_view a, std::string_view b);

// The cabinet dialog's test of a name: empty (blanks only), already taken by
// another cabinet, or fine. A name that equals, ignoring case, the name the
// dialog started with is that cabinet's own and always fine.
enum class CabinetNameCheck { Ok, Empty, Taken };
CabinetNameCheck checkCabinetName(const std::vector<CCabinet>& cabinets, std::string_view name,
                                  std::string_view startedWith);
