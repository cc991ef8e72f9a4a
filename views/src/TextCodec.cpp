#include "views/TextCodec.h"

#include "book/Dbcs.h"

#include <cstring>
#include <memory>

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr uint32_t kElsewhere = 0xFFFFFFFF;  // a two-byte character kept in m_other

uint32_t keyOf(std::string_view character)
{
    uint32_t key = 0;
    for (const char c : character)
        key = key << 8 | static_cast<unsigned char>(c);
    return key;
}

}  // namespace

TextDecoder::TextDecoder(const char* codePage) : m_codePage(codePage)
{
    m_high.fill(kReplacement);
    // In the system code page no high byte is a character on its own; other
    // code pages have some (Shift_JIS's half-width katakana).
    if (std::strcmp(codePage, codepage::kSystem) == 0)
        return;
    for (int c = 0x80; c < 0x100; ++c) {
        const char byte = static_cast<char>(c);
        const QString decoded = convert(std::string_view(&byte, 1));
        // A C1 control draws as nothing: show it as what it is, a byte that is no text.
        if (decoded.size() == 1 && decoded[0].unicode() >= 0xA0 && !decoded[0].isSurrogate())
            m_high[static_cast<size_t>(c - 0x80)] = decoded[0].unicode();
    }
}

TextDecoder& TextDecoder::of(const char* codePage)
{
    thread_local std::vector<std::unique_ptr<TextDecoder>> decoders;
    for (const auto& decoder : decoders) {
        if (decoder->m_codePage == codePage || std::strcmp(decoder->m_codePage, codePage) == 0)
            return *decoder;
    }
    return *decoders.emplace_back(std::make_unique<TextDecoder>(codePage));
}

QString TextDecoder::convert(std::string_view character) const
{
    QString decoded = QString::fromStdString(codepage::toUtf8(character, m_codePage));
    if (decoded.isEmpty())
        decoded = QChar(kReplacement);
    return decoded;
}

QString TextDecoder::decode(std::string_view bytes)
{
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (size_t i = 0; i < bytes.size();) {
        size_t ascii = i;
        while (ascii < bytes.size() && !dbcs::isHighByte(bytes[ascii]))
            ++ascii;
        if (ascii > i) {
            out.append(QLatin1String(bytes.data() + i, static_cast<qsizetype>(ascii - i)));
            i = ascii;
            continue;
        }
        const size_t length = dbcs::charLength(bytes, i);
        append(out, bytes.substr(i, length));
        i += length;
    }
    return out;
}

void TextDecoder::append(QString& out, std::string_view character)
{
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) {
        if (lead < 0x80)
            out.append(QChar(lead));
        else
            out.append(QChar(m_high[lead - 0x80u]));
        return;
    }
    if (character.size() > 4) {
        out.append(convert(character));
        return;
    }
    const uint32_t key = keyOf(character);
    if (character.size() == 2) {
        if (m_double.empty())
            m_double.assign(65536, 0);
        uint32_t& units = m_double[key];
        if (units == 0) {
            const QString decoded = convert(character);
            if (decoded.size() <= 2) {
                units = decoded[0].unicode() | (decoded.size() == 2 ? uint32_t{decoded[1].unicode()} << 16 : 0u);
            } else {
                units = kElsewhere;
                m_other.emplace(key, decoded);
            }
        }
        if (units != kElsewhere) {
            out.append(QChar(static_cast<char16_t>(units & 0xFFFF)));
            if (units >> 16)
                out.append(QChar(static_cast<char16_t>(units >> 16)));
            return;
        }
    }
    auto found = m_other.find(key);
    if (found == m_other.end())
        found = m_other.emplace(key, convert(character)).first;
    out.append(found->second);
}

QString fromCodePage(std::string_view bytes, const char* codePage)
{
    return TextDecoder::of(codePage).decode(bytes);
}

std::string toCodePage(const QString& text, const char* codePage)
{
    return codepage::fromUtf8(text.toStdString(), codePage);
}
