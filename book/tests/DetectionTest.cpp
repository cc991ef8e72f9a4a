// Texts are read in the encoding found in them: byte-order marks, UTF-8, a
// web page's declared charset; everything else is system code page text.
#include "DocFixtures.h"

#include "book/BookFile.h"
#include "book/CodePage.h"
#include "book/Encodings.h"
#include "book/Importers.h"
#include "book/import/HtmlText.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace {

// Every line fits a line of the page, so each comes back as one page line.
const std::vector<std::string> kSample = {
    "Straße café naïve señor",
    "— “quotes” ½ €5",
    "ひらがな カタカナ",
    "한국어 텍스트",
    "smile 😀 and 𝄞",
    "中文的书，繁體字",
};

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

TEST(Detect, MarksAndWellFormedUtf8)
{
    EXPECT_STREQ(codepage::detect("\xEF\xBB\xBF" "abc"), "UTF-8");
    EXPECT_STREQ(codepage::detect(std::string_view("\xFF\xFE" "a\0", 4)), "UTF-16LE");
    EXPECT_STREQ(codepage::detect("\xFE\xFF"), "UTF-16BE");
    EXPECT_STREQ(codepage::detect("plain and caf\xC3\xA9"), "UTF-8");
    EXPECT_STREQ(codepage::detect(joined(kSample)), "UTF-8");
    // pure ASCII needs no conversion; GBK is not UTF-8
    EXPECT_EQ(codepage::detect("plain ASCII\r\n"), nullptr);
    EXPECT_EQ(codepage::detect(codepage::fromUtf8("中文的书")), nullptr);
    EXPECT_EQ(codepage::detect(""), nullptr);
    // malformed UTF-8 is taken as code-page bytes
    for (const char* bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80",
                            "ok \xE4\xB8", "\xC3\x28"})
        EXPECT_EQ(codepage::detect(bad), nullptr) << testing::PrintToString(std::string(bad));
}

TEST(Detect, WebPageLabelsAndUnknownOnes)
{
    bool known = false;
    EXPECT_STREQ(codepage::fromLabel("UTF-8", &known), "UTF-8");
    EXPECT_TRUE(known);
    EXPECT_EQ(codepage::fromLabel("gb2312", &known), nullptr);  // the system code page itself
    EXPECT_TRUE(known);
    EXPECT_STREQ(codepage::fromLabel("Big5"), "CP950");
    EXPECT_STREQ(codepage::fromLabel("Shift_JIS"), "CP932");
    EXPECT_STREQ(codepage::fromLabel("ISO-8859-1"), "CP1252");
    EXPECT_STREQ(codepage::fromLabel("iso-8859-2"), "ISO-8859-2");
    EXPECT_STREQ(codepage::fromLabel("windows-1251"), "CP1251");
    EXPECT_EQ(codepage::fromLabel("x-made-up", &known), nullptr);
    EXPECT_FALSE(known);
    EXPECT_EQ(codepage::fromLabel("", &known), nullptr);
    EXPECT_FALSE(known);
}

class EncodingOnOpen : public testing::Test {
protected:
    EncodingOnOpen() { registerStandardImporters(doc); }

    std::string file(const std::string& name, const std::string& bytes)
    {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return folder / name;
    }
    // The lines of the book pages as Unicode, without indents and line ends.
    static std::vector<std::string> textOf(const CVersaleoDoc& book)
    {
        std::vector<std::string> lines;
        for (const auto& page : book.pages) {
            if (page->kind() != PageKind::BookPage)
                continue;
            for (std::string line : page->lines) {
                if (line.starts_with("    "))
                    line.erase(0, 4);
                while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                    line.pop_back();
                lines.push_back(codepage::toUtf8(line));
            }
        }
        return lines;
    }
    // Opens a path into a new document, saves it and opens the book.
    std::vector<std::string> openedAndSavedAgain(const std::string& path)
    {
        opened = std::make_unique<CVersaleoDoc>();
        registerStandardImporters(*opened);
        EXPECT_EQ(opened->openPath(path), 1);
        EXPECT_TRUE(bookfile::save(*opened, folder / "saved.vl"));
        CVersaleoDoc again;
        registerStandardImporters(again);
        EXPECT_EQ(again.openPath(folder / "saved.vl"), 1);
        return textOf(again);
    }

    TestFolder folder;
    CVersaleoDoc doc;
    std::unique_ptr<CVersaleoDoc> opened;
};

TEST_F(EncodingOnOpen, AUtf8TextComesBackWholeThroughABook)
{
    const std::string path = file("multilingual.txt", joined(kSample));
    EXPECT_EQ(openedAndSavedAgain(path), kSample);
    // what was read is kept as it was, for the Encoding commands
    ASSERT_EQ(opened->textSources.size(), 1u);
    EXPECT_EQ(opened->textSources[0]->bytes, joined(kSample));
}

TEST_F(EncodingOnOpen, MarkedUtf8AndUtf16TextsComeBackWhole)
{
    const std::string text = joined(kSample);
    EXPECT_EQ(openedAndSavedAgain(file("marked.txt", "\xEF\xBB\xBF" + text)), kSample);
    EXPECT_EQ(openedAndSavedAgain(file("le.txt", "\xFF\xFE" + codepage::fromUtf8(text, "UTF-16LE"))), kSample);
    EXPECT_EQ(openedAndSavedAgain(file("be.txt", "\xFE\xFF" + codepage::fromUtf8(text, "UTF-16BE"))), kSample);
}

TEST_F(EncodingOnOpen, AGbkTextIsLaidOutFromItsOwnBytes)
{
    const std::string gbk = codepage::fromUtf8("中文的书，第一章\n", "GBK");
    doc.openPath(file("gbk.txt", gbk));
    ASSERT_FALSE(textOf(doc).empty());
    EXPECT_EQ(doc.pages[static_cast<size_t>(doc.firstContentPage()) + 2]->lines[0], "    " + gbk.substr(0, gbk.size() - 1) + "\r\n");
}

TEST_F(EncodingOnOpen, ReadAsAnsiReadsTheOriginalBytesAgainAndUtf8MendsIt)
{
    const std::string path = file("multilingual.txt", joined(kSample));
    doc.openPath(path);
    encoding::reencode(doc, 3);
    // the UTF-8 bytes themselves, shown as code-page text
    EXPECT_NE(textOf(doc), kSample);
    bool rawLine = false;
    for (const auto& page : doc.pages) {
        for (const std::string& line : page->lines)
            rawLine = rawLine || line == "    " + kSample[3] + "\r\n";
    }
    EXPECT_TRUE(rawLine);
    encoding::reencode(doc, 2);
    EXPECT_EQ(textOf(doc), kSample);
}

// The lines of the book pages as Unicode, each read in the code page its font names.
std::vector<std::string> shownText(const CVersaleoDoc& book)
{
    std::vector<std::string> lines;
    for (const auto& page : book.pages) {
        if (page->kind() != PageKind::BookPage)
            continue;
        for (const std::string& line : page->lines)
            lines.push_back(codepage::toUtf8(line, codepage::forCharset(page->font.lfCharSet)));
    }
    return lines;
}

TEST_F(EncodingOnOpen, ConvertingAUtf8TextStartsFromTheCharactersItShows)
{
    const std::string simplified = "中文的书，简体字\n";
    CVersaleoDoc gbk;
    registerStandardImporters(gbk);
    gbk.openPath(file("gbk.txt", codepage::fromUtf8(simplified, "GBK")));
    doc.openPath(file("utf8.txt", simplified));
    ASSERT_EQ(shownText(doc), shownText(gbk));
    // each conversion from GBK gives what it gives for the same text in GBK
    for (const int code : {104, 103, 105, 102}) {
        encoding::reencode(gbk, code);
        encoding::reencode(doc, code);
        EXPECT_EQ(shownText(doc), shownText(gbk)) << code;
    }
    // and one from Big5 has nothing left to do once the text is read
    for (const int code : {101, 100}) {
        encoding::reencode(doc, code);
        EXPECT_EQ(shownText(doc)[0], "    中文的书，简体字\r\n") << code;
    }
    // the read-as commands still lay the bytes out as they are
    encoding::reencode(doc, 3);
    EXPECT_EQ(doc.pages[static_cast<size_t>(doc.firstContentPage()) + 2]->lines[0], "    中文的书，简体字\r\n");
}

TEST_F(EncodingOnOpen, ATextOpenedAfterReadingAsBig5IsShownInTheSystemCodePage)
{
    doc.openPath(file("big5.txt", codepage::fromUtf8("繁體中文\n", codepage::kBig5)));
    encoding::reencode(doc, 1);  // read as Big5: the book-page font now says Big5
    ASSERT_EQ(doc.styles.bookPage.font.lfCharSet, 136);
    doc.openPath(file("utf8.txt", "中文的书 😀\n"));
    // both texts read right, each in its own code page; the default stays Big5
    const std::vector<std::string> shown = shownText(doc);
    EXPECT_NE(std::find(shown.begin(), shown.end(), "    中文的书 😀\r\n"), shown.end());
    EXPECT_NE(std::find(shown.begin(), shown.end(), "    繁體中文\r\n"), shown.end());
    EXPECT_EQ(doc.styles.bookPage.font.lfCharSet, 136);
    // a code-page text is read as the reader said, as before
    doc.openPath(file("more-big5.txt", codepage::fromUtf8("書\n", codepage::kBig5)));
    EXPECT_NE(std::find(shown.begin(), shown.end(), "    繁體中文\r\n"), shown.end());
    const std::vector<std::string> after = shownText(doc);
    EXPECT_NE(std::find(after.begin(), after.end(), "    書\r\n"), after.end());
}

TEST_F(EncodingOnOpen, AWebPageDeclaredAsBig5ConvertsFromItsCharacters)
{
    const std::string page = file("big5.html", "<meta charset=big5><p>" + codepage::fromUtf8("繁體中文", codepage::kBig5));
    doc.openPath(page);
    encoding::reencode(doc, 101);  // BIG5 --> GBK
    EXPECT_EQ(textOf(doc)[1], "繁體中文");
    encoding::reencode(doc, 103);  // GBK --> BIG5
    EXPECT_EQ(shownText(doc)[1], "    繁體中文\r\n");
    encoding::reencode(doc, 1);  // read as Big5: the page's own bytes
    EXPECT_EQ(shownText(doc)[1], "    繁體中文\r\n");
}

TEST_F(EncodingOnOpen, WebPagesAreReadInTheirDeclaredCharset)
{
    const std::string body = "<p>中文的书 Straße";
    const std::string utf8Page = file("utf8.html", "<html><head><meta charset=\"utf-8\"></head><body>" + body);
    const std::string gbPage = file("gb.html",
                                    "<html><head><META http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
                                    "</head><body>" + codepage::fromUtf8("<p>中文的书", "GBK"));
    const std::string big5Page = file("big5.html", "<meta charset='big5'>" + codepage::fromUtf8("<p>書", codepage::kBig5));
    const std::string latin = file("latin.html", "<meta charset=iso-8859-1><p>caf\xE9");
    EXPECT_EQ(codepage::toUtf8(html::fileToText(utf8Page)), "\r\n中文的书 Straße");
    EXPECT_EQ(codepage::toUtf8(html::fileToText(gbPage)), "\r\n中文的书");
    EXPECT_EQ(codepage::toUtf8(html::fileToText(big5Page)), "\r\n書");
    EXPECT_EQ(codepage::toUtf8(html::fileToText(latin)), "\r\ncafé");
    // an undeclared page is tested for UTF-8 like a text; a made-up label changes nothing
    EXPECT_EQ(codepage::toUtf8(html::fileToText(file("bare.html", body))), "\r\n中文的书 Straße");
    EXPECT_EQ(codepage::toUtf8(html::fileToText(file("odd.html", "<meta charset=\"x-odd\">" + body))),
              "\r\n中文的书 Straße");
    // a byte-order mark outweighs the declaration
    EXPECT_EQ(codepage::toUtf8(html::fileToText(file("bom.html", "\xEF\xBB\xBF<meta charset=gbk>" + body))),
              "\r\n中文的书 Straße");
    EXPECT_EQ(codepage::toUtf8(html::fileToText(
                  file("utf16.html", "\xFF\xFE" + codepage::fromUtf8("<meta charset=utf-16>" + body, "UTF-16LE")))),
              "\r\n中文的书 Straße");

    doc.openPath(utf8Page);
    EXPECT_EQ(textOf(doc)[1], "中文的书 Straße");
}

// In ISO-2022-JP the bytes of a kanji may be "<" or "&": 自 is "<+".
TEST_F(EncodingOnOpen, AnIso2022JpPageKeepsKanjiWhoseBytesLookLikeATag)
{
    const std::string page = file("jis.html", "<meta charset=\"iso-2022-jp\"><p>" +
                                                  codepage::fromUtf8("自分の本 &amp; 自分", "ISO-2022-JP") + "</p>");
    EXPECT_EQ(codepage::toUtf8(html::fileToText(page)), "\r\n自分の本 & 自分");
}

TEST(HostileDeclarations, CutOffAndEmptyMetaTagsAreIgnored)
{
    bool declared = true;
    for (const char* page : {"<meta", "<meta charset", "<meta charset=", "<meta charset=\"", "<meta charset=>",
                             "<meta content=\"charset\">", "<meta charset = ' utf-8"}) {
        html::declaredEncoding(page, &declared);
        if (std::string_view(page).ends_with("utf-8"))
            EXPECT_TRUE(declared) << page;
        else
            EXPECT_FALSE(declared) << page;
    }
}

TEST(Conversion, BadBytesBecomeReplacementCharactersAndGoodOnesSurvive)
{
    // one replacement for each bad character, and the good character after it kept
    EXPECT_EQ(codepage::toUtf8("a\x80" "b\xFF" "c\xD6"), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c\xEF\xBF\xBD");
    EXPECT_EQ(codepage::toUtf8("\xD6\r\n"), "\xEF\xBF\xBD\r\n");
    EXPECT_EQ(codepage::fromUtf8("a\xE4\xB8" "b"), "a\x84\x31\xA4\x37" "b");
    EXPECT_EQ(codepage::toSystem("\xE4\xB8\xAD\xF0", codepage::kUtf8), "\xD6\xD0\x84\x31\xA4\x37");
    // code pages without U+FFFD get a question mark
    EXPECT_EQ(codepage::fromUtf8("\xF0\x9F\x98\x80", codepage::kBig5), "?");
    // four-byte characters go both ways
    EXPECT_EQ(codepage::toUtf8("\x94\x39\xFC\x36"), "\xF0\x9F\x98\x80");
    EXPECT_STREQ(codepage::forCharset(136), codepage::kBig5);
    EXPECT_STREQ(codepage::forCharset(128), codepage::kShiftJis);
    EXPECT_STREQ(codepage::forCharset(134), codepage::kSystem);
    EXPECT_STREQ(codepage::forCharset(0), codepage::kSystem);
}

}  // namespace
