#include "DocFixtures.h"

#include "book/ZlibCodec.h"
#include "book/import/HtmlText.h"
#include "book/import/PdfText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

TEST(HtmlToText, EntitiesInAnyCaseAndOthersLeftAlone)
{
    EXPECT_EQ(html::toText("a &amp; b &AMP; c &Lt;x&GT; &quot;q&quot; &apos;s&nbsp;t"), "a & b & c <x> \"q\" 's t");
    EXPECT_EQ(html::toText("price 5&euro; &amp"), "price 5&euro; &amp");
}

TEST(HtmlToText, ParagraphAndBreakTagsEndLinesOthersVanish)
{
    EXPECT_EQ(html::toText("one<P>two<BR>three<p>four"), "one\r\ntwo\r\nthree\r\nfour");
    EXPECT_EQ(html::toText("one<br/>two<p class=x>three</p>"), "onetwothree");
    EXPECT_EQ(html::toText("<html><body><b>bold</b> text</body></html>"), "bold text");
}

TEST(HtmlToText, SourceLineBreaksRunWordsTogether)
{
    EXPECT_EQ(html::toText("first\r\n    second\n\tthird"), "firstsecondthird");
}

TEST(HtmlToText, ScriptsAndStylesAreRemovedWhole)
{
    EXPECT_EQ(html::toText("a<script type=x>if (a < b) alert('>');</SCRIPT>b"), "ab");
    EXPECT_EQ(html::toText("a<STYLE>p { color: red }</style>b"), "ab");
    // without its closing tag the "<" stays as text, and so does what follows
    EXPECT_EQ(html::toText("a<script>never closed"), "a<script>never closed");
}

TEST(HtmlToText, AnUnterminatedTagKeepsItsAngle)
{
    EXPECT_EQ(html::toText("1 < 2 and nothing closes"), "1 < 2 and nothing closes");
    EXPECT_EQ(html::toText(""), "");
    EXPECT_EQ(html::toText(std::string("\0<p>", 4)), "");
}

TEST(SavedPageName, LettersDigitsAndDoubleByteCharactersOnly)
{
    EXPECT_EQ(html::savedPageName("Chapter 1: Night"), "Chapter1Night.html");
    EXPECT_EQ(html::savedPageName("Hello, World!"), "HelloWorld.html");
    EXPECT_EQ(html::savedPageName("!?, ..."), "tmp.html");
    EXPECT_EQ(html::savedPageName(""), "tmp.html");
    EXPECT_EQ(html::savedPageName("\xD6\xD0 x"), "\xD6\xD0x.html");
}

std::string pdfWith(const std::vector<std::string>& contents)
{
    std::string pdf = "%PDF-1.4\n";
    int object = 1;
    for (const std::string& content : contents) {
        const auto packed = zcodec::compress(content.data(), content.size());
        pdf += std::to_string(object++) + " 0 obj\n<< /Length " + std::to_string(packed->size()) +
               " /Filter /FlateDecode >>\nstream\r\n" + *packed + "\r\nendstream\nendobj\n";
    }
    return pdf + "trailer\n%%EOF\n";
}

TEST(PdfText, EachTextObjectEndsALine)
{
    EXPECT_EQ(pdf::scanContent("BT /F1 12 Tf (Hello) Tj ET\nBT (World) Tj ET\n"), "Hello\r\nWorld\r\n");
}

TEST(PdfText, KerningBetweenOneHundredAndAThousandIsASpace)
{
    EXPECT_EQ(pdf::scanContent("BT [(Hel) -250 (lo)] TJ ET\n"), "Hel lo\r\n");
    EXPECT_EQ(pdf::scanContent("BT [(Hel) -50 (lo)] TJ ET\n"), "Hello\r\n");
    EXPECT_EQ(pdf::scanContent("BT [(Hel) -2000 (lo)] TJ ET\n"), "Hello\r\n");
}

TEST(PdfText, EscapesAndLineMoves)
{
    EXPECT_EQ(pdf::scanContent("BT (a \\(b\\) c\\\\d) Tj ET\n"), "a (b) c\\d\r\n");
    EXPECT_EQ(pdf::scanContent("BT (one) Tj 0 14 TD (two) Tj 0 0.5 TD (three) Tj ET\n"), "one\r\ntwothree\r\n");
    // strings outside text objects are not text
    EXPECT_EQ(pdf::scanContent("(not shown) BT (shown) Tj ET\n"), "shown\r\n");
}

TEST(PdfText, StreamsAreFoundInflatedAndScanned)
{
    const std::string file = pdfWith({"BT (Page one) Tj ET\n", "BT (Page two) Tj ET\n"});
    EXPECT_EQ(pdf::extractText(file), "Page one\r\nPage two\r\n");
    // an uncompressed stream is skipped
    EXPECT_EQ(pdf::extractText("x stream\nBT (raw) Tj ET\nendstream"), "");
    // without "endstream" the extraction ends
    const std::string cut = file.substr(0, file.find("endstream"));
    EXPECT_EQ(pdf::extractText(cut), "");
}

TEST(PdfText, AStreamInflatingBeyondTenTimesItsSizeIsCut)
{
    std::string content = "BT (";
    content += std::string(200000, 'z');
    content += ") Tj ET\n";
    const std::string text = pdf::extractText(pdfWith({content}));
    const auto packed = zcodec::compress(content.data(), content.size());
    EXPECT_LE(text.size(), packed->size() * 10);
    EXPECT_GT(text.size(), 0u);
}

TEST(PdfText, ThroughATemporaryFileAndMissingFilesGiveNothing)
{
    const std::string path = std::filesystem::temp_directory_path() / "pdftext-test.pdf";
    std::ofstream(path, std::ios::binary) << pdfWith({"BT (from a file) Tj ET\n"});
    EXPECT_EQ(pdf::fileToText(path), "from a file\r\n");
    std::filesystem::remove(path);
    EXPECT_EQ(pdf::fileToText("/nonexistent/file.pdf"), "");
}

TEST(HostileInputs, MutatedHtmlAndPdfNeverCrash)
{
    std::mt19937 random(5);
    const std::string page = "<html><head><style>x</style><script>y</script></head><body><p>Text &amp; more"
                             "<br>line<b>bold</b></body></html>";
    const std::string file = pdfWith({"BT [(Hel) -250 (lo)] TJ 0 14 TD (x\\)y) Tj ET\n", "BT (two) Tj ET\n"});
    for (int round = 0; round < 400; ++round) {
        std::string h = page, p = file;
        for (int c = 0; c < 3; ++c) {
            h[random() % h.size()] = static_cast<char>(random() % 256);
            p[random() % p.size()] = static_cast<char>(random() % 256);
        }
        if (round % 4 == 0) {
            h.resize(random() % h.size());
            p.resize(random() % p.size());
        }
        (void)html::toText(h);
        (void)pdf::extractText(p);
    }
    std::string noise(4096, '\0');
    for (char& c : noise)
        c = static_cast<char>(random() % 256);
    (void)pdf::extractText("stream\n" + noise + "\nendstream");
    (void)pdf::scanContent("BT (" + noise);
    SUCCEED();
}

}  // namespace
