#include "book/TextLayout.h"

#include "book/CVersaleoDoc.h"
#include "book/ChapterScanner.h"
#include "book/CodePage.h"
#include "book/Dbcs.h"

#include "aidkern/CAKPathManager.h"

#include <fstream>
#include <optional>
#include <sys/stat.h>

namespace layout {
namespace {

constexpr std::string_view kSpace = " ";

bool isWordByte(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-';
}

// Collects wrapped lines; the line buffer keeps its advance as it grows so
// every token is measured once.
class Wrapper {
public:
    Wrapper(TextMeasurer& measurer, int lineWidth, bool indent)
        : m_measurer(measurer), m_lineWidth(lineWidth), m_indent(indent)
    {
    }

    void add(std::string_view token)
    {
        for (;;) {
            if (m_line.empty() && token == kSpace)
                return;
            if (m_line.empty() && m_paragraphLines == 0 && m_indent)
                append(kIndent, m_measurer.advance(kIndent));
            const int64_t advance = m_measurer.advance(token);
            if (TextMeasurer::toPixels(advance) > m_lineWidth)
                return;
            if (token == kLineEnd) {
                m_line += kLineEnd;
                emit();
                m_paragraphLines = 0;
                return;
            }
            if (TextMeasurer::toPixels(m_advance + advance) <= m_lineWidth || m_line.empty()) {
                append(token, advance);
                return;
            }
            if (m_line.back() == ' ') {
                m_line.pop_back();
                m_advance -= m_measurer.advance(kSpace);
            }
            emit();
            ++m_paragraphLines;
            // the same token starts the next line
        }
    }

    std::vector<std::string> finish()
    {
        if (!m_line.empty() && m_line.back() != '\n') {
            m_line += kLineEnd;
            emit();
        }
        return std::move(m_lines);
    }

private:
    void append(std::string_view text, int64_t advance)
    {
        m_line += text;
        m_advance += advance;
    }
    void emit()
    {
        m_lines.push_back(std::move(m_line));
        m_line.clear();
        m_advance = 0;
    }

    TextMeasurer& m_measurer;
    int m_lineWidth;
    bool m_indent;
    std::string m_line;
    int64_t m_advance = 0;
    int m_paragraphLines = 0;
    std::vector<std::string> m_lines;
};

}  // namespace

bool Tokenizer::next(std::string_view& token)
{
    while (m_pos < m_text.size()) {
        const size_t start = m_pos;
        const char c = m_text[m_pos];
        if (dbcs::isHighByte(c)) {
            m_pos += dbcs::charLength(m_text, m_pos);
            token = m_text.substr(start, m_pos - start);
            return true;
        }
        if (isWordByte(c)) {
            while (m_pos < m_text.size() && m_pos - start < kMaxWordBytes && isWordByte(m_text[m_pos]))
                ++m_pos;
            token = m_text.substr(start, m_pos - start);
            return true;
        }
        if (c == '\r' || c == '\n') {
            m_pos += c == '\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n' ? 2 : 1;
            if (m_skip)
                continue;
            token = kLineEnd;
            return true;
        }
        if (c == ' ' || c == '\t') {
            while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t'))
                ++m_pos;
            if (m_skip)
                continue;
            token = kSpace;
            return true;
        }
        ++m_pos;
        token = m_text.substr(start, 1);
        return true;
    }
    return false;
}

std::vector<std::string_view> tokenize(std::string_view text, bool skipWhiteSpace)
{
    std::vector<std::string_view> tokens;
    Tokenizer tokenizer(text, skipWhiteSpace);
    for (std::string_view token; tokenizer.next(token);)
        tokens.push_back(token);
    return tokens;
}

std::vector<std::string> wrap(Tokenizer tokens, TextMeasurer& measurer, int lineWidth, bool indent)
{
    if (lineWidth < 100)
        return {};
    Wrapper wrapper(measurer, lineWidth, indent);
    for (std::string_view token; tokens.next(token);)
        wrapper.add(token);
    return wrapper.finish();
}

std::vector<std::string> wrap(std::string_view text, TextMeasurer& measurer, int lineWidth, bool indent)
{
    return wrap(Tokenizer(text, false), measurer, lineWidth, indent);
}

namespace {

// Bytes wrapped between two reports of progress: often enough for a dialog
// to answer at once, rarely enough to cost nothing.
constexpr size_t kReportEvery = 256 * 1024;

// The lines of a text, telling the opening how far the wrap has got; none
// when the reader stopped it.
std::optional<std::vector<std::string>> wrapReporting(CVersaleoDoc& doc, std::string_view text, TextMeasurer& measurer)
{
    if (doc.lineWidth < 100)
        return std::vector<std::string>();
    Wrapper wrapper(measurer, doc.lineWidth, true);
    Tokenizer tokens(text, false);
    size_t reportAt = kReportEvery;
    for (std::string_view token; tokens.next(token);) {
        wrapper.add(token);
        if (tokens.position() >= reportAt) {
            reportAt = tokens.position() + kReportEvery;
            if (!doc.reportProgress(static_cast<double>(tokens.position()) / static_cast<double>(text.size())))
                return std::nullopt;
        }
    }
    return wrapper.finish();
}

}  // namespace


bool layOutText(CVersaleoDoc& doc, int at, std::string_view text, TextSource* source, const std::string& caption,
                const std::string& title, TextMeasurer& measurer, bool findChapters)
{
    text = text.substr(0, text.find('\0'));
    // The headings first: their few small blocks then sit below the lines'
    // many, which the pages take over.
    const std::vector<chapters::Heading> headings =
        findChapters ? chapters::findHeadings(text) : std::vector<chapters::Heading>();
    std::optional<std::vector<std::string>> wrapped = wrapReporting(doc, text, measurer);
    if (!wrapped)
        return false;
    std::vector<std::string>& lines = *wrapped;
    auto nextHeading = headings.begin();
    size_t paragraph = 0;
    bool paragraphStart = true;

    PageList pages;
    if (!caption.empty()) {
        for (int i = 0; i < 2; ++i) {
            auto bookmark = doc.createPage(PageKind::BookmarkPage);
            bookmark->caption = caption;
            pages.push_back(std::move(bookmark));
        }
    }

    auto page = doc.createPage(PageKind::BookPage);
    if (source)
        source->firstPage = page.get();
    if (!title.empty()) {
        auto entry = std::make_unique<IndexEntry>();
        entry->setTitle(title);
        page->indexEntries.push_back(std::move(entry));
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0 && i % kPageLines == 0) {
            pages.push_back(std::move(page));
            page = doc.createPage(PageKind::BookPage);
        }
        // A heading is a whole paragraph: it starts on the line after a line end.
        if (nextHeading != headings.end() && nextHeading->paragraph == paragraph && paragraphStart) {
            auto entry = std::make_unique<IndexEntry>();
            entry->setTitle(nextHeading->title);
            page->indexEntries.push_back(std::move(entry));
            ++nextHeading;
        }
        paragraphStart = lines[i].ends_with('\n');
        paragraph += paragraphStart ? 1 : 0;
        page->lines.push_back(std::move(lines[i]));
    }
    pages.push_back(std::move(page));
    if (pages.size() % 2 == 1)
        pages.push_back(doc.createPage(PageKind::BookPage));
    if (source)
        source->lastPage = pages.back().get();
    doc.insertPages(at, std::move(pages));
    doc.modified = 1;
    return true;
}

std::string readPlainText(const std::string& path)
{
    if (path.empty())
        return {};
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return {};
    const std::streamoff size = in.tellg();
    // Past a gigabyte it is not a book: refuse rather than exhaust memory.
    if (size <= 0 || size > (std::streamoff{1} << 30))
        return {};
    std::string text(static_cast<size_t>(size), '\0');
    in.seekg(0);
    if (!in.read(text.data(), size))
        return {};
    return text;
}

SourceText detectText(std::string bytes)
{
    const char* encoding = codepage::detect(bytes);
    if (codepage::isUtf16(encoding))
        return {codepage::convert(std::string_view(bytes).substr(2), encoding, codepage::kUtf8), codepage::kUtf8};
    return {std::move(bytes), encoding};
}

bool importText(CVersaleoDoc& doc, const std::string& path, SourceText text, TextMeasurer& measurer,
                bool findChapters)
{
    std::string name, title;
    CAKPathManager::AKGetFileName(path, &name);
    CAKPathManager::AKGetFileTitle(path, &title);
    // File names are UTF-8 here; captions and index titles are page text.
    name = codepage::fromFileName(name);
    title = codepage::fromFileName(title);
    const std::string caption = doc.needBookmark == 1 ? dbcs::cutCopy(title, 20) : std::string();
    const std::string indexTitle = doc.needIndex == 1 ? dbcs::cutCopy(name, IndexEntry::kImportLimit) : std::string();
    return importSource(doc, std::move(text), caption, indexTitle, measurer, findChapters) != nullptr;
}

TextSource* importSource(CVersaleoDoc& doc, SourceText text, const std::string& caption, const std::string& indexTitle,
                         TextMeasurer& measurer, bool findChapters)
{
    // Chapter entries belong to an index: none without the file's own entry.
    findChapters = findChapters && !indexTitle.empty();
    auto source = std::make_unique<TextSource>();
    source->findsChapters = findChapters;
    source->bytes = std::move(text.bytes);
    if (text.encoding)
        source->encoding = text.encoding;
    TextSource* kept = source.get();
    doc.textSources.push_back(std::move(source));
    if (!text.encoding)
        return layOutText(doc, doc.firstContentPage(), kept->bytes, kept, caption, indexTitle, measurer, findChapters)
                   ? kept
                   : nullptr;
    const std::string converted = codepage::toSystem(kept->bytes, text.encoding);
    // The converted text is system code page text. An Encoding command may
    // have left the book-page font reading Big5 or Shift_JIS; pages of this
    // text get the system's character set, or they would show as garbage.
    LOGFONT& font = doc.styles.bookPage.font;
    if (codepage::same(codepage::forCharset(font.lfCharSet), codepage::kSystem))
        return layOutText(doc, doc.firstContentPage(), converted, kept, caption, indexTitle, measurer, findChapters)
                   ? kept
                   : nullptr;
    const bool measuredInTheFont = &measurer == doc.bookMeasurer().get();
    const uint8_t charset = font.lfCharSet;
    font.lfCharSet = codepage::kGb2312Charset;
    const std::shared_ptr<TextMeasurer> systemMeasurer = doc.bookMeasurer();
    const bool laidOut = layOutText(doc, doc.firstContentPage(), converted, kept, caption, indexTitle,
                                    measuredInTheFont ? *systemMeasurer : measurer, findChapters);
    font.lfCharSet = charset;
    return laidOut ? kept : nullptr;
}

bool TextImporter::import(CVersaleoDoc& doc, const std::string& path)
{
    SourceText text = produceText(doc, path);
    // A helper program the reader stopped leaves nothing to lay out.
    if (!doc.reportProgress(0.0))
        return false;
    return importText(doc, path, std::move(text), *doc.bookMeasurer(), findsChapters(doc));
}

bool PlainTextImporter::findsChapters(const CVersaleoDoc& doc) const
{
    return doc.detectChapters == 1;
}

LineDrawing justifyLine(std::string_view text, int x, int y, int lineWidth, bool leftAlign, int lineHeight,
                        TextMeasurer& measurer)
{
    LineDrawing drawing;
    if (lineWidth < 1 || text.empty())
        return drawing;

    // Cells and runs are placed from exact advances (1/64 pixel) and rounded
    // once each, so neither a line nor a cell drifts by the rounding of its
    // neighbours.
    const int64_t spaceAdvance = measurer.advance(kSpace);
    const auto addCells = [&](std::string_view run, int64_t origin) {
        int64_t at = origin;
        for (size_t i = 0; i < run.size();) {
            const char c = run[i];
            if (c == '\r' || c == '\n')
                break;
            if (c == ' ' || c == '\t') {
                at += spaceAdvance;
                ++i;
                continue;
            }
            const size_t length = dbcs::charLength(run, i);
            const int64_t next = at + measurer.advance(run.substr(i, length));
            drawing.cells.push_back(Rect{TextMeasurer::toPixels(at), y, TextMeasurer::toPixels(next), y + lineHeight});
            at = next;
            i += length;
        }
    };
    const int64_t origin = static_cast<int64_t>(x) * TextMeasurer::kUnit;

    if (leftAlign || text.back() == '\n') {
        drawing.runs.push_back({x, text});
        addCells(text, origin);
        return drawing;
    }

    // Segments are the words between spaces; a double-byte character ends one.
    std::vector<std::string_view> segments;
    std::string packed;  // the line without its spaces
    size_t pos = 0;
    if (text[0] == ' ') {
        packed = kIndent;
        segments.push_back(kIndent.substr(0, 2));
        segments.push_back(kIndent.substr(2, 2));
        pos = std::min<size_t>(4, text.size());
    }
    size_t segmentStart = pos;
    const auto endSegment = [&](size_t end) {
        if (end > segmentStart)
            segments.push_back(text.substr(segmentStart, end - segmentStart));
    };
    while (pos < text.size()) {
        if (text[pos] == ' ') {
            endSegment(pos);
            segmentStart = ++pos;
            continue;
        }
        const size_t length = dbcs::charLength(text, pos);
        packed.append(text.substr(pos, length));
        pos += length;
        if (length > 1) {
            endSegment(pos);
            segmentStart = pos;
        }
    }
    endSegment(pos);

    if (segments.empty())
        return drawing;
    if (segments.size() == 1) {
        drawing.runs.push_back({x, text});
        addCells(text, origin);
        return drawing;
    }
    // The free space is shared out exactly and each word's start rounded once;
    // the last word is set against the right edge so the line ends on it.
    const int64_t free = static_cast<int64_t>(lineWidth) * TextMeasurer::kUnit - measurer.advance(packed);
    const int64_t gaps = static_cast<int64_t>(segments.size()) - 1;
    int64_t written = 0;  // advance of the words before segment k
    for (size_t k = 0; k < segments.size(); ++k) {
        const int64_t advance = measurer.advance(segments[k]);
        // For the last word this is exactly the right edge less its advance.
        const int64_t start = origin + written + free * static_cast<int64_t>(k) / gaps;
        const int drawnAt = k + 1 == segments.size() ? x + lineWidth - TextMeasurer::toPixels(advance)
                                                      : TextMeasurer::toPixels(start);
        drawing.runs.push_back({drawnAt, segments[k]});
        if (segments[k][0] != ' ')
            addCells(segments[k], start);
        written += advance;
    }
    return drawing;
}

}  // namespace layout
