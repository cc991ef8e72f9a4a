// Reading kept texts in another encoding, and converting them between Big5,
// GBK and GB2312: the Encoding commands. Every conversion works on a copy;
// the kept bytes of a text never change, so each command starts again from
// the text as it was read.
#pragma once

#include <cstdint>
#include <memory>

class CVersaleoDoc;

namespace encoding {

// A new NUL-terminated text owned by the caller.
using Text = std::unique_ptr<char[]>;

// Each takes a NUL-terminated text and gives a new one; null for null, and
// null when the conversion yields nothing.
Text utf8ToAnsi(const char* text);
Text big5ToGbk(const char* text);
Text gbkToBig5(const char* text);
Text traditionalToSimplified(const char* text);
Text simplifiedToTraditional(const char* text);
Text big5ToGb2312(const char* text);
Text gb2312ToBig5(const char* text);

// The Encoding commands: read as 0 GB2312, 1 Big5, 2 UTF-8, 3 ANSI,
// 4 Shift_JIS; convert 100 Big5 to GB2312, 101 Big5 to GBK, 102 GBK to
// GB2312, 103 GBK to Big5, 104 GB2312 to Big5, 105 GB2312 to GBK.
struct EncodingRow {
    int code;
    uint8_t charset;
    const char* face;  // in the system code page
    Text (*convert)(const char*);
    // For a conversion (codes 100 and up) of a text whose encoding opening
    // found: it starts from the text read into the system code page, so a
    // step from Big5 is already done; null when nothing is left to do.
    Text (*convertRead)(const char*);
};
const EncodingRow* findEncoding(int code);

// Lays every text source of the active window out again as `code` says;
// codes without a row change nothing.
void reencode(CVersaleoDoc& doc, int code);

}  // namespace encoding
