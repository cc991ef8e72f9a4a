#include "book/import/HtmlText.h"

#include "book/CodePage.h"
#include "book/Dbcs.h"

#include <algorithm>
#include <cctype>

namespace html {
namespace {

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether text at pos begins with `word` (lower case), ignoring case.
bool startsWithNoCase(std::string_view text, size_t pos, std::string_view word)
{
    if (text.size() - pos < word.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (lower(text[pos + i]) != word[i])
            return false;
    }
    return true;
}

size_t findNoCase(std::string_view text, size_t from, std::string_view word)
{
    for (size_t pos = from; pos + word.size() <= text.size(); ++pos) {
        if (startsWithNoCase(text, pos, word))
            return pos;
    }
    return std::string_view::npos;
}

// Where `word` next occurs at or after a position, for positions that only
// grow: the answer found last stays good until the walk passes it, and "none"
// stays good for good, so the whole walk scans the text once per word.
class NextOccurrence {
public:
    NextOccurrence(std::string_view text, std::string_view word) : m_text(text), m_word(word) {}
    size_t from(size_t pos)
    {
        if (m_searched && (m_found == std::string_view::npos || m_found >= pos))
            return m_found;
        m_found = findNoCase(m_text, pos, m_word);
        m_searched = true;
        return m_found;
    }
    size_t length() const { return m_word.size(); }

private:
    std::string_view m_text;
    std::string_view m_word;
    size_t m_found = std::string_view::npos;
    bool m_searched = false;
};

struct Entity {
    std::string_view name;
    char byte;
};
constexpr Entity kEntities[] = {{"&lt;", '<'},    {"&gt;", '>'},    {"&amp;", '&'},
                                {"&quot;", '"'},  {"&apos;", '\''}, {"&nbsp;", ' '}};

bool isLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

}  // namespace

std::string toText(std::string_view input)
{
    input = input.substr(0, input.find('\0'));
    std::string out;
    out.reserve(input.size());
    NextOccurrence tagEnd(input, ">"), scriptEnd(input, "/script>"), styleEnd(input, "/style>");
    for (size_t i = 0; i < input.size();) {
        const char c = input[i];
        if (isLineBreak(c)) {
            // Source line breaks vanish with the white space that follows them.
            while (i < input.size() && (isLineBreak(input[i]) || input[i] == ' ' || input[i] == '\t'))
                ++i;
            continue;
        }
        if (c == '&') {
            bool decoded = false;
            for (const Entity& entity : kEntities) {
                if (startsWithNoCase(input, i, entity.name)) {
                    out += entity.byte;
                    i += entity.name.size();
                    decoded = true;
                    break;
                }
            }
            if (!decoded) {
                out += '&';
                ++i;
            }
            continue;
        }
        if (c == '<') {
            if (startsWithNoCase(input, i, "<p>")) {
                out += "\r\n";
                i += 3;
                continue;
            }
            if (startsWithNoCase(input, i, "<br>")) {
                out += "\r\n";
                i += 4;
                continue;
            }
            NextOccurrence* closing = &tagEnd;
            if (startsWithNoCase(input, i, "<script"))
                closing = &scriptEnd;
            else if (startsWithNoCase(input, i, "<style"))
                closing = &styleEnd;
            const size_t end = closing->from(i + 1);
            if (end == std::string_view::npos) {
                out += '<';
                ++i;
            } else {
                i = end + closing->length();
            }
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

const char* declaredEncoding(std::string_view html, bool* declared)
{
    *declared = false;
    // Declarations belong in the head; a page that has none near its start has none.
    html = html.substr(0, std::min<size_t>(html.size(), 64 * 1024));
    // Each tag is looked at once and the search goes on after it, so a page
    // of nested or unclosed tags is still read in one pass.
    for (size_t at = findNoCase(html, 0, "<meta"); at != std::string_view::npos;) {
        const size_t end = html.find('>', at);
        const std::string_view tag = html.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        at = end == std::string_view::npos ? end : findNoCase(html, end, "<meta");
        size_t pos = findNoCase(tag, 0, "charset");
        if (pos == std::string_view::npos)
            continue;
        pos += 7;
        while (pos < tag.size() && (tag[pos] == ' ' || tag[pos] == '\t'))
            ++pos;
        if (pos >= tag.size() || tag[pos] != '=')
            continue;
        ++pos;
        while (pos < tag.size() && (tag[pos] == ' ' || tag[pos] == '\t' || tag[pos] == '"' || tag[pos] == '\''))
            ++pos;
        size_t labelEnd = pos;
        while (labelEnd < tag.size() && (std::isalnum(static_cast<unsigned char>(tag[labelEnd])) ||
                                         tag[labelEnd] == '-' || tag[labelEnd] == '_' || tag[labelEnd] == '.' ||
                                         tag[labelEnd] == ':'))
            ++labelEnd;
        bool known = false;
        const char* encoding = codepage::fromLabel(tag.substr(pos, labelEnd - pos), &known);
        if (known) {
            *declared = true;
            return encoding;
        }
    }
    return nullptr;
}

layout::SourceText fileToSource(const std::string& path)
{
    std::string bytes = layout::readPlainText(path);
    const char* encoding = codepage::detect(bytes);
    if (codepage::isUtf16(encoding)) {
        bytes.erase(0, 2);  // the mark
    } else if (!bytes.starts_with("\xEF\xBB\xBF")) {
        bool declared = false;
        const char* named = declaredEncoding(bytes, &declared);
        if (declared)
            encoding = named;
    }
    // Tags are found in bytes: a page where a "<" may be part of another
    // character (UTF-16, ISO-2022-JP) is walked as UTF-8.
    if (encoding && !codepage::isAsciiCompatible(encoding)) {
        bytes = codepage::convert(bytes, encoding, codepage::kUtf8);
        encoding = codepage::kUtf8;
    }
    return {toText(bytes), encoding};
}

std::string fileToText(const std::string& path)
{
    const layout::SourceText source = fileToSource(path);
    return codepage::toSystem(source.bytes, source.encoding);
}

std::string savedPageName(std::string_view title)
{
    std::string name;
    for (size_t i = 0; i < title.size();) {
        const char c = title[i];
        if (dbcs::isHighByte(c)) {
            // Whole characters only; a byte that does not decode is dropped.
            const size_t length = dbcs::charLength(title, i);
            if (length > 1)
                name.append(title.substr(i, length));
            i += length;
            continue;
        }
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            name += c;
        ++i;
    }
    return (name.empty() ? std::string("tmp") : name) + ".html";
}

}  // namespace html
