#include "DocFixtures.h"
#include "EpubFixtures.h"

#include "book/ChildProcess.h"
#include "book/Importers.h"
#include "book/import/PdfRescue.h"
#include "book/import/PdfText.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <zlib.h>

namespace fs = std::filesystem;

namespace {

// Records what it is told; asks to stop once it has been updated `stopAfter` times.
class RecordingProgress : public ImportProgress {
public:
    explicit RecordingProgress(int stopAfter = -1) : m_stopAfter(stopAfter) {}
    std::vector<std::string> begun;
    std::vector<double> updates;
    int ended = 0;
    void begin(const std::string& path) override { begun.push_back(path); }
    bool update(double done) override
    {
        updates.push_back(done);
        return m_stopAfter < 0 || static_cast<int>(updates.size()) < m_stopAfter;
    }
    void end() override { ++ended; }

private:
    int m_stopAfter;
};

class LongOpening : public testing::Test {
protected:
    LongOpening()
    {
        doc.setNotifier(&notifier);
        registerStandardImporters(doc);
        fs::create_directories(folder / "bin");
    }
    std::string script(const std::string& name, const std::string& body)
    {
        const std::string path = folder / ("bin/" + name);
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        ::chmod(path.c_str(), 0755);
        return path;
    }
    std::string bigText()
    {
        const std::string path = folder / "big.txt";
        std::ofstream out(path);
        for (int i = 0; i < 20000; ++i)
            out << "The night was quiet and the reader turned another page of the book.\r\n";
        return path;
    }
    std::string allText() const
    {
        std::string text;
        for (const auto& page : doc.pages)
            for (const auto& line : page->lines)
                text += line;
        return text;
    }

    TestFolder folder;
    CVersaleoDoc doc;
    RecordingNotifier notifier;
};

TEST_F(LongOpening, ALongLayoutReportsHowFarItHasGotThenEnds)
{
    RecordingProgress progress;
    doc.setProgress(&progress);
    const std::string path = bigText();
    doc.openPath(path);
    EXPECT_EQ(progress.begun, std::vector<std::string>{path});
    EXPECT_EQ(progress.ended, 1);
    ASSERT_GT(progress.updates.size(), 2u);
    EXPECT_TRUE(std::is_sorted(progress.updates.begin(), progress.updates.end()));
    EXPECT_LE(progress.updates.back(), 1.0);
}

TEST_F(LongOpening, StoppingTheLayoutAddsNothingAndKeepsTheTextsBefore)
{
    const std::string first = folder / "first.txt";
    std::ofstream(first) << "a short text\r\n";
    doc.openPath(first);
    const std::vector<std::string> before = pageNames(doc);
    const TextSource* kept = doc.textSources.front().get();
    doc.modified = 0;

    RecordingProgress progress(3);
    doc.setProgress(&progress);
    doc.openPaths({first, bigText()});
    EXPECT_EQ(pageNames(doc), before);
    ASSERT_EQ(doc.textSources.size(), 1u);
    EXPECT_EQ(doc.textSources.front().get(), kept);
    EXPECT_EQ(doc.modified, 0);
    EXPECT_EQ(progress.ended, 1);
    EXPECT_TRUE(notifier.messages.empty());

    // the next opening is not stopped by the last one
    doc.setProgress(nullptr);
    doc.openPath(first);
    EXPECT_EQ(doc.textSources.size(), 1u);
    EXPECT_EQ(doc.modified, 1);
}

TEST_F(LongOpening, StoppingAnOfficeConversionEndsTheHelperWithoutAMessage)
{
    script("soffice", "sleep 30");
    ScopedEnv path("PATH", folder / "bin" + ":/usr/bin:/bin");
    const std::string document = folder / "letter.docx";
    std::ofstream(document) << "not read by the fake";
    const int before = doc.pageCount();
    RecordingProgress progress(2);
    doc.setProgress(&progress);
    doc.openPath(document);
    EXPECT_EQ(doc.pageCount(), before);
    EXPECT_TRUE(notifier.messages.empty());
    EXPECT_FALSE(progress.updates.empty());
    EXPECT_LT(progress.updates.front(), 0.0);
}

TEST_F(LongOpening, OfficeDocumentsOfEveryKindGoThroughTheWordProcessor)
{
    script("soffice", "[ \"$1 $2\" = \"--headless --cat\" ] || exit 9\nprintf '\\357\\273\\277converted %s\\n' \"$(basename \"$3\")\"");
    ScopedEnv path("PATH", folder / "bin" + ":/usr/bin:/bin");
    for (const std::string name : {"a.docx", "b.ODT", "c.rtf", "d.wps", "e.wpd"}) {
        std::ofstream(folder / name) << "x";
        doc.openPath(folder / name);
        EXPECT_NE(allText().find("converted " + name), std::string::npos) << name;
    }
    EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(LongOpening, OfficeDocumentsWithoutTheWordProcessorGiveTheWordMessage)
{
    ScopedEnv path("PATH", folder / "bin");
    std::ofstream(folder / "letter.odt") << "x";
    doc.openPath(folder / "letter.odt");
    EXPECT_EQ(notifier.messages, std::vector<DocMessage>{DocMessage::WordMissing});
}

TEST_F(LongOpening, ADocxMadeByLibreOfficeOpensItsText)
{
    const std::string office = findOnPath("soffice");
    if (office.empty())
        GTEST_SKIP() << "LibreOffice is not installed";
    const std::string text = folder / "letter.txt";
    std::ofstream(text) << "Dear reader,\nthis letter came through the word processor.\n";
    ChildOptions options;
    options.timeLimit = std::chrono::minutes(2);
    options.environment = {{"HOME", folder.path()}};
    const ChildResult made = runChild({office, "--headless", "--convert-to", "docx", "--outdir", folder.path(), text}, options);
    ASSERT_TRUE(made.exited && made.exitCode == 0);
    doc.openPath(folder / "letter.docx");
    EXPECT_TRUE(notifier.messages.empty());
    EXPECT_NE(allText().find("this letter came through the word processor."), std::string::npos);
}

// The content of a page that draws a lot and shows one string in a composite
// font: two-byte glyph numbers the scanner turns into digits, not words.
std::string cidContent()
{
    // Numbers that do not repeat, so the stream does not deflate past the
    // scanner's tenfold bound.
    std::string content;
    uint32_t seed = 7;
    for (int i = 0; i < 300; ++i) {
        seed = seed * 1103515245u + 12345u;
        content += std::to_string(seed % 997) + " " + std::to_string(seed / 997 % 991) + " m " +
                   std::to_string(seed / 7 % 983) + " l S\n";
    }
    return content + "BT /F1 12 Tf 72 720 Td (\\000+\\000H\\000R) Tj ET\n";
}

std::string cidFontPdf()
{
    const std::string content = cidContent();
    uLongf size = compressBound(content.size());
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(content.data()), content.size());
    packed.resize(size);
    return "%PDF-1.4\n1 0 obj << /Length " + std::to_string(packed.size()) + " /Filter /FlateDecode >>\nstream\n" + packed +
           "\nendstream\nendobj\n%%EOF\n";
}

TEST_F(LongOpening, APdfTheScannerCannotReadTakesPopplersTextLineByLine)
{
    const std::string helper = script("pdftext", "printf 'first line\\nsecond line\\n\\fthird line\\n\\f'");
    const std::string path = folder / "cid.pdf";
    std::ofstream(path, std::ios::binary) << cidFontPdf();
    doc.importers().add("pdf", std::make_shared<pdf::PdfImporter>(helper));
    doc.openPath(path);
    EXPECT_NE(allText().find("    first line\r\n    second line\r\n    \r\n    third line\r\n"), std::string::npos);
    ASSERT_EQ(doc.textSources.size(), 1u);
    EXPECT_EQ(doc.textSources.front()->encoding, "UTF-8");
}

TEST_F(LongOpening, APdfThatMakesPopplerFailKeepsWhatTheScannerFound)
{
    const std::string helper = script("pdftext", "kill -SEGV $$");
    const std::string path = folder / "cid.pdf";
    std::ofstream(path, std::ios::binary) << cidFontPdf();
    doc.importers().add("pdf", std::make_shared<pdf::PdfImporter>(helper));
    doc.openPath(path);
    EXPECT_TRUE(notifier.messages.empty());
    EXPECT_NE(allText().find("000+000H000R"), std::string::npos);
}

// On this damaged file poppler goes round a loop of its own reporting faults
// for minutes (pdftotext too). The helper gives up at its fault limit, well
// inside the rescue's time limit: the reader gets no text instead of a wait.
TEST(PdfRescue, AFilePopplerLoopsOnEndsTheHelperByItself)
{
    ChildOptions options;
    options.timeLimit = std::chrono::seconds(60);
    options.captureOutput = true;
    const ChildResult run = runChild(
        {helperPath(pdf::kRescueHelperName), std::string(BOOK_TEST_DATA) + "/pdf-poppler-endless-faults.pdf"}, options);
    EXPECT_TRUE(run.exited);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.empty());
}

TEST(PdfRescue, TooLittleTextForItsContentCallsForPoppler)
{
    EXPECT_TRUE(pdf::needsRescue(0, 0));
    EXPECT_TRUE(pdf::needsRescue(0, 5000));
    EXPECT_TRUE(pdf::needsRescue(49, 5000));
    EXPECT_FALSE(pdf::needsRescue(50, 5000));
    EXPECT_FALSE(pdf::needsRescue(10, 200));
}

TEST(PdfRescue, EachLineIsAParagraphAndEachPageBreakOneMore)
{
    EXPECT_EQ(pdf::paragraphsOfPages("one\ntwo\r\n\n  \nthree\fnext page\f\f\flast\f"),
              "one\r\ntwo\r\nthree\r\n\r\nnext page\r\n\r\nlast\r\n");
    EXPECT_EQ(pdf::paragraphsOfPages(""), "");
    EXPECT_EQ(pdf::paragraphsOfPages("\f\f"), "");
}

TEST(PdfRescue, TheScannerCountsWhatItInflated)
{
    const std::string pdf = cidFontPdf();
    size_t inflated = 0;
    const std::string text = pdf::extractText(pdf, pdf::kMaxText, &inflated);
    EXPECT_EQ(inflated, cidContent().size());
    EXPECT_EQ(text, "000+000H000R\r\n");
    EXPECT_TRUE(pdf::needsRescue(text.size(), inflated));
}


// Stopped once some of its chapters are laid out: the book keeps none of them.
TEST_F(LongOpening, StoppingAnEpubMidwayAddsNoneOfItsChapters)
{
    const std::string first = folder / "first.txt";
    std::ofstream(first) << "a short text\r\n";
    doc.openPath(first);
    const std::vector<std::string> before = pageNames(doc);
    const int entriesBefore = doc.indexEntryCount();
    doc.modified = 0;

    std::string body;
    for (int i = 0; i < 3500; ++i)
        body += "<p>The night was quiet and the reader turned another page of the book, slowly.</p>";
    std::vector<EpubChapter> chapters;
    for (const char* name : {"a", "b", "c"})
        chapters.push_back({std::string(name) + ".xhtml", name, "<html><body>" + body + "</body></html>"});
    const std::string path = folder / "long.epub";
    ASSERT_TRUE(writeZip(path, epubEntries("Long", chapters, true)));
    // Three reports while reading, then one in each chapter's layout.
    RecordingProgress progress(5);
    doc.setProgress(&progress);
    doc.openPath(path);
    ASSERT_EQ(progress.updates.size(), 5u);
    EXPECT_EQ(pageNames(doc), before);
    EXPECT_EQ(doc.textSources.size(), 1u);
    EXPECT_EQ(doc.indexEntryCount(), entriesBefore);
    EXPECT_EQ(doc.modified, 0);
    EXPECT_EQ(progress.ended, 1);
}


// The word processor keeps its temporary files where TMPDIR says; stopped or
// crashed it cannot remove them, so they must go with its scratch folder.
TEST_F(LongOpening, AWordProcessorThatDiesLeavesNoTemporaryFiles)
{
    script("soffice", "touch \"${TMPDIR:-/tmp}/lu12345.tmp\"; exit 1");
    ScopedEnv path("PATH", folder / "bin" + ":/usr/bin:/bin");
    const std::string temporary = folder / "tmp";
    fs::create_directories(temporary);
    ScopedEnv tmpdir("TMPDIR", temporary);
    const std::string document = folder / "letter.odt";
    std::ofstream(document) << "not read by the fake";
    doc.openPath(document);
    EXPECT_EQ(notifier.messages, std::vector<DocMessage>{DocMessage::InnerError});
    EXPECT_TRUE(fs::is_empty(temporary));
}

}  // namespace
