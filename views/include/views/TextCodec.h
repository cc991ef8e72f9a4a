// Page text (code-page bytes) as Qt text and back. Bytes are decoded one
// character at a time by the one character rule (book/Dbcs.h), each in the
// code page its font names, so every character the layout counts as a cell
// is drawn and measured as exactly that character: a byte that does not
// decode shows as U+FFFD and never takes the byte after it along.
#pragma once

#include "book/CodePage.h"

#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TextDecoder {
public:
    explicit TextDecoder(const char* codePage);

    // This thread's decoder for a code page; decoded characters are kept, so
    // a text costs a table lookup a character once its characters were seen.
    static TextDecoder& of(const char* codePage);

    const char* codePage() const { return m_codePage; }
    QString decode(std::string_view bytes);
    // Appends the one character `character` holds (1, 2 or 4 bytes, as
    // dbcs::charLength cuts them).
    void append(QString& out, std::string_view character);

private:
    QString convert(std::string_view character) const;

    const char* m_codePage;
    std::array<char16_t, 128> m_high{};  // bytes 0x80-0xFF on their own
    // Two-byte characters by lead * 256 + trail: up to two UTF-16 units, the
    // first in the low half; 0 until decoded. Allocated on the first one.
    std::vector<uint32_t> m_double;
    // Four-byte characters by their bytes, and two-byte ones of more units.
    std::unordered_map<uint32_t, QString> m_other;
};

// Page text of a code page (the system's unless a font names another) as Qt text.
QString fromCodePage(std::string_view bytes, const char* codePage = codepage::kSystem);
// Qt text as page text of a code page; what it cannot hold becomes U+FFFD's form.
std::string toCodePage(const QString& text, const char* codePage = codepage::kSystem);
