// Searching the text of a book's pages: the walk of "Next" and "Previous"
// over the book pages, character by character in the system code page. A
// hit starts and ends on character boundaries, so half of a double-byte or
// four-byte character never matches. Without match case only single-byte
// letters fold: the code page has no case for its multi-byte characters.
// No GUI here: the search dialog and the benchmark share it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CVersaleoDoc;

namespace booksearch {

// On a page before the current one "Previous" takes the hits that start
// before this many bytes; a page of more bytes is searched whole.
inline constexpr size_t kPreviousLimit = 2048;

// The lines joined without separators, with the length of each.
struct PageText {
    std::string text;
    std::vector<size_t> lineLengths;
};
PageText joinLines(const std::vector<std::string>& lines);

// The 1-based line holding the byte at position: the first line whose
// running length sum exceeds it (the last line for a position past the end).
int lineOfPosition(const std::vector<size_t>& lineLengths, size_t position);

// Single-byte letters A-Z lowered; bytes of multi-byte characters kept.
std::string foldCase(std::string_view text);

// The first occurrence starting at or after `from` (npos when none). With
// fold, the needle is folded already and the text's letters fold as compared.
size_t findFirst(std::string_view text, std::string_view needle, size_t from, bool fold = false);
// The last occurrence starting before `limit`, occurrences taken left to
// right, each search going on after the end of the one before (npos when none).
size_t findLastBefore(std::string_view text, std::string_view needle, size_t limit, bool fold = false);

struct Query {
    std::string text;  // code-page bytes
    bool matchCase = false;
    bool wideLines = false;  // one-page mode searches the wide lines
};

struct Hit {
    int page = -1;
    size_t position = 0;  // in the page's joined text
    int line = 0;         // 1-based, in the lines searched
};

// "Next": from `kept` on the current page, then from 0 on each later page.
std::optional<Hit> findNext(CVersaleoDoc& doc, const Query& query, int currentPage, size_t kept);
// "Previous": before `kept` on the current page, then on each earlier page
// down to page 0.
std::optional<Hit> findPrevious(CVersaleoDoc& doc, const Query& query, int currentPage, size_t kept);

}  // namespace booksearch
