// The program's own book file (.vl): the content pages of the active window
// with their text, marks, tags, index entries and bookmark leaves, and the
// page the reader was on.
//
// Layout: the first 8 logical bytes are stored scrambled; from version 1.1 on
// the rest is one zlib stream, before it the rest is scrambled too. Every
// size, count and offset read from a file is checked against the bytes that
// are really there; a file that lies adds nothing.
#pragma once

#include "book/Importer.h"

#include <cstdint>
#include <optional>
#include <string>

class CVersaleoDoc;

namespace bookfile {

inline constexpr uint32_t kVersionBits = 0x3F8CCCCD;  // 1.1f
inline constexpr size_t kMaxFileSize = size_t{1} << 30;
inline constexpr size_t kCaptionField = 260;

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

// Reads a book file into the active window at the start of its content and
// sets the page to open at. 1 on success, 0 (nothing added) on failure.
int read(CVersaleoDoc& doc, const std::string& path);
// The same for file bytes already in memory.
int readBytes(CVersaleoDoc& doc, const std::string& bytes);

// Registers the reader for "vl".
class BookFileImporter : public Importer {
public:
    bool import(CVersaleoDoc& doc, const std::string& path) override { return read(doc, path) == 1; }
    bool readsBookFiles() const override { return true; }
};

}  // namespace bookfile
