// Text layout: an imported text becomes book pages. The text is broken into
// tokens, wrapped into display lines of the document's line width, cut into
// pages of 26 lines, and inserted with a bookmark leaf and an index entry in
// front when the settings ask for them. Also the justification of a drawn
// line, as a pure computation the painters follow.
#pragma once

#include "book/CBookWindow.h"
#include "book/Importer.h"
#include "book/TextMeasurer.h"
#include "book/WinTypes.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CVersaleoDoc;

namespace layout {

inline constexpr int kPageLines = 26;
inline constexpr std::string_view kIndent = "    ";
inline constexpr std::string_view kLineEnd = "\r\n";
// Word tokens are split at this length, so no token outgrows a line buffer.
inline constexpr size_t kMaxWordBytes = 259;

// Yields the tokens of a text one by one: a double-byte character, a word
// (letters and '-'), a line break (always "\r\n"), a run of blanks (always
// " "), or any other single byte. With skipWhiteSpace, no line breaks or
// blanks. Tokens view the text or static strings; the text must outlive them.
class Tokenizer {
public:
    Tokenizer(std::string_view text, bool skipWhiteSpace) : m_text(text), m_skip(skipWhiteSpace) {}
    bool next(std::string_view& token);
    // Bytes of the text read so far.
    size_t position() const { return m_pos; }

private:
    std::string_view m_text;
    size_t m_pos = 0;
    bool m_skip;
};

std::vector<std::string_view> tokenize(std::string_view text, bool skipWhiteSpace);

// Wraps tokens into display lines no wider than lineWidth; a paragraph's last
// line ends with "\r\n" and, with indent, its first line starts with four
// spaces. Nothing for a line width below 100.
std::vector<std::string> wrap(Tokenizer tokens, TextMeasurer& measurer, int lineWidth, bool indent);
std::vector<std::string> wrap(std::string_view text, TextMeasurer& measurer, int lineWidth, bool indent);

// Lays `text` out into new pages inserted at `at`: a bookmark leaf when
// caption is not empty, an index entry on the first book page when title is
// not empty, and a filler page to make whole leaves. With findChapters, an
// index entry for every chapter heading on the page it starts on, after the
// title's. Records the first and last new page in `source` when given. Text
// after a NUL byte is not laid out. False, and nothing inserted, when the
// reader stopped the opening meanwhile.
bool layOutText(CVersaleoDoc& doc, int at, std::string_view text, TextSource* source, const std::string& caption,
                const std::string& title, TextMeasurer& measurer, bool findChapters = false);

// The whole file; empty when the path is empty or cannot be read.
std::string readPlainText(const std::string& path);

// An imported text as it was read, and what it is written in. The bytes are
// kept as the text source, so the Encoding commands read them again exactly.
struct SourceText {
    SourceText() = default;
    SourceText(std::string text, const char* in = nullptr) : bytes(std::move(text)), encoding(in) {}
    SourceText(const char* text) : bytes(text) {}
    std::string bytes;
    const char* encoding = nullptr;  // an iconv name; null for the system code page
};

// A text file's bytes with the encoding found in them (codepage::detect).
// UTF-16 is kept as UTF-8, so every kept text is NUL-terminated bytes.
SourceText detectText(std::string bytes);

// The common end of every text importer: caption and index title from the
// file's name, a text source holding the text as read, and the layout of
// the text converted to the system code page at the start of the content.
// With findChapters, chapter headings become index entries too (when the
// index title is there). False when the reader stopped the opening.
bool importText(CVersaleoDoc& doc, const std::string& path, SourceText text, TextMeasurer& measurer,
                bool findChapters = false);

// Keeps `text` as a text source and lays it out, converted to the system code
// page, at the start of the content with the given caption and index title
// (either may be empty). The new source, or null when the reader stopped the
// opening.
TextSource* importSource(CVersaleoDoc& doc, SourceText text, const std::string& caption, const std::string& indexTitle,
                         TextMeasurer& measurer, bool findChapters = false);

// An importer whose format yields a text (plain text, web pages, documents).
class TextImporter : public Importer {
public:
    bool import(CVersaleoDoc& doc, const std::string& path) final;

protected:
    // The file's text and its encoding; empty when it cannot be read.
    // Messages go through the document's notifier.
    virtual SourceText produceText(CVersaleoDoc& doc, const std::string& path) = 0;
    // Whether chapter headings of the text become index entries.
    virtual bool findsChapters(const CVersaleoDoc&) const { return false; }
};

class PlainTextImporter : public TextImporter {
protected:
    SourceText produceText(CVersaleoDoc&, const std::string& path) override
    {
        return detectText(readPlainText(path));
    }
    bool findsChapters(const CVersaleoDoc& doc) const override;
};

// Where a justified line is drawn: each run of text at its x, and the
// rectangle of each of its character cells in order.
struct DrawnRun {
    int x = 0;
    std::string_view text;
};
struct LineDrawing {
    std::vector<DrawnRun> runs;
    std::vector<Rect> cells;
};

// A line drawn from (x, y): left-aligned when leftAlign or when it ends a
// paragraph, else its words spread so that it ends exactly at x + lineWidth.
LineDrawing justifyLine(std::string_view text, int x, int y, int lineWidth, bool leftAlign, int lineHeight,
                        TextMeasurer& measurer);

}  // namespace layout
