#include "book/TextLayout.h"

#include "book/CVersaleoDoc.h"
#include "book/ChapterScanner.h"
#include "book/CodePage.h"
#include "book/Dbcs.h"
#include "book/TextWrap.h"

#include "aidkern/CAKPathManager.h"

#include <fstream>
#include <sys/stat.h>

namespace layout {
namespace {

constexpr std::string_view kSpace = " ";

bool isWordByte(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-';
}

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
    LineWrapper wrapper(measurer, lineWidth, indent);
    for (std::string_view token; tokens.next(token);)
        wrapper.add(token);
    return wrapper.finish();
}

std::vector<std::string> wrap(std::string_view text, TextMeasurer& measurer, int lineWidth, bool indent)
{
    return wrap(Tokenizer(text, false), measurer, lineWidth, indent);
}

namespace {

// Cuts wrapped lines into book pages of kPageLines lines, added to `pages`
// in one pass over the lines in order, and anchors the chapter entries on the pages their
// headings start on.
class PageCutter {
public:
    PageCutter(CVersaleoDoc& doc, PageList& pages, std::unique_ptr<CBookPage> first,
               const std::vector<chapters::Heading>& headings)
        : m_doc(doc), m_pages(pages), m_page(std::move(first)), m_headings(headings), m_nextHeading(headings.begin())
    {
        m_page->lines.reserve(kPageLines);
    }

    void add(std::vector<std::string>&& lines)
    {
        for (std::string& line : lines) {
            if (m_lineCount > 0 && m_lineCount % kPageLines == 0) {
                m_pages.push_back(std::move(m_page));
                m_page = m_doc.createPage(PageKind::BookPage);
                m_page->lines.reserve(kPageLines);
            }
            // A heading is a whole paragraph: it starts on the line after a line end.
            if (m_nextHeading != m_headings.end() && m_nextHeading->paragraph == m_paragraph && m_paragraphStart) {
                auto entry = std::make_unique<IndexEntry>();
                entry->setTitle(m_nextHeading->title);
                m_page->indexEntries.push_back(std::move(entry));
                ++m_nextHeading;
            }
            m_paragraphStart = line.ends_with('\n');
            m_paragraph += m_paragraphStart ? 1 : 0;
            m_page->lines.push_back(std::move(line));
            ++m_lineCount;
        }
        lines.clear();
    }

    // Adds the last page.
    void finish()
    {
        m_pages.push_back(std::move(m_page));
    }

private:
    CVersaleoDoc& m_doc;
    PageList& m_pages;
    std::unique_ptr<CBookPage> m_page;
    const std::vector<chapters::Heading>& m_headings;
    std::vector<chapters::Heading>::const_iterator m_nextHeading;
    size_t m_lineCount = 0;
    size_t m_paragraph = 0;
    bool m_paragraphStart = true;
};

}  // namespace

bool layOutText(CVersaleoDoc& doc, int at, std::string_view text, TextSource* source, const std::string& caption,
                const std::string& title, TextMeasurer& measurer, bool findChapters)
{
    text = text.substr(0, text.find('\0'));
    // The headings first: their few small blocks then sit below the lines'
    // many, which the pages take over.
    const std::vector<chapters::Heading> headings =
        findChapters ? chapters::findHeadings(text) : std::vector<chapters::Heading>();

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
    PageCutter cutter(doc, pages, std::move(page), headings);
    const bool wrapped = wrapText(
        text, measurer, doc.lineWidth, true, [&cutter](std::vector<std::string>&& lines) { cutter.add(std::move(lines)); },
        [&doc](double done) { return doc.reportProgress(done); });
    if (!wrapped)
        return false;
    cutter.finish();
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
