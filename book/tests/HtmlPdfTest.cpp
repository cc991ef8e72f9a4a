#include "DocFixtures.h"

#include "book/ZlibCodec.h"
#include "book/import/HtmlText.h"
#include "book/import/PdfText.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Whole pages of the kinds met in the wild, with their text as the walk gives it.
TEST(HtmlToText, VariedPagesKeepTheirText)
{
    const std::string page =
        "<!DOCTYPE html>\r\n<HTML>\r\n<head><title>A &amp; B</title>\r\n  <style type=\"text/css\">\r\n"
        "    p { margin: 0 } a > b {}\r\n  </style>\r\n"
        "  <script>if (a < b && c > d) { x = \"<p>\"; }</script>\r\n</head>\r\n<body bgcolor=\"#ffffff\">\r\n"
        "<!-- a comment with <b>tags</b> -->\r\n<h1 align=center>Chapter&nbsp;One</h1>\r\n"
        "<p>First paragraph,\r\n    continued on the next source line.<br>Second line &lt;quoted&gt; "
        "&quot;here&quot; &apos;s &copy; &AMP;\r\n<P>Upper case paragraph<BR>and break<br/>self-closing"
        "<p class=\"x\">with attributes\r\n<SCRIPT language=\"javascript\">document.write(\"</p>\");</SCRIPT>"
        "after the script\r\n<Style>b{}</STYLE>text 3 < 4 and 5 > 2\r\n</body></html>\r\n";
    EXPECT_EQ(html::toText(page),
              "A & Btags -->Chapter One\r\nFirst paragraph,continued on the next source line.\r\nSecond line "
              "<quoted> \"here\" 's &copy; &\r\nUpper case paragraph\r\nand breakself-closingwith attributesafter "
              "the scripttext 3  2");

    const std::string plain = "Tabs\tkept\there\n\n\t  leading <i>italic</i> a<b\nrest & more &amp &lt &gt; "
                              "<unclosed and <script never closed <style too\n";
    EXPECT_EQ(html::toText(plain), "Tabs\tkept\there" "leading italic a<brest & more &amp &lt > <unclosed and "
                                   "<script never closed <style too");

    const std::string chinese("<p>\xD6\xD0\xCE\xC4\xB5\xC4 <b>\xD7\xD6</b>&nbsp;text\r\n<br>\0after the nul", 42);
    EXPECT_EQ(html::toText(chinese), "\r\n\xD6\xD0\xCE\xC4\xB5\xC4 \xD7\xD6 text\r\n");

    const std::string comment = "<html><body><script>var s = \"<!--\"; if (1<2) {}</script>"
                                "<!-- unterminated comment < here < and <p> there";
    EXPECT_EQ(html::toText(comment), " there");
}

// The rules as written, walked the slow way: each "<" searches the rest.
std::string toTextByTheRules(std::string_view in)
{
    const auto lower = [](std::string_view text) {
        std::string out(text);
        for (char& c : out)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        return out;
    };
    in = in.substr(0, in.find('\0'));
    const std::string low = lower(in);
    const std::pair<std::string_view, char> entities[] = {{"&lt;", '<'},   {"&gt;", '>'},    {"&amp;", '&'},
                                                          {"&quot;", '"'}, {"&apos;", '\''}, {"&nbsp;", ' '}};
    std::string out;
    for (size_t i = 0; i < in.size();) {
        const std::string_view rest = std::string_view(low).substr(i);
        if (in[i] == '\r' || in[i] == '\n') {
            while (i < in.size() && (in[i] == '\r' || in[i] == '\n' || in[i] == ' ' || in[i] == '\t'))
                ++i;
        } else if (in[i] == '&') {
            const auto* found = std::find_if(std::begin(entities), std::end(entities),
                                             [&](const auto& e) { return rest.starts_with(e.first); });
            out += found == std::end(entities) ? '&' : found->second;
            i += found == std::end(entities) ? 1 : found->first.size();
        } else if (rest.starts_with("<p>") || rest.starts_with("<br>")) {
            out += "\r\n";
            i += rest.starts_with("<p>") ? 3 : 4;
        } else if (in[i] == '<') {
            const std::string_view closing =
                rest.starts_with("<script") ? "/script>" : rest.starts_with("<style") ? "/style>" : ">";
            const size_t end = low.find(closing, i + 1);
            if (end == std::string::npos) {
                out += '<';
                ++i;
            } else {
                i = end + closing.size();
            }
        } else {
            out += in[i++];
        }
    }
    return out;
}

TEST(HtmlToText, RandomMixesOfTagsGiveWhatTheRulesGive)
{
    const std::string_view pieces[] = {
        "<",       ">",        "<p>",     "<BR>",  "<P>",     "<br",    "<script", "/SCRIPT>", "<SCRIPT", "<Style",
        "<style",  "/style>",  "/STYLE>", "<!--",  "-->",     "&lt;",   "&amp",    "&AMP;",    "&gt;",    "&QUOT;",
        "&apos;",  "&nbsp;",   "&",       ";",     "\r\n  ", "\n\t",   "\r",      "text",     " ",       "\t",
        "<b>",     "</b>",     "/script", "\xD6\xD0", "<scrip",  "/styl",  "/"};
    std::mt19937 random(17);
    for (int round = 0; round < 20000; ++round) {
        std::string input;
        const int count = 1 + static_cast<int>(random() % 40);
        for (int k = 0; k < count; ++k)
            input += pieces[random() % std::size(pieces)];
        ASSERT_EQ(html::toText(input), toTextByTheRules(input)) << input;
    }
}

// Each "<" that finds no ">" (or no "/script>", "/style>") must not search
// the rest again: megabytes of them walk in one pass, with the same result.
TEST(HtmlToText, HostilePagesWalkInOnePass)
{
    const size_t size = 4 << 20;
    const std::string angles(size, '<');
    EXPECT_EQ(html::toText(angles), angles);
    std::string scripts;
    while (scripts.size() < size)
        scripts += "<script<style<";
    EXPECT_EQ(html::toText(scripts), scripts);
    std::string comment = "<!--";
    while (comment.size() < size)
        comment += "x < y ";
    EXPECT_EQ(html::toText(comment), comment);
    // the last "/script>" closes every script before it, one at a time
    EXPECT_EQ(html::toText(scripts + "/script>tail"), "tail");
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

// Letters that deflate poorly, so the ten-times rule does not cut them.
std::string randomLetters(size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::string letters(count, ' ');
    for (char& c : letters)
        c = static_cast<char>('a' + random() % 26);
    return letters;
}

TEST(PdfText, TheTextIsCutAtTheLimitWhateverTheStreamsHold)
{
    const std::string letters = randomLetters(300000, 4);
    const std::string file = pdfWith({"BT (" + letters + ") Tj ET\n", "BT (after) Tj ET\n"});
    const std::string cut = pdf::extractText(file, 1000);
    EXPECT_TRUE(cut == letters.substr(0, 1000)) << cut.size();
    // under the limit, every stream gives its text
    const std::string whole = pdf::extractText(file, 1 << 20);
    EXPECT_TRUE(whole == letters + "\r\nafter\r\n") << whole.size();
}

// Operators, strings, escapes and kerning fall across the pieces the stream
// is inflated in; the text is that of the whole stream scanned at once.
TEST(PdfText, AStreamInflatedInPiecesGivesTheTextOfTheWholeStream)
{
    std::mt19937 random(23);
    const std::string_view pieces[] = {"BT ", "ET\n", "ET", " 0 14 TD ", " 0 0.5 TD ", "[(", ") -250 (",
                                       ") -50 (", ")] TJ ", "(", ") Tj ", "\\(", "\\)", "\\\\", "\r\n", " "};
    std::string content;
    while (content.size() < 600'000) {
        content += pieces[random() % std::size(pieces)];
        content += randomLetters(random() % 12, static_cast<unsigned>(random()));
    }
    const std::string text = pdf::extractText(pdfWith({content}));
    const std::string whole = pdf::scanContent(content);
    ASSERT_GT(whole.size(), 100'000u);
    EXPECT_TRUE(text == whole) << text.size() << " " << whole.size();
}

// A stream of garbage as long as the file: nothing to inflate, and no buffer
// of ten times its size is made for it.
TEST(PdfText, AHugeGarbageStreamGivesNothing)
{
    const std::string file = "%PDF-1.4\n1 0 obj\nstream\n" + randomLetters(8 << 20, 8) + "\nendstream\n" +
                             pdfWith({"BT (kept) Tj ET\n"});
    EXPECT_EQ(pdf::extractText(file), "kept\r\n");
}

// A stream broken after some of its text still gives none of it, as before.
TEST(PdfText, ABrokenStreamGivesNoneOfItsText)
{
    const std::string content = "BT (" + randomLetters(200000, 6) + ") Tj ET\n";
    std::string broken = *zcodec::compress(content.data(), content.size());
    broken.resize(broken.size() / 2);
    const std::string file = "%PDF-1.4\n1 0 obj\nstream\n" + broken + "\nendstream\nendobj\n";
    EXPECT_EQ(pdf::extractText(file).size(), 0u);
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
