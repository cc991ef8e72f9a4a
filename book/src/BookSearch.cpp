#include "book/BookSearch.h"

#include "book/CVersaleoDoc.h"
#include "book/Dbcs.h"

#include <algorithm>
#include <cstring>

namespace booksearch {
namespace {

void joinInto(const std::vector<std::string>& lines, PageText& out)
{
    out.text.clear();
    out.lineLengths.clear();
    for (const std::string& line : lines) {
        out.text += line;
        out.lineLengths.push_back(line.size());
    }
}

void foldInto(std::string_view text, std::string& out)
{
    out.assign(text);
    for (size_t i = 0; i < out.size();) {
        const size_t length = dbcs::charLength(out, i);
        if (length == 1 && out[i] >= 'A' && out[i] <= 'Z')
            out[i] = static_cast<char>(out[i] - 'A' + 'a');
        i += length;
    }
}

constexpr char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether the needle stands at i (a character start) and ends on a character
// boundary of the text. Folding, the text's single-byte letters are lowered
// on the way (the needle comes folded): no copy of the page is made.
bool matchesAt(std::string_view text, std::string_view needle, size_t i, bool fold)
{
    if ((fold ? lowerAscii(text[i]) : text[i]) != needle[0])
        return false;
    if (!fold) {
        if (std::memcmp(text.data() + i, needle.data(), needle.size()) != 0)
            return false;
        const size_t end = i + needle.size();
        size_t j = i;
        while (j < end)
            j += dbcs::charLength(text, j);
        return j == end;
    }
    size_t k = 0;
    for (size_t j = i; k < needle.size();) {
        const size_t length = dbcs::charLength(text, j);
        if (k + length > needle.size())
            return false;
        if (length == 1) {
            if (lowerAscii(text[j]) != needle[k])
                return false;
        } else if (std::memcmp(text.data() + j, needle.data() + k, length) != 0) {
            return false;
        }
        j += length;
        k += length;
    }
    return true;
}

// Calls found(position) for each occurrence left to right, each search going
// on after the end of the one before, until found returns false.
template <typename F>
void forEachOccurrence(std::string_view text, std::string_view needle, size_t from, bool fold, F found)
{
    if (needle.empty() || needle.size() > text.size())
        return;
    const size_t lastStart = text.size() - needle.size();
    for (size_t i = 0; i <= lastStart;) {
        if (i >= from && matchesAt(text, needle, i, fold)) {
            if (!found(i))
                return;
            i += needle.size();
            continue;
        }
        i += dbcs::charLength(text, i);
    }
}

bool searchable(const CVersaleoDoc& doc, int page)
{
    return doc.pages[static_cast<size_t>(page)]->kind() == PageKind::BookPage;
}

// The page's lines joined, in the buffer given.
std::string_view pageText(CVersaleoDoc& doc, int page, const Query& query, PageText& joined)
{
    CBookPage& p = *doc.pages[static_cast<size_t>(page)];
    joinInto(query.wideLines ? p.wideLines() : p.lines, joined);
    return joined.text;
}

std::string needleOf(const Query& query)
{
    return query.matchCase ? query.text : foldCase(query.text);
}

}  // namespace

PageText joinLines(const std::vector<std::string>& lines)
{
    PageText joined;
    joinInto(lines, joined);
    return joined;
}

int lineOfPosition(const std::vector<size_t>& lineLengths, size_t position)
{
    size_t sum = 0;
    for (size_t i = 0; i < lineLengths.size(); ++i) {
        sum += lineLengths[i];
        if (sum > position)
            return static_cast<int>(i) + 1;
    }
    return static_cast<int>(lineLengths.size());
}

std::string foldCase(std::string_view text)
{
    std::string folded;
    foldInto(text, folded);
    return folded;
}

size_t findFirst(std::string_view text, std::string_view needle, size_t from, bool fold)
{
    size_t hit = std::string_view::npos;
    forEachOccurrence(text, needle, from, fold, [&hit](size_t at) {
        hit = at;
        return false;
    });
    return hit;
}

size_t findLastBefore(std::string_view text, std::string_view needle, size_t limit, bool fold)
{
    size_t hit = std::string_view::npos;
    forEachOccurrence(text, needle, 0, fold, [&hit, limit](size_t at) {
        if (at >= limit)
            return false;
        hit = at;
        return true;
    });
    return hit;
}

std::optional<Hit> findNext(CVersaleoDoc& doc, const Query& query, int currentPage, size_t kept)
{
    if (query.text.empty() || doc.pageCount() == 0)
        return std::nullopt;
    const std::string needle = needleOf(query);
    PageText joined;
    for (int page = std::max(currentPage, 0); page < doc.pageCount(); ++page) {
        if (!searchable(doc, page))
            continue;
        const std::string_view text = pageText(doc, page, query, joined);
        const size_t at = findFirst(text, needle, page == currentPage ? kept : 0, !query.matchCase);
        if (at != std::string_view::npos)
            return Hit{page, at, lineOfPosition(joined.lineLengths, at)};
    }
    return std::nullopt;
}

std::optional<Hit> findPrevious(CVersaleoDoc& doc, const Query& query, int currentPage, size_t kept)
{
    if (query.text.empty() || doc.pageCount() == 0)
        return std::nullopt;
    const std::string needle = needleOf(query);
    PageText joined;
    for (int page = std::min(currentPage, doc.pageCount() - 1); page >= 0; --page) {
        if (!searchable(doc, page))
            continue;
        const std::string_view text = pageText(doc, page, query, joined);
        const size_t limit = page == currentPage ? kept : std::max(kPreviousLimit, text.size());
        const size_t at = findLastBefore(text, needle, limit, !query.matchCase);
        if (at != std::string_view::npos)
            return Hit{page, at, lineOfPosition(joined.lineLengths, at)};
    }
    return std::nullopt;
}

}  // namespace booksearch
