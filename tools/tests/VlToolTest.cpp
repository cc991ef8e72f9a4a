#include "VlTool.h"

#include "EpubFixtures.h"

#include "book/CodePage.h"
#include "views/SpreadGeometry.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

namespace {

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

Outcome vltool(std::vector<std::string> args)
{
    std::ostringstream out, err;
    Outcome run;
    run.code = runVlTool(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

class VlTool : public testing::Test {
protected:
    std::string file(const std::string& name, const std::string& content)
    {
        const std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    std::string path(const std::string& name) const { return dir + "/" + name; }
    static std::string pagesOf(const std::string& json) { return json.substr(json.find("\"pages\":")); }

    TestFolder folder;
    const std::string dir = folder.path();
};

TEST_F(VlTool, UsageErrorsExitWithTwo)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"print", "a.txt"}, {"convert", "a.txt"}, {"convert", "-o", "x.vl"}, {"dump"},
             {"dump", "--metrics", "wobbly", "a.txt"}, {"dump", "--bogus", "a.txt"}, {"dump", "-o", "x", "a.txt"}}) {
        const Outcome run = vltool(args);
        EXPECT_EQ(run.code, 2);
        EXPECT_NE(run.err.find("usage: vltool convert"), std::string::npos);
    }
}

TEST_F(VlTool, HelpAndVersionAnswerOnStandardOutputAndSucceed)
{
    const Outcome help = vltool({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("usage: vltool convert"), std::string::npos);
    EXPECT_NE(help.out.find("render   paints"), std::string::npos);
    // the options are listed together, before the notes that close the text
    EXPECT_LT(help.out.find("--version"), help.out.find("Exit status"));
    EXPECT_TRUE(help.err.empty());
    const Outcome version = vltool({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out.rfind("vltool ", 0), 0u);
    EXPECT_GT(version.out.size(), std::string("vltool \n").size());
    // after a command they are not options of it
    EXPECT_EQ(vltool({"dump", "--version"}).code, 2);
}

TEST_F(VlTool, ConvertDumpSaveDumpGivesIdenticalPages)
{
    std::string text;
    for (int i = 0; i < 80; ++i)
        text += "Paragraph " + std::to_string(i) + " of a book that is long enough to need a few pages.\n";
    const std::string txt = file("novel.txt", text);
    ASSERT_EQ(vltool({"convert", "--metrics", "fixed", "-o", path("a.vl"), txt}).code, 0);
    const Outcome first = vltool({"dump", "--metrics", "fixed", path("a.vl")});
    ASSERT_EQ(first.code, 0) << first.err;
    ASSERT_EQ(vltool({"convert", "--metrics", "fixed", "-o", path("b.vl"), path("a.vl")}).code, 0);
    const Outcome second = vltool({"dump", "--metrics", "fixed", path("b.vl")});
    ASSERT_EQ(second.code, 0);
    EXPECT_EQ(pagesOf(second.out), pagesOf(first.out));
    // the dump of the text itself shows the same pages as the book made from it
    EXPECT_EQ(pagesOf(vltool({"dump", "--metrics", "fixed", txt}).out), pagesOf(first.out));
    EXPECT_NE(first.out.find("\"statistics\":\"Statistic:  [Index page: 2]  [Book page: "), std::string::npos);
    EXPECT_NE(first.out.find("\"lines\":[\"    Paragraph 0 of a book"), std::string::npos);
    EXPECT_NE(first.out.find("\\r\\n\""), std::string::npos);
    EXPECT_NE(first.out.find("\"index\":[{\"page\":1,\"title\":\"novel.txt\"}]"), std::string::npos);
}

TEST_F(VlTool, InputsOpenSortedWithTheSwitchesApplied)
{
    const std::string b = file("B.txt", "second\n");
    const std::string a = file("a.txt", "first\n");
    const Outcome run = vltool({"dump", "--metrics", "fixed", "--no-bookmark", b, a});
    ASSERT_EQ(run.code, 0);
    EXPECT_LT(run.out.find("first"), run.out.find("second"));
    EXPECT_NE(run.out.find("[Bookmark: 0]  [Index: 2]"), std::string::npos);
    const Outcome bare = vltool({"dump", "--metrics", "fixed", "--no-bookmark", "--no-index", a});
    EXPECT_NE(bare.out.find("[Bookmark: 0]  [Index: 0]"), std::string::npos);
}

TEST_F(VlTool, TextIsDecodedFromTheSystemCodePage)
{
    const std::string txt = file("chinese.txt", codepage::fromUtf8("中文的书\n"));
    const Outcome run = vltool({"dump", "--metrics", "fixed", txt});
    ASSERT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("\"    中文的书\\r\\n\""), std::string::npos);
}

TEST_F(VlTool, AnEncodingCommandAppliesAfterOpening)
{
    const std::string txt = file("big5.txt", codepage::fromUtf8("書\n", codepage::kBig5));
    const Outcome run = vltool({"dump", "--metrics", "fixed", "--encoding", "100", txt});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("\"    书\\r\\n\""), std::string::npos);
    EXPECT_NE(run.out.find("\"charset\":134"), std::string::npos);
    EXPECT_EQ(vltool({"dump", "--encoding", "7", txt}).code, 2);
    EXPECT_EQ(vltool({"dump", "--encoding", "x", txt}).code, 2);
}

std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// gbk-book.vl and gbk-book.dump.json were written by the version that read
// page text as GBK, from gbk-book.txt: a GBK text reads and saves as it did.
TEST_F(VlTool, GbkBooksReadAndSaveExactlyAsBefore)
{
    const std::string data = TOOLS_TEST_DATA;
    // The text begins with a chapter heading; the book was made before
    // headings became index entries.
    ASSERT_EQ(vltool({"convert", "--metrics", "fixed", "--no-chapters", "-o", path("new.vl"), data + "/gbk-book.txt"}).code,
              0);
    EXPECT_EQ(contentOf(path("new.vl")), contentOf(data + "/gbk-book.vl"));
    const Outcome old = vltool({"dump", "--metrics", "fixed", data + "/gbk-book.vl"});
    ASSERT_EQ(old.code, 0) << old.err;
    EXPECT_EQ(old.out, contentOf(data + "/gbk-book.dump.json"));
}

TEST_F(VlTool, AUtf8TextIsDumpedBackCharacterForCharacter)
{
    const std::string utf8 = "Straße café ½ €5 ひらがな 한국어 😀 中文";
    const std::string txt = file("multi.txt", utf8 + "\n");
    ASSERT_EQ(vltool({"convert", "--metrics", "fixed", "-o", path("multi.vl"), txt}).code, 0);
    for (const std::string& input : {txt, path("multi.vl")}) {
        const Outcome run = vltool({"dump", "--metrics", "fixed", "--encoding", "auto", input});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_NE(run.out.find("\"    " + utf8 + "\\r\\n\""), std::string::npos) << input << "\n" << run.out;
    }
}

TEST_F(VlTool, Big5PagesAreDumpedInTheirOwnCodePage)
{
    // read as Big5: the kept bytes stay Big5, the page font says so
    const std::string big5 = file("big5.txt", codepage::fromUtf8("繁體中文的書\n", codepage::kBig5));
    const Outcome read = vltool({"dump", "--metrics", "fixed", "--encoding", "1", big5});
    ASSERT_EQ(read.code, 0) << read.err;
    EXPECT_NE(read.out.find("\"    繁體中文的書\\r\\n\""), std::string::npos);
    EXPECT_NE(read.out.find("\"charset\":136"), std::string::npos);
    // converted from readable GBK to Big5
    const std::string gbk = file("gbk.txt", codepage::fromUtf8("繁體中文的書\n"));
    const Outcome converted = vltool({"dump", "--metrics", "fixed", "--encoding", "103", gbk});
    ASSERT_EQ(converted.code, 0) << converted.err;
    EXPECT_NE(converted.out.find("\"    繁體中文的書\\r\\n\""), std::string::npos);
    // and a book keeps the charset, so it reads the same once saved
    ASSERT_EQ(vltool({"convert", "--metrics", "fixed", "--encoding", "1", "-o", path("big5.vl"), big5}).code, 0);
    EXPECT_NE(vltool({"dump", "--metrics", "fixed", path("big5.vl")}).out.find("\"    繁體中文的書\\r\\n\""),
              std::string::npos);
}

TEST_F(VlTool, RenderWritesWhatAViewShows)
{
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "Words on the page, and more words on the page.\n";
    const std::string txt = file("render.txt", text);
    const std::string png = path("spread.png");
    ASSERT_EQ(vltool({"render", "--metrics", "fixed", "--page", "6", "-o", png, txt}).code, 0);
    QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(960, 640));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));  // the client frame
    // the left page (index 5, the bookmark's back) is not current; the right one is
    const Rect label = spread::labelBox(spread::pageRects(960, 640).right, 50);
    EXPECT_EQ(image.pixelColor(label.left + 4, label.top + 10), QColor(0, 255, 122));

    ASSERT_EQ(vltool({"render", "--one-page", "--size", "500x400", "-o", png, txt}).code, 0);
    EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(500, 400));
    EXPECT_EQ(vltool({"render", "--size", "5x5", "-o", png, txt}).code, 2);
    EXPECT_EQ(vltool({"render", "--page", "-1", "-o", png, txt}).code, 2);
    EXPECT_EQ(vltool({"render", txt}).code, 2);
    EXPECT_EQ(vltool({"render", "-o", dir + "/no/such/folder/x.png", txt}).code, 1);
}

TEST_F(VlTool, RealFontMetricsNeedNoDisplay)
{
    const std::string txt = file("real.txt", std::string(3000, 'i') + " words and more words\n");
    const Outcome run = vltool({"dump", txt});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("words and more words"), std::string::npos);
}

TEST_F(VlTool, NothingOpenedOrUnsupportedExitsWithOne)
{
    const Outcome unsupported = vltool({"dump", file("picture.bmp", "BM")});
    EXPECT_EQ(unsupported.code, 1);
    EXPECT_EQ(unsupported.err, "vltool: Sorry! This isn't supported file type.\n");
    const Outcome missing = vltool({"convert", "--metrics", "fixed", "-o", path("x.vl"), path("missing.vl")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_FALSE(std::filesystem::exists(path("x.vl")));
    const std::string txt = file("ok.txt", "ok\n");
    const Outcome unsaved = vltool({"convert", "--metrics", "fixed", "-o", txt + "/inside.vl", txt});
    EXPECT_EQ(unsaved.code, 1);
    EXPECT_NE(unsaved.err.find("cannot save"), std::string::npos);
}

TEST_F(VlTool, MalformedBooksAreReportedNotFatal)
{
    const std::string txt = file("base.txt", "Some text for a book that will be damaged.\n");
    ASSERT_EQ(vltool({"convert", "--metrics", "fixed", "-o", path("good.vl"), txt}).code, 0);
    std::ifstream in(path("good.vl"), std::ios::binary);
    const std::string good{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::mt19937 random(99);
    for (int round = 0; round < 60; ++round) {
        std::string bad = good;
        if (round % 2)
            bad.resize(random() % bad.size());
        else
            bad[random() % bad.size()] ^= static_cast<char>(1 + random() % 255);
        const std::string name = file("bad.vl", bad);
        const Outcome run = vltool({"dump", "--metrics", "fixed", name});
        EXPECT_TRUE(run.code == 0 || run.code == 1);
        if (run.code == 1) {
            EXPECT_FALSE(run.err.empty());
        }
    }
}

TEST_F(VlTool, ADamagedBookIsNamedAndEveryCommandFails)
{
    const std::string txt = file("base.txt", "Some text for a book that will be cut short.\n");
    ASSERT_EQ(vltool({"convert", "--metrics", "fixed", "-o", path("good.vl"), txt}).code, 0);
    std::ifstream in(path("good.vl"), std::ios::binary);
    const std::string good{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string cut = file("cut.vl", good.substr(0, good.size() - 5));
    const std::vector<std::vector<std::string>> commands = {
        {"dump", "--metrics", "fixed", cut},
        {"convert", "--metrics", "fixed", "-o", path("out.vl"), cut},
        {"render", "--metrics", "fixed", "-o", path("out.png"), cut},
    };
    for (const auto& args : commands) {
        const Outcome run = vltool(args);
        EXPECT_EQ(run.code, 1) << args[0];
        EXPECT_EQ(run.err, "vltool: Fail to open " + cut + ": the file is damaged.\n") << args[0];
        EXPECT_TRUE(run.out.empty()) << args[0];
    }
    EXPECT_FALSE(std::filesystem::exists(path("out.vl")));
    EXPECT_FALSE(std::filesystem::exists(path("out.png")));
}

TEST_F(VlTool, MutatedImportsOfEveryKindAreReportedNotFatal)
{
    std::ifstream help(std::string(BOOK_TEST_DATA) + "/help.chm", std::ios::binary);
    const std::map<std::string, std::string> samples = {
        {"htm", "<html><body><p>Some &amp; text<br><script>x</script>more</body></html>"},
        {"pdf", "%PDF-1.4\n1 0 obj\nstream\r\nnot deflated\r\nendstream\nendobj\n"},
        {"chm", std::string{std::istreambuf_iterator<char>(help), std::istreambuf_iterator<char>()}},
    };
    std::mt19937 random(3);
    for (const auto& [extension, good] : samples) {
        ASSERT_FALSE(good.empty());
        const int rounds = extension == "chm" ? 40 : 150;
        for (int round = 0; round < rounds; ++round) {
            std::string bad = good;
            if (round % 3 == 0)
                bad.resize(random() % bad.size());
            for (int c = 0; c < 2 && !bad.empty(); ++c)
                bad[random() % bad.size()] = static_cast<char>(random() % 256);
            const Outcome run = vltool({"dump", "--metrics", "fixed", file("bad." + extension, bad)});
            EXPECT_TRUE(run.code == 0 || run.code == 1) << extension;
        }
    }
}

TEST_F(VlTool, ProgressIsPrintedOnlyWhenAskedFor)
{
    std::string text;
    for (int i = 0; i < 12000; ++i)
        text += "A line of a long text that takes the layout a while to get through.\n";
    const std::string txt = file("long.txt", text);
    const Outcome quiet = vltool({"dump", "--metrics", "fixed", txt});
    EXPECT_EQ(quiet.code, 0);
    EXPECT_EQ(quiet.err, "");
    const Outcome told = vltool({"dump", "--metrics", "fixed", "--progress", txt});
    EXPECT_EQ(told.code, 0);
    EXPECT_EQ(told.err.find("vltool: opening " + txt + "\n"), 0u);
    size_t steps = 0;
    for (size_t at = told.err.find(txt + " "); at != std::string::npos; at = told.err.find(txt + " ", at + 1))
        ++steps;
    EXPECT_GE(steps, 2u) << told.err;
    EXPECT_EQ(told.out, quiet.out);
}

TEST_F(VlTool, AnEpubBookDumpsItsChaptersAndContents)
{
    const std::vector<EpubChapter> chapters = {
        {"one.xhtml", "The First", xhtmlPage("Beginning", {"It was a bright cold day."})},
        {"two.xhtml", "The Second", xhtmlPage("Middle", {"The clocks were striking thirteen."})}};
    const std::string book = path("book.epub");
    ASSERT_TRUE(writeZip(book, epubEntries("Two Chapters", chapters, true)));
    const Outcome run = vltool({"dump", "--metrics", "fixed", book});
    EXPECT_EQ(run.code, 0) << run.err;
    for (const char* text : {"Two Chapters", "The First", "The Second", "It was a bright cold day.",
                             "The clocks were striking thirteen."})
        EXPECT_NE(run.out.find(text), std::string::npos) << text;
}

TEST_F(VlTool, ChapterEntriesFollowTheOption)
{
    const std::string txt = file("novel.txt", "Chapter 1\nOnce.\nChapter 2\nTwice.\n");
    EXPECT_NE(vltool({"dump", "--metrics", "fixed", txt}).out.find("Chapter 2"), std::string::npos);
    const Outcome off = vltool({"dump", "--metrics", "fixed", "--no-chapters", txt});
    EXPECT_EQ(off.out.find("\"title\":\"Chapter 2\""), std::string::npos);
}

// Qt writes the text of a PDF in a composite (CID) font, as nearly every
// Chinese PDF is written: the scanner reads nothing of it, poppler all.
TEST_F(VlTool, APdfInACompositeFontGivesItsWords)
{
    if (!QGuiApplication::instance())
        vltool({"dump", file("warm.txt", "x")});  // vltool makes the application its fonts need
    ASSERT_NE(QGuiApplication::instance(), nullptr);
    const std::string pdf = path("cid.pdf");
    {
        QPdfWriter writer(QString::fromStdString(pdf));
        QPainter painter(&writer);
        painter.setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 14));
        painter.drawText(200, 400, QString::fromUtf8("Composite fonts hide words \xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C"));
        painter.drawText(200, 800, QStringLiteral("on every line"));
    }
    const Outcome run = vltool({"dump", "--metrics", "fixed", pdf});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Composite fonts hide words \xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C"), std::string::npos);
    EXPECT_NE(run.out.find("on every line"), std::string::npos);
}

}  // namespace
