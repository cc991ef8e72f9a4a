#include "book/BookFile.h"

#include "book/ByteCursor.h"
#include "book/CVersaleoDoc.h"
#include "book/Dbcs.h"
#include "book/PosixIo.h"
#include "book/ZlibCodec.h"

#include "aidkern/CAKFileManager.h"
#include "aidkern/CAKPathManager.h"

#include <cerrno>
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

void writePage(ByteWriter& out, const CBookPage& page)
{
    const int32_t lines = linesSize(page);
    int32_t size = 0;
    switch (page.kind()) {
    case PageKind::BookPage:
        size = 396 + lines + kMarkSize * static_cast<int32_t>(page.marks.size()) +
               kTagSize * static_cast<int32_t>(page.tags.size());
        break;
    case PageKind::NotePage:
        size = 372 + lines;
        break;
    default:
        size = 360;
        break;
    }
    out.i32(static_cast<int32_t>(page.kind()));
    out.i32(size);
    writeAttributes(out, page);
    if (page.kind() == PageKind::BookmarkPage)
        return;
    writeLines(out, page);
    if (page.kind() == PageKind::NotePage)
        return;
    writeMarks(out, page);
    writeTags(out, page);
}

}  // namespace

std::string serialize(const CVersaleoDoc& doc)
{
    const int first = doc.firstContentPage();
    const int last = doc.lastContentPage();
    ByteWriter out;
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
    }

    // Section 2's size is known once its records are written.
    const size_t sectionStart = out.size();
    out.zeros(12);
    int32_t records = 0;
    for (int i = first; i <= last; ++i) {
        const CBookPage& page = *doc.pages[static_cast<size_t>(i)];
        if (!isStored(page.kind()))
            continue;
        writePage(out, page);
        ++records;
    }
    ByteWriter header;
    header.i32(2);
    header.i32(static_cast<int32_t>(out.size() - sectionStart - 12));
    header.i32(records);
    out.buffer().replace(sectionStart, 12, header.buffer());
    return std::move(out.buffer());
}

std::optional<std::string> encode(const CVersaleoDoc& doc)
{
    // Only what the reader takes back is written.
    if (!withinBounds(doc))
        return std::nullopt;
    std::string content = serialize(doc);
    if (content.size() - 8 > zcodec::kMaxInflated)
        return std::nullopt;
    auto body = zcodec::compress(content.data() + 8, content.size() - 8);
    if (!body)
        return std::nullopt;
    std::string file;
    file.reserve(8 + body->size());
    for (size_t i = 0; i < 8; ++i)
        file += static_cast<char>(scramble(static_cast<uint8_t>(content[i])));
    file += *body;
    return file;
}

bool save(CVersaleoDoc& doc, const std::string& path)
{
    const auto file = encode(doc);
    if (!file)
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
    bool ok = writeAll(fd, file->data(), file->size());
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
