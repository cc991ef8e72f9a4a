#include "views/TextCodec.h"

#include "book/CodePage.h"

#include <gtest/gtest.h>

namespace {

QString unicode(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(TextCodec, EveryCharacterOfSystemTextComesBackAsItsUnicode)
{
    const char* sample = "Straße café naïve señor — “quotes” ½ €5 かなカナ 한국어 😀 中文\r\n";
    const std::string bytes = codepage::fromUtf8(sample);
    EXPECT_EQ(fromCodePage(bytes), unicode(sample));
    // Twice: the second time from the decoded characters kept.
    EXPECT_EQ(fromCodePage(bytes), unicode(sample));
    EXPECT_EQ(fromCodePage("plain ASCII"), QString("plain ASCII"));
}

TEST(TextCodec, TextIsReadInTheCodePageItsFontNames)
{
    const std::string big5 = "\xC1\x63\xC5\xE9\xA4\xA4\xA4\xE5";  // 繁體中文
    EXPECT_EQ(fromCodePage(big5, codepage::forCharset(136)), unicode("繁體中文"));
    // The same bytes as GBK are other characters.
    EXPECT_NE(fromCodePage(big5, codepage::forCharset(134)), unicode("繁體中文"));
    EXPECT_EQ(fromCodePage("\x93\xfa\x96\x7b", codepage::forCharset(128)), unicode("日本"));
}

// Each character the layout counts is one decoded character: a byte that
// does not decode is U+FFFD alone and never takes the byte after it.
TEST(TextCodec, AByteThatDoesNotDecodeIsOneReplacementCharacter)
{
    const struct {
        const char* bytes;
        uint8_t charset;
        const char* shown;
    } cases[] = {
        {"ab\xB0\r\n", 134, "ab\uFFFD\r\n"},
        {"\xB0 cd", 0, "\uFFFD cd"},
        {"\x80\xFF", 0, "\uFFFD\uFFFD"},
        {"\xA4\x7F!", 136, "\uFFFD\x7F!"},  // a Big5 lead before DEL: DEL stays
        {"\xA4\r\n", 136, "\uFFFD\r\n"},
        {"\xB1\r\n", 128, "\uFF71\r\n"},  // Shift_JIS's half-width katakana are characters of one byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(fromCodePage(c.bytes, codepage::forCharset(c.charset)), unicode(c.shown)) << c.bytes;
}

TEST(TextCodec, TypedTextBecomesSystemTextWithoutLoss)
{
    const QString typed = unicode("한글 😀 ½ € 中文");
    const std::string bytes = toCodePage(typed);
    EXPECT_EQ(bytes, codepage::fromUtf8("한글 😀 ½ € 中文"));
    EXPECT_EQ(bytes.find('?'), std::string::npos);
    EXPECT_EQ(fromCodePage(bytes), typed);
    // A Big5 page takes Big5 back.
    EXPECT_EQ(toCodePage(unicode("繁體"), codepage::kBig5), "\xC1\x63\xC5\xE9");
}

}  // namespace
