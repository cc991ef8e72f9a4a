#include "book/BookFile.h"

#include "book/ByteCursor.h"
#include "book/CVersaleoDoc.h"
#include "book/Dbcs.h"
#include "book/PosixIo.h"
#include "book/ZlibCodec.h"

#include "aidkern/CAKFileManager.h"
#include "aidkern/CAKPathManager.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace bookfile {
namespace {

constexpr int32_t kHeaderLength = 24;
constexpr int32_t kAttributesSize = 348;
constexpr int32_t kMarkSize = 28;
constexpr int32_t kTagSize = 344;
constexpr int32_t kEntrySize = 48;

int32_t linesSize(const CBookPage& page)
{
    size_t size = 0;
    for (const std::string& line : page.lines)
        size += 4 + line.size();
    return static_cast<int32_t>(size);
}

void writeAttributes(ByteWriter& out, const CBookPage& page)
{
    out.i32(3);
    out.i32(kAttributesSize);
    out.i32(1);
    out.i32(page.bookmarkColour);
    out.u32(page.background);
    out.u32(page.textColour);
    out.i32(page.font.lfHeight);
    out.i32(page.font.lfWidth);
    out.i32(page.font.lfEscapement);
    out.i32(page.font.lfOrientation);
    out.i32(page.font.lfWeight);
    const uint8_t flags[8] = {page.font.lfItalic,       page.font.lfUnderline,     page.font.lfStrikeOut,
                              page.font.lfCharSet,      page.font.lfOutPrecision,  page.font.lfClipPrecision,
                              page.font.lfQuality,      page.font.lfPitchAndFamily};
    out.bytes(flags, sizeof flags);
    out.bytes(page.font.lfFaceName, sizeof page.font.lfFaceName);
    // At most 259 bytes of text, cut where a character ends.
    out.field(dbcs::cutCopy(page.caption, kCaptionField - 1), kCaptionField);
    out.i32(page.kind() == PageKind::BookPage ? page.pictureNumber : 0);
    out.zeros(12);
}

void writeLines(ByteWriter& out, const CBookPage& page)
{
    out.i32(4);
    out.i32(linesSize(page));
    out.i32(static_cast<int32_t>(page.lines.size()));
    for (const std::string& line : page.lines) {
        out.i32(static_cast<int32_t>(line.size()));
        out.bytes(line.data(), line.size());
    }
}

void writeMarks(ByteWriter& out, const CBookPage& page)
{
    out.i32(5);
    out.i32(kMarkSize * static_cast<int32_t>(page.marks.size()));
    out.i32(static_cast<int32_t>(page.marks.size()));
    for (const PageMark& mark : page.marks) {
        out.u32(mark.colour);
        out.i32(mark.firstCell);
        out.i32(mark.lastCell);
        out.zeros(16);
    }
}

void writeTags(ByteWriter& out, const CBookPage& page)
{
    out.i32(6);
    out.i32(kTagSize * static_cast<int32_t>(page.tags.size()));
    out.i32(static_cast<int32_t>(page.tags.size()));
    for (const auto& tag : page.tags) {
        out.bytes(tag->text.data(), tag->text.size());
        out.u32(tag->colour);
        out.f64(tag->x);
        out.f64(tag->y);
        out.i32(tag->open);
        out.zeros(20);
    }
}

// The size of a page's record after its kind and size.
int32_t recordSize(const CBookPage& page)
{
    const int32_t lines = linesSize(page);
    switch (page.kind()) {
    case PageKind::BookPage:
        return 396 + lines + kMarkSize * static_cast<int32_t>(page.marks.size()) +
               kTagSize * static_cast<int32_t>(page.tags.size());
    case PageKind::NotePage:
        return 372 + lines;
    default:
        return 360;
    }
}

void writePage(ByteWriter& out, const CBookPage& page)
{
    out.i32(static_cast<int32_t>(page.kind()));
    out.i32(recordSize(page));
    writeAttributes(out, page);
    if (page.kind() == PageKind::BookmarkPage)
        return;
    writeLines(out, page);
    if (page.kind() == PageKind::NotePage)
        return;
    writeMarks(out, page);
    writeTags(out, page);
}

// The stored pages of the active window, in order.
template <typename Visit>
void forStoredPages(const CVersaleoDoc& doc, Visit visit)
{
    for (int i = doc.firstContentPage(); i <= doc.lastContentPage(); ++i) {
        const CBookPage& page = *doc.pages[static_cast<size_t>(i)];
        if (isStored(page.kind()))
            visit(page);
    }
}

// Bytes written at a time: the content is never held whole.
constexpr size_t kPieceBytes = 256 * 1024;

using ContentSink = std::function<bool(const char* data, size_t size)>;

// Writes the logical content to `sink` a piece at a time. Section sizes are
// worked out before their records are written.
bool writeContent(const CVersaleoDoc& doc, const ContentSink& sink)
{
    ByteWriter out;
    out.reserve(kPieceBytes + 64 * 1024);
    const auto flush = [&out, &sink] {
        const bool ok = out.size() == 0 || sink(out.buffer().data(), out.size());
        out.buffer().clear();
        return ok;
    };
    const int first = doc.firstContentPage();
    const int last = doc.lastContentPage();
    out.i32(kHeaderLength);
    out.u32(kVersionBits);
    const bool inContent = doc.currentPage >= first && doc.currentPage <= last;
    out.i32(inContent ? doc.currentPage - first : 0);
    out.zeros(12);

    out.i32(1);
    out.i32(kEntrySize * doc.indexEntryCount());
    out.i32(doc.indexEntryCount());
    for (const IndexEntry* entry : doc.indexEntries) {
        out.i32(entry->bookPageNumber);
        out.bytes(entry->title, sizeof entry->title);
        out.i32(entry->reserved);
        if (out.size() >= kPieceBytes && !flush())
            return false;
    }

    int64_t sectionSize = 0;
    int32_t records = 0;
    forStoredPages(doc, [&](const CBookPage& page) {
        sectionSize += 8 + int64_t{recordSize(page)};
        ++records;
    });
    out.i32(2);
    out.i32(static_cast<int32_t>(sectionSize));
    out.i32(records);
    bool ok = true;
    forStoredPages(doc, [&](const CBookPage& page) {
        writePage(out, page);
        if (ok && out.size() >= kPieceBytes)
            ok = flush();
    });
    return ok && flush();
}

// The size of the logical content.
uint64_t contentSize(const CVersaleoDoc& doc)
{
    uint64_t size = kHeaderLength + 12 + uint64_t{kEntrySize} * static_cast<uint64_t>(doc.indexEntryCount()) + 12;
    forStoredPages(doc, [&size](const CBookPage& page) { size += 8 + static_cast<uint64_t>(recordSize(page)); });
    return size;
}

// Writes the file bytes to `sink`: the first 8 logical bytes scrambled, the
// rest deflated. Nothing when the book could not be opened again.
bool writeFile(const CVersaleoDoc& doc, const ContentSink& sink)
{
    // Only what the reader takes back is written.
    if (!withinBounds(doc) || contentSize(doc) - 8 > zcodec::kMaxInflated)
        return false;
    zcodec::Deflater body(sink);
    size_t header = 0;
    const bool written = writeContent(doc, [&](const char* data, size_t size) {
        if (header < 8) {
            char scrambled[8];
            const size_t n = std::min<size_t>(8 - header, size);
            for (size_t i = 0; i < n; ++i)
                scrambled[i] = static_cast<char>(scramble(static_cast<uint8_t>(data[i])));
            if (!sink(scrambled, n))
                return false;
            header += n;
            data += n;
            size -= n;
        }
        return size == 0 || body.write(data, size);
    });
    return written && body.finish();
}

}  // namespace

std::string serialize(const CVersaleoDoc& doc)
{
    std::string content;
    content.reserve(static_cast<size_t>(contentSize(doc)));
    writeContent(doc, [&content](const char* data, size_t size) {
        content.append(data, size);
        return true;
    });
    return content;
}

std::optional<std::string> encode(const CVersaleoDoc& doc)
{
    std::string file;
    if (!writeFile(doc, [&file](const char* data, size_t size) {
            file.append(data, size);
            return true;
        }))
        return std::nullopt;
    return file;
}

bool save(CVersaleoDoc& doc, const std::string& path)
{
    if (!withinBounds(doc) || contentSize(doc) - 8 > zcodec::kMaxInflated)
        return false;
    std::string folder;
    CAKPathManager::AKGetFileFolder(path, &folder);
    if (folder.empty() && !path.empty() && path[0] == '/')
        folder = "/";
    std::string temporary;
    if (CAKFileManager::AKGetTempPath(folder.empty() ? "." : folder, 0, &temporary) != S_OK)
        return false;
    // A replaced book keeps its permissions.
    mode_t mode = 0644;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 0777;
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    // The compressed body goes to the temporary file as it is made.
    bool ok = writeFile(doc, [fd](const char* data, size_t size) { return writeAll(fd, data, size); });
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    doc.modified = 0;
    return true;
}

}  // namespace bookfile
