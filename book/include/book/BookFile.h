// The program's own book file (.vl): the content pages of the active window
// with their text, marks, tags, index entries and bookmark leaves, and the
// page the reader was on.
//
// Layout: the first 8 logical bytes are stored scrambled; from version 1.1 on
// the rest is one zlib stream, before it the rest is scrambled too. Every
// size, count and offset read from a file is checked against the bytes that
// are really there; a file that lies adds nothing.
#pragma once

#include "book/CBookPage.h"
#include "book/Importer.h"

#include <cstdint>
#include <optional>
#include <string>

class CVersaleoDoc;

namespace bookfile {

inline constexpr uint32_t kVersionBits = 0x3F8CCCCD;  // 1.1f
inline constexpr size_t kMaxFileSize = size_t{1} << 30;
inline constexpr size_t kCaptionField = 260;

// What a book may hold. A file past any of these is damaged, and is refused
// before anything is allocated for it: a small file must not exhaust memory.
// The bounds are absolute, never ratios to the file's size: a book the program
// saved compresses as well as its text does (a repeated line over a thousand
// to one), and it must always open again. The body inflates to at most
// zcodec::kMaxInflated bytes.
inline constexpr int32_t kMaxPages = 2'000'000;
inline constexpr int32_t kMaxIndexEntries = 2'000'000;
inline constexpr int32_t kMaxLinesPerPage = 52;
inline constexpr int32_t kMaxLineBytes = 64 * 1024;
inline constexpr int32_t kMaxMarksPerPage = 10'000;
inline constexpr int32_t kMaxTagsPerPage = 10'000;
// The font heights a page may store, in pixels either way.
inline constexpr int32_t kMaxFontHeight = 1000;

// The scrambling of a byte; its own inverse.
constexpr uint8_t scramble(uint8_t b)
{
    uint8_t out = 0;
    for (int k = 0; k < 8; ++k) {
        if (((b >> (k ^ 5)) & 1) == 0)
            out = static_cast<uint8_t>(out | (1u << k));
    }
    return out;
}

// The logical content of the active window (before scrambling and compressing).
std::string serialize(const CVersaleoDoc& doc);
// The file bytes: scrambled header and compressed body.
std::optional<std::string> encode(const CVersaleoDoc& doc);

// Writes the active window to `path` in one step: a temporary file beside it
// is written, flushed and renamed over it, so a failed save leaves the old
// file as it was. Clears the modified flag on success.
bool save(CVersaleoDoc& doc, const std::string& path);

// The kinds of page a book file holds; the others are rebuilt on opening.
constexpr bool isStored(PageKind kind)
{
    return kind == PageKind::BookPage || kind == PageKind::NotePage || kind == PageKind::BookmarkPage;
}

// Whether the reader takes every page and entry of the active window: a book
// past the bounds above is not saved, as it could never be opened again.
bool withinBounds(const CVersaleoDoc& doc);

enum class ReadResult {
    Read,        // the pages were added
    Unreadable,  // the file could not be opened or read: nothing added
    Damaged,     // the bytes are not a sound book file: nothing added
};

// Reads a book file into the active window at the start of its content and
// sets the page to open at. Nothing changes unless the whole file is sound.
ReadResult readFile(CVersaleoDoc& doc, const std::string& path);
ReadResult readContent(CVersaleoDoc& doc, const std::string& bytes);
// The same as 1 on success, 0 (nothing added) on failure.
int read(CVersaleoDoc& doc, const std::string& path);
int readBytes(CVersaleoDoc& doc, const std::string& bytes);

// Registers the reader for "vl"; a damaged file is reported with its name.
class BookFileImporter : public Importer {
public:
    bool import(CVersaleoDoc& doc, const std::string& path) override;
    bool readsBookFiles() const override { return true; }
};

}  // namespace bookfile
