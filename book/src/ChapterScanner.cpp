#include "book/ChapterScanner.h"

#include "book/Dbcs.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace chapters {
namespace {

// GB18030 forms of the characters a Chinese heading is made of.
constexpr std::string_view kDi = "\xB5\xDA";  // 第
// 章 节 回 卷 集 部 篇
constexpr std::array<std::string_view, 7> kKinds = {"\xD5\xC2", "\xBD\xDA", "\xBB\xD8", "\xBE\xED",
                                                    "\xBC\xAF", "\xB2\xBF", "\xC6\xAA"};
// 零 〇 一 二 三 四 五 六 七 八 九 十 百 千 万 两, and the banker's forms
// 壹 贰 叁 肆 伍 陆 柒 捌 玖 拾 佰 仟
constexpr std::array<std::string_view, 28> kChineseNumerals = {
    "\xC1\xE3", "\xA9\x96", "\xD2\xBB", "\xB6\xFE", "\xC8\xFD", "\xCB\xC4", "\xCE\xE5", "\xC1\xF9", "\xC6\xDF", "\xB0\xCB",
    "\xBE\xC5", "\xCA\xAE", "\xB0\xD9", "\xC7\xA7", "\xCD\xF2", "\xC1\xBD", "\xD2\xBC", "\xB7\xA1", "\xC8\xFE", "\xCB\xC1",
    "\xCE\xE9", "\xC2\xBD", "\xC6\xE2", "\xB0\xC6", "\xBE\xC1", "\xCA\xB0", "\xB0\xDB", "\xC7\xAA"};
constexpr std::string_view kIdeographicSpace = "\xA1\xA1";
// 。 ！ ？ ， ； … : a paragraph ending like a sentence is prose.
constexpr std::array<std::string_view, 6> kSentenceEnds = {"\xA1\xA3", "\xA3\xA1", "\xA3\xBF",
                                                           "\xA3\xAC", "\xA3\xBB", "\xA1\xAD"};
constexpr std::array<std::string_view, 6> kEnglishWords = {"Chapter", "CHAPTER", "Part", "PART", "Book", "BOOK"};
constexpr size_t kMaxNumberChars = 10;

std::string_view charAt(std::string_view text, size_t pos)
{
    return text.substr(pos, dbcs::charLength(text, pos));
}

template <size_t N>
bool isOneOf(std::string_view character, const std::array<std::string_view, N>& set)
{
    return std::find(set.begin(), set.end(), character) != set.end();
}

bool isFullWidthDigit(std::string_view c)
{
    return c.size() == 2 && c[0] == '\xA3' && static_cast<unsigned char>(c[1]) >= 0xB0 &&
           static_cast<unsigned char>(c[1]) <= 0xB9;
}

bool isNumeral(std::string_view c)
{
    return (c.size() == 1 && c[0] >= '0' && c[0] <= '9') || isFullWidthDigit(c) || isOneOf(c, kChineseNumerals);
}

bool isBlankChar(std::string_view c)
{
    return (c.size() == 1 && (c[0] == ' ' || c[0] == '\t')) || c == kIdeographicSpace;
}

std::string_view trim(std::string_view text)
{
    size_t start = 0;
    while (start < text.size() && isBlankChar(charAt(text, start)))
        start += dbcs::charLength(text, start);
    text.remove_prefix(start);
    // Backwards, a blank is only trusted where a walk from the start lands.
    size_t end = 0, lastNonBlank = 0;
    while (end < text.size()) {
        const size_t length = dbcs::charLength(text, end);
        if (!isBlankChar(text.substr(end, length)))
            lastNonBlank = end + length;
        end += length;
    }
    return text.substr(0, lastNonBlank);
}

// The character count, stopping once it passes `limit`.
size_t countChars(std::string_view text, size_t limit)
{
    size_t count = 0;
    for (size_t pos = 0; pos < text.size() && count <= limit; pos += dbcs::charLength(text, pos))
        ++count;
    return count;
}

std::string_view lastChar(std::string_view text)
{
    std::string_view last;
    for (size_t pos = 0; pos < text.size(); pos += dbcs::charLength(text, pos))
        last = charAt(text, pos);
    return last;
}

bool isChineseHeading(std::string_view line)
{
    if (charAt(line, 0) != kDi)
        return false;
    size_t pos = kDi.size();
    size_t numerals = 0;
    while (pos < line.size() && isNumeral(charAt(line, pos))) {
        pos += dbcs::charLength(line, pos);
        if (++numerals > kMaxNumberChars)
            return false;
    }
    if (numerals == 0 || pos >= line.size() || !isOneOf(charAt(line, pos), kKinds))
        return false;
    pos += dbcs::charLength(line, pos);
    // "第三章完了。" is a sentence that happens to start the paragraph.
    return pos == line.size() || !isOneOf(lastChar(line), kSentenceEnds);
}

bool isRomanLetter(char c, bool upper)
{
    return c != '\0' && std::strchr(upper ? "IVXLCDM" : "ivxlcdm", c) != nullptr;
}

// Whether letters of one case form a Roman numeral as written (thousands,
// hundreds, tens, units, each in its one form), so that "Part dim" or
// "Book civil" is no heading.
bool isRomanNumeral(std::string_view letters)
{
    std::string upper(letters);
    for (char& c : upper)
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    std::string_view rest = upper;
    const auto take = [&rest](std::initializer_list<std::string_view> forms) {
        // The longest form first: "CM" before "C".
        std::string_view best;
        for (const std::string_view form : forms)
            if (form.size() > best.size() && rest.starts_with(form))
                best = form;
        rest.remove_prefix(best.size());
    };
    while (rest.starts_with('M'))
        rest.remove_prefix(1);
    take({"C", "CC", "CCC", "CD", "D", "DC", "DCC", "DCCC", "CM"});
    take({"X", "XX", "XXX", "XL", "L", "LX", "LXX", "LXXX", "XC"});
    take({"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"});
    return rest.empty();
}

bool isEnglishHeading(std::string_view line)
{
    const auto word = std::find_if(kEnglishWords.begin(), kEnglishWords.end(),
                                   [line](std::string_view w) { return line.starts_with(w); });
    if (word == kEnglishWords.end())
        return false;
    size_t pos = word->size();
    const size_t afterWord = pos;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    if (pos == afterWord || pos >= line.size())
        return false;
    const size_t numberStart = pos;
    size_t numberChars = 0;
    if (line[pos] >= '0' && line[pos] <= '9') {
        while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9')
            ++pos, ++numberChars;
    } else if (isFullWidthDigit(charAt(line, pos))) {
        while (pos < line.size() && isFullWidthDigit(charAt(line, pos)))
            pos += 2, ++numberChars;
    } else {
        const bool upper = line[pos] >= 'A' && line[pos] <= 'Z';
        while (pos < line.size() && isRomanLetter(line[pos], upper))
            ++pos, ++numberChars;
        if (!isRomanNumeral(line.substr(numberStart, pos - numberStart)))
            return false;
    }
    if (numberChars == 0 || numberChars > kMaxNumberChars)
        return false;
    if (pos == line.size())
        return true;
    // "Chapter 3: Home", "Part II - Exile", "Book 1 The Road"; not "Part 2
    // of the plan" nor "Book Ideas" (the I of a word is no numeral).
    const char next = line[pos];
    if (next == ':' || next == '.' || next == '-' || next == ',' || next == ')' || dbcs::isHighByte(next))
        return true;
    if (next != ' ' && next != '\t')
        return false;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    return pos == line.size() || !(line[pos] >= 'a' && line[pos] <= 'z');
}

}  // namespace

bool isHeading(std::string_view paragraph)
{
    const std::string_view line = trim(paragraph);
    if (line.empty() || countChars(line, kMaxHeadingChars) > kMaxHeadingChars)
        return false;
    return isChineseHeading(line) || isEnglishHeading(line);
}

std::vector<Heading> findHeadings(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::vector<Heading> headings;
    size_t paragraph = 0;
    // The next carriage return and line feed, each found with memchr's speed
    // and looked for again only once passed.
    const auto find = [text](char c, size_t from) {
        const void* at = from < text.size() ? std::memchr(text.data() + from, c, text.size() - from) : nullptr;
        return at ? static_cast<size_t>(static_cast<const char*>(at) - text.data()) : text.size();
    };
    size_t nextCr = find('\r', 0), nextLf = find('\n', 0);
    for (size_t start = 0; start <= text.size();) {
        if (nextCr < start)
            nextCr = find('\r', start);
        if (nextLf < start)
            nextLf = find('\n', start);
        size_t end = std::min(nextCr, nextLf);
        const std::string_view line = text.substr(start, end - start);
        // Only a paragraph that starts like a heading is looked at closely.
        const size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos && first < line.size() &&
            (line[first] == 'C' || line[first] == 'P' || line[first] == 'B' || line[first] == '\xB5' ||
             line[first] == '\xA1') &&
            isHeading(line))
            headings.push_back({paragraph, std::string(trim(line))});
        if (end >= text.size())
            break;
        end += text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
        start = end;
        ++paragraph;
    }
    return headings;
}

}  // namespace chapters
