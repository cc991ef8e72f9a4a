#include "book/BookFile.h"

#include "book/ByteCursor.h"
#include "book/CVersaleoDoc.h"
#include "book/DocumentNotifier.h"
#include "book/ZlibCodec.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>

namespace bookfile {
namespace {

// What a read collects before anything touches the document.
struct Loaded {
    int32_t startPage = 0;
    std::vector<IndexEntry> entries;
    PageList pages;
};

// A count of records of `recordSize` bytes at least: within `bound` and
// within the bytes really there.
bool countFits(int32_t count, int32_t bound, size_t recordSize, const ByteReader& body)
{
    return count >= 0 && count <= bound && body.remaining() / recordSize >= static_cast<size_t>(count);
}

// A stored font height or width within the sane range, its sign kept.
int32_t saneFontSize(int32_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, -kMaxFontHeight, kMaxFontHeight));
}

bool readAttributes(ByteReader body, CBookPage& page)
{
    int32_t colourNumber = 0;
    uint32_t background = 0, text = 0;
    LOGFONT font;
    uint8_t flags[8];
    std::string caption;
    int32_t picture = 0;
    if (!body.readI32(colourNumber) || !body.readU32(background) || !body.readU32(text) ||
        !body.readI32(font.lfHeight) || !body.readI32(font.lfWidth) || !body.readI32(font.lfEscapement) ||
        !body.readI32(font.lfOrientation) || !body.readI32(font.lfWeight) || !body.readBytes(flags, sizeof flags) ||
        !body.readBytes(font.lfFaceName, sizeof font.lfFaceName) || !body.readString(caption, kCaptionField) ||
        !body.readI32(picture))
        return false;
    font.lfItalic = flags[0];
    font.lfUnderline = flags[1];
    font.lfStrikeOut = flags[2];
    font.lfCharSet = flags[3];
    font.lfOutPrecision = flags[4];
    font.lfClipPrecision = flags[5];
    font.lfQuality = flags[6];
    font.lfPitchAndFamily = flags[7];
    font.lfFaceName[sizeof font.lfFaceName - 1] = '\0';
    // Fonts are measured and painted at their stored size: keep it sane.
    font.lfHeight = saneFontSize(font.lfHeight);
    font.lfWidth = saneFontSize(font.lfWidth);
    font.lfWeight = std::clamp(font.lfWeight, 0, 1000);
    caption.resize(::strnlen(caption.c_str(), caption.size()));
    page.bookmarkColour = colourNumber;
    page.background = background;
    page.textColour = text;
    page.font = font;
    page.caption = std::move(caption);
    page.pictureNumber = page.kind() == PageKind::BookPage ? picture : 0;
    return true;
}

bool readLines(ByteReader body, int32_t count, CBookPage& page)
{
    if (!countFits(count, kMaxLinesPerPage, 4, body))
        return false;
    page.lines.reserve(page.lines.size() + static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        int32_t length = 0;
        std::string line;
        if (!body.readI32(length) || length < 0 || length > kMaxLineBytes ||
            !body.readString(line, static_cast<size_t>(length)))
            return false;
        page.lines.push_back(std::move(line));
    }
    return page.lines.size() <= static_cast<size_t>(kMaxLinesPerPage);
}

bool readMarks(ByteReader body, int32_t count, CBookPage& page)
{
    if (!countFits(count, kMaxMarksPerPage, 28, body) ||
        page.marks.size() + static_cast<size_t>(count) > static_cast<size_t>(kMaxMarksPerPage))
        return false;
    for (int32_t i = 0; i < count; ++i) {
        PageMark mark;
        if (!body.readU32(mark.colour) || !body.readI32(mark.firstCell) || !body.readI32(mark.lastCell) ||
            !body.skip(16))
            return false;
        page.marks.push_back(std::move(mark));
    }
    return true;
}

double fraction(double value)
{
    // A position is a fraction of the page; anything else would be drawn off it.
    return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
}

bool readTags(ByteReader body, int32_t count, CBookPage& page)
{
    if (!countFits(count, kMaxTagsPerPage, 344, body) ||
        page.tags.size() + static_cast<size_t>(count) > static_cast<size_t>(kMaxTagsPerPage))
        return false;
    for (int32_t i = 0; i < count; ++i) {
        auto tag = std::make_unique<PageTag>();
        if (!body.readBytes(tag->text.data(), tag->text.size()) || !body.readU32(tag->colour) ||
            !body.readDouble(tag->x) || !body.readDouble(tag->y) || !body.readI32(tag->open) || !body.skip(20))
            return false;
        tag->x = fraction(tag->x);
        tag->y = fraction(tag->y);
        tag->open = tag->open ? 1 : 0;
        page.tags.push_back(std::move(tag));
    }
    return true;
}

// The chunks of one page record. False when a size runs past its record or
// a bound is passed.
bool readChunks(ByteReader record, CBookPage& page)
{
    while (!record.atEnd()) {
        int32_t type = 0, size = 0, count = 0;
        ByteReader body(nullptr, 0);
        if (!record.readI32(type) || !record.readI32(size) || !record.readI32(count) || size < 0 ||
            !record.sub(static_cast<size_t>(size), body))
            return false;
        bool ok = true;
        switch (type) {
        case 3:
            ok = readAttributes(body, page);
            break;
        case 4:
            ok = readLines(body, count, page);
            break;
        case 5:
            ok = page.kind() != PageKind::BookPage || readMarks(body, count, page);
            break;
        case 6:
            ok = page.kind() != PageKind::BookPage || readTags(body, count, page);
            break;
        default:
            break;  // a later version's chunk
        }
        if (!ok)
            return false;
    }
    // A mark must cover cells the page has. Counting them walks every line,
    // so only pages with marks pay for it.
    if (page.marks.empty())
        return true;
    const auto cells = static_cast<int32_t>(page.cellCount());
    std::erase_if(page.marks, [cells](const PageMark& mark) {
        return mark.firstCell < 0 || mark.lastCell < mark.firstCell || mark.lastCell >= cells;
    });
    return true;
}

// The logical content after its first 8 bytes, read a piece at a time from
// the file's body, never the whole at once. Knows how many bytes the section
// being read has left.
class ContentStream {
public:
    using Read = std::function<std::optional<size_t>(char* data, size_t size)>;

    explicit ContentStream(Read read) : m_read(std::move(read)) {}

    // Whether the content ends here; false also when it cannot be read.
    bool atEnd(bool& ended)
    {
        char byte = 0;
        const std::optional<size_t> got = m_read(&byte, 1);
        if (!got)
            return false;
        ended = *got == 0;
        m_pending = !ended;
        m_byte = byte;
        return true;
    }
    // The next `size` bytes into `out`, grown only as the bytes really come,
    // so a size no file has costs nothing.
    bool takeInto(std::string& out, size_t size)
    {
        constexpr size_t kStep = 1 << 20;
        out.clear();
        if (m_pending && size > 0) {
            out += m_byte;
            m_pending = false;
        }
        while (out.size() < size) {
            const size_t have = out.size();
            const size_t piece = std::min(kStep, size - have);
            out.resize(have + piece);
            if (!take(out.data() + have, piece))
                return false;
        }
        return true;
    }
    bool skip(size_t size)
    {
        std::string scratch;
        while (size > 0) {
            const size_t piece = std::min<size_t>(size, 1 << 16);
            if (!takeInto(scratch, piece))
                return false;
            size -= piece;
        }
        return true;
    }
    bool readI32(int32_t& value)
    {
        std::string bytes;
        if (!takeInto(bytes, 4))
            return false;
        ByteReader reader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        return reader.readI32(value);
    }

private:
    // Exactly `size` bytes, or false.
    bool take(char* data, size_t size)
    {
        const std::optional<size_t> got = m_read(data, size);
        return got && *got == size;
    }

    Read m_read;
    bool m_pending = false;  // a byte atEnd looked at
    char m_byte = 0;
};

// Section 2: `count` page records in `size` bytes.
bool readPages(ContentStream& in, size_t size, int32_t count, const CVersaleoDoc& doc, Loaded& loaded)
{
    // Each record has at least its 8-byte header.
    if (count < 0 || count > kMaxPages || size / 8 < static_cast<size_t>(count) ||
        loaded.pages.size() + static_cast<size_t>(count) > static_cast<size_t>(kMaxPages))
        return false;
    std::string record;
    for (int32_t i = 0; i < count; ++i) {
        int32_t kind = 0, recordSize = 0;
        if (size < 8 || !in.readI32(kind) || !in.readI32(recordSize) || recordSize < 0 ||
            static_cast<size_t>(recordSize) > size - 8)
            return false;
        size -= 8 + static_cast<size_t>(recordSize);
        if (!in.takeInto(record, static_cast<size_t>(recordSize)))
            return false;
        const auto pageKind = static_cast<PageKind>(kind);
        if (!isStored(pageKind))
            continue;
        auto page = doc.createPage(pageKind);
        if (!readChunks(ByteReader(reinterpret_cast<const uint8_t*>(record.data()), record.size()), *page))
            return false;
        loaded.pages.push_back(std::move(page));
    }
    return in.skip(size);
}

// Section 1: `count` index entries in `size` bytes.
bool readEntries(ContentStream& in, size_t size, int32_t count, Loaded& loaded)
{
    constexpr size_t kEntryBytes = 48;
    if (count < 0 || count > kMaxIndexEntries || size / kEntryBytes < static_cast<size_t>(count) ||
        loaded.entries.size() + static_cast<size_t>(count) > static_cast<size_t>(kMaxIndexEntries))
        return false;
    std::string bytes;
    for (int32_t i = 0; i < count; ++i) {
        IndexEntry entry;
        if (!in.takeInto(bytes, kEntryBytes))
            return false;
        ByteReader body(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
        if (!body.readI32(entry.bookPageNumber) || !body.readBytes(entry.title, sizeof entry.title) ||
            !body.readI32(entry.reserved))
            return false;
        entry.title[sizeof entry.title - 1] = '\0';
        loaded.entries.push_back(entry);
    }
    return in.skip(size - static_cast<size_t>(count) * kEntryBytes);
}

// The content after the 8 bytes of `start`: the rest of the header, then
// sections to the end.
bool parse(const std::string& start, ContentStream& in, const CVersaleoDoc& doc, Loaded& loaded)
{
    std::string header = start;
    std::string rest;
    if (!in.takeInto(rest, 16))
        return false;
    header += rest;
    ByteReader head(reinterpret_cast<const uint8_t*>(header.data()), header.size());
    int32_t headerLength = 0;
    uint32_t version = 0;
    if (!head.readI32(headerLength) || headerLength != 24 || !head.readU32(version) ||
        !head.readI32(loaded.startPage))
        return false;
    for (;;) {
        bool ended = false;
        if (!in.atEnd(ended))
            return false;
        if (ended)
            return true;
        int32_t type = 0, size = 0, count = 0;
        if (!in.readI32(type) || !in.readI32(size) || !in.readI32(count) || size < 0)
            return false;
        bool ok = true;
        if (type == 1)
            ok = readEntries(in, static_cast<size_t>(size), count, loaded);
        else if (type == 2)
            ok = readPages(in, static_cast<size_t>(size), count, doc, loaded);
        else
            ok = in.skip(static_cast<size_t>(size));
        if (!ok)
            return false;
    }
}

// Anchors each entry on its book page; entries are in page order, and one
// whose page is not found ends the attaching.
void attachEntries(Loaded& loaded)
{
    size_t cursor = 0;
    int32_t number = 0;
    bool onBookPage = false;
    for (const IndexEntry& entry : loaded.entries) {
        while (!(onBookPage && number == entry.bookPageNumber)) {
            if (onBookPage)
                ++cursor;
            onBookPage = false;
            while (cursor < loaded.pages.size() && loaded.pages[cursor]->kind() != PageKind::BookPage)
                ++cursor;
            if (cursor >= loaded.pages.size())
                return;
            ++number;
            onBookPage = true;
        }
        loaded.pages[cursor]->indexEntries.push_back(std::make_unique<IndexEntry>(entry));
    }
}

float versionOf(const std::string& header)
{
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<uint32_t>(static_cast<uint8_t>(header[4 + static_cast<size_t>(i)])) << (8 * i);
    float version = 0;
    std::memcpy(&version, &bits, sizeof version);
    return version;
}

}  // namespace

bool withinBounds(const CVersaleoDoc& doc)
{
    if (doc.indexEntryCount() > kMaxIndexEntries)
        return false;
    size_t stored = 0;
    for (int i = doc.firstContentPage(); i <= doc.lastContentPage(); ++i) {
        const CBookPage& page = *doc.pages[static_cast<size_t>(i)];
        const PageKind kind = page.kind();
        if (!isStored(kind))
            continue;
        ++stored;
        if (kind == PageKind::BookmarkPage)
            continue;
        if (page.lines.size() > static_cast<size_t>(kMaxLinesPerPage) ||
            std::any_of(page.lines.begin(), page.lines.end(),
                        [](const std::string& line) { return line.size() > static_cast<size_t>(kMaxLineBytes); }))
            return false;
        if (kind == PageKind::BookPage && (page.marks.size() > static_cast<size_t>(kMaxMarksPerPage) ||
                                           page.tags.size() > static_cast<size_t>(kMaxTagsPerPage)))
            return false;
    }
    return stored <= static_cast<size_t>(kMaxPages);
}

namespace {

// Up to `size` bytes of the file; fewer only at its end; nullopt when it
// cannot be read.
using FileSource = std::function<std::optional<size_t>(char* data, size_t size)>;

// Fills `data` from `source` unless the file ends first.
std::optional<size_t> fill(const FileSource& source, char* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const std::optional<size_t> got = source(data + done, size - done);
        if (!got)
            return std::nullopt;
        if (*got == 0)
            break;
        done += *got;
    }
    return done;
}

ReadResult readSource(CVersaleoDoc& doc, const FileSource& source)
{
    std::string start(8, '\0');
    const std::optional<size_t> got = fill(source, start.data(), start.size());
    if (!got)
        return ReadResult::Unreadable;
    if (*got < 8)
        return ReadResult::Damaged;
    for (char& c : start)
        c = static_cast<char>(scramble(static_cast<uint8_t>(c)));

    // Before version 1.1 the body is scrambled, after it deflated: either
    // way it is read a piece at a time into the pages.
    std::optional<zcodec::Inflater> inflater;
    ContentStream::Read body;
    if (static_cast<double>(versionOf(start)) < 1.1) {
        body = [&source](char* data, size_t size) {
            const std::optional<size_t> read = fill(source, data, size);
            if (read) {
                for (size_t i = 0; i < *read; ++i)
                    data[i] = static_cast<char>(scramble(static_cast<uint8_t>(data[i])));
            }
            return read;
        };
    } else {
        inflater.emplace([&source](char* data, size_t size) { return source(data, size); });
        body = [&inflater](char* data, size_t size) { return inflater->read(data, size); };
    }
    ContentStream in(body);
    Loaded loaded;
    if (!parse(start, in, doc, loaded))
        return ReadResult::Damaged;
    attachEntries(loaded);
    // Pages are bound in leaves: a file with an odd number gets a blank back side.
    if (loaded.pages.size() % 2 == 1)
        loaded.pages.push_back(doc.createPage(PageKind::BookPage));
    doc.insertPages(doc.firstContentPage(), std::move(loaded.pages));
    doc.pageToOpenAt = loaded.startPage;
    doc.modified = 1;
    return ReadResult::Read;
}

}  // namespace

ReadResult readContent(CVersaleoDoc& doc, const std::string& bytes)
{
    size_t offset = 0;
    return readSource(doc, [&bytes, &offset](char* data, size_t size) -> std::optional<size_t> {
        const size_t n = std::min(size, bytes.size() - offset);
        std::memcpy(data, bytes.data() + offset, n);
        offset += n;
        return n;
    });
}

ReadResult readFile(CVersaleoDoc& doc, const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return ReadResult::Unreadable;
    const std::streamoff fileSize = in.tellg();
    if (fileSize < 0)
        return ReadResult::Unreadable;
    if (static_cast<uint64_t>(fileSize) > kMaxFileSize)
        return ReadResult::Damaged;
    in.seekg(0);
    bool failed = false;
    const ReadResult result = readSource(doc, [&in, &failed](char* data, size_t size) -> std::optional<size_t> {
        in.read(data, static_cast<std::streamsize>(size));
        if (in.bad()) {
            failed = true;
            return std::nullopt;
        }
        return static_cast<size_t>(in.gcount());
    });
    return failed ? ReadResult::Unreadable : result;
}

int readBytes(CVersaleoDoc& doc, const std::string& bytes)
{
    return readContent(doc, bytes) == ReadResult::Read ? 1 : 0;
}

int read(CVersaleoDoc& doc, const std::string& path)
{
    return readFile(doc, path) == ReadResult::Read ? 1 : 0;
}

bool BookFileImporter::import(CVersaleoDoc& doc, const std::string& path)
{
    const ReadResult result = readFile(doc, path);
    if (result == ReadResult::Damaged && doc.notifier())
        doc.notifier()->showFileMessage(DocMessage::DamagedFile, path);
    return result == ReadResult::Read;
}

}  // namespace bookfile
