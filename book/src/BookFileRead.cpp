#include "book/BookFile.h"

#include "book/ByteCursor.h"
#include "book/CVersaleoDoc.h"
#include "book/DocumentNotifier.h"
#include "book/ZlibCodec.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

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
    // A mark must cover cells the page has.
    const auto cells = static_cast<int32_t>(page.cellCount());
    std::erase_if(page.marks, [cells](const PageMark& mark) {
        return mark.firstCell < 0 || mark.lastCell < mark.firstCell || mark.lastCell >= cells;
    });
    return true;
}

bool readPages(ByteReader body, int32_t count, const CVersaleoDoc& doc, Loaded& loaded)
{
    // Each record has at least its 8-byte header.
    if (!countFits(count, kMaxPages, 8, body) ||
        loaded.pages.size() + static_cast<size_t>(count) > static_cast<size_t>(kMaxPages))
        return false;
    for (int32_t i = 0; i < count; ++i) {
        int32_t kind = 0, size = 0;
        ByteReader record(nullptr, 0);
        if (!body.readI32(kind) || !body.readI32(size) || size < 0 || !body.sub(static_cast<size_t>(size), record))
            return false;
        const auto pageKind = static_cast<PageKind>(kind);
        if (!isStored(pageKind))
            continue;
        auto page = doc.createPage(pageKind);
        if (!readChunks(record, *page))
            return false;
        loaded.pages.push_back(std::move(page));
    }
    return true;
}

bool readEntries(ByteReader body, int32_t count, Loaded& loaded)
{
    if (!countFits(count, kMaxIndexEntries, 48, body) ||
        loaded.entries.size() + static_cast<size_t>(count) > static_cast<size_t>(kMaxIndexEntries))
        return false;
    loaded.entries.reserve(loaded.entries.size() + static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        IndexEntry entry;
        if (!body.readI32(entry.bookPageNumber) || !body.readBytes(entry.title, sizeof entry.title) ||
            !body.readI32(entry.reserved))
            return false;
        entry.title[sizeof entry.title - 1] = '\0';
        loaded.entries.push_back(entry);
    }
    return true;
}

bool parse(const std::string& content, const CVersaleoDoc& doc, Loaded& loaded)
{
    ByteReader in(reinterpret_cast<const uint8_t*>(content.data()), content.size());
    int32_t headerLength = 0;
    uint32_t version = 0;
    if (!in.readI32(headerLength) || headerLength != 24 || !in.readU32(version) || !in.readI32(loaded.startPage) ||
        !in.skip(12))
        return false;
    while (!in.atEnd()) {
        int32_t type = 0, size = 0, count = 0;
        ByteReader body(nullptr, 0);
        if (!in.readI32(type) || !in.readI32(size) || !in.readI32(count) || size < 0 ||
            !in.sub(static_cast<size_t>(size), body))
            return false;
        if (type == 1 && !readEntries(body, count, loaded))
            return false;
        if (type == 2 && !readPages(body, count, doc, loaded))
            return false;
    }
    return true;
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

ReadResult readContent(CVersaleoDoc& doc, const std::string& bytes)
{
    if (bytes.size() < 8)
        return ReadResult::Damaged;
    std::string content(8, '\0');
    for (size_t i = 0; i < 8; ++i)
        content[i] = static_cast<char>(scramble(static_cast<uint8_t>(bytes[i])));
    if (static_cast<double>(versionOf(content)) < 1.1) {
        content.reserve(bytes.size());
        for (size_t i = 8; i < bytes.size(); ++i)
            content += static_cast<char>(scramble(static_cast<uint8_t>(bytes[i])));
    } else {
        const auto body = zcodec::uncompress(bytes.data() + 8, bytes.size() - 8);
        if (!body)
            return ReadResult::Damaged;
        content += *body;
    }

    Loaded loaded;
    if (!parse(content, doc, loaded))
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

ReadResult readFile(CVersaleoDoc& doc, const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return ReadResult::Unreadable;
    const std::streamoff size = in.tellg();
    if (size < 0)
        return ReadResult::Unreadable;
    if (static_cast<uint64_t>(size) > kMaxFileSize)
        return ReadResult::Damaged;
    std::string bytes(static_cast<size_t>(size), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), size))
        return ReadResult::Unreadable;
    return readContent(doc, bytes);
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
