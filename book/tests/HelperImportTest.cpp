#include "DocFixtures.h"

#include "book/ChildProcess.h"
#include "book/CodePage.h"
#include "book/import/CompiledHelp.h"
#include "book/import/WordText.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const std::string kFixture = std::string(BOOK_TEST_DATA) + "/help.chm";

class Scratch : public testing::Test {
protected:
    Scratch()
    {
        fs::create_directory(dir + "/tmp");
        doc.setNotifier(&notifier);
    }
    std::string script(const std::string& name, const std::string& body)
    {
        const std::string path = dir + "/bin/" + name;
        fs::create_directories(dir + "/bin");
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        ::chmod(path.c_str(), 0755);
        return path;
    }
    size_t leftInTmp() const { return static_cast<size_t>(std::distance(fs::directory_iterator(dir + "/tmp"), {})); }
    std::vector<std::string> bookLines()
    {
        std::vector<std::string> lines;
        for (const auto& page : doc.pages)
            for (const auto& line : page->lines)
                lines.push_back(line);
        return lines;
    }

    TestFolder folder;
    const std::string dir = folder.path();
    CVersaleoDoc doc;
    RecordingNotifier notifier;
};

TEST_F(Scratch, HtmlFilesAreCollectedAtAnyDepthSmallestFirst)
{
    const auto write = [&](const std::string& name, size_t size) {
        fs::create_directories(fs::path(dir + "/" + name).parent_path());
        std::ofstream(dir + "/" + name) << std::string(size, 'x');
    };
    write("pages/c.htm", 3000);
    write("pages/a.HTML", 1000);
    write("pages/deep/er/b.html", 2000);
    write("pages/notes.txt", 10);
    write("pages/image.gif", 500);
    fs::create_directory_symlink(dir + "/pages", dir + "/pages/loop");
    EXPECT_EQ(chm::collectHtmlFiles(dir + "/pages"),
              (std::vector<std::string>{dir + "/pages/a.HTML", dir + "/pages/deep/er/b.html", dir + "/pages/c.htm"}));
}

TEST_F(Scratch, AHelpFileOpensItsPagesSmallestFirstAndLeavesNothingBehind)
{
    ScopedEnv tmp("TMPDIR", dir + "/tmp");
    chm::CompiledHelpImporter importer;
    ASSERT_TRUE(importer.import(doc, kFixture));
    const auto lines = bookLines();
    const auto find = [&](const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) - lines.begin();
    };
    // the pages of 1, 2 and 3 kB in that order
    ASSERT_LT(find("    One\r\n"), static_cast<long>(lines.size()));
    EXPECT_LT(find("    One\r\n"), find("    Two\r\n"));
    EXPECT_LT(find("    Two\r\n"), find("    Three\r\n"));
    EXPECT_EQ(doc.bookmarkCount(), 3);
    EXPECT_EQ(leftInTmp(), 0u);
    EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(Scratch, AHelperThatHangsOrCrashesIsEndedAndTheImportFails)
{
    ScopedEnv tmp("TMPDIR", dir + "/tmp");
    // the last one has unpacked a page into its folder before it hangs
    for (const std::string& body : {std::string("sleep 30"), std::string("kill -SEGV $$"), std::string("exit 3"),
                                    std::string("mkdir -p \"$1/sub\" && echo '<p>page' > \"$1/sub/a.htm\" && sleep 30")}) {
        chm::CompiledHelpImporter importer(script("helper", body), std::chrono::milliseconds(300));
        notifier.messages.clear();
        EXPECT_FALSE(importer.import(doc, kFixture)) << body;
        EXPECT_EQ(notifier.messages, std::vector<DocMessage>{DocMessage::UnsupportedType});
        EXPECT_EQ(doc.pageCount(), 4);
        EXPECT_EQ(leftInTmp(), 0u);
    }
    chm::CompiledHelpImporter missing(dir + "/no-such-helper");
    EXPECT_FALSE(missing.import(doc, kFixture));
    chm::CompiledHelpImporter fine;
    EXPECT_FALSE(fine.import(doc, dir + "/no-such-file.chm"));
    EXPECT_EQ(leftInTmp(), 0u);
}

// The fixture with one LZX parameter the unpacker divides by set to zero:
// the windows per reset of the control data ("LZXC" + 16), or the block
// length of the reset table (its header: version 2, block count, 8, 0x28).
std::vector<std::string> helpWithZeroLzxParameters()
{
    std::ifstream in(kFixture, std::ios::binary);
    const std::string good{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<std::string> damaged;
    const size_t control = good.find("LZXC");
    if (control != std::string::npos && control + 20 <= good.size()) {
        std::string bad = good;
        bad.replace(control + 16, 4, 4, '\0');
        damaged.push_back(bad);
    }
    for (size_t at = 0; at + 40 <= good.size(); ++at) {
        if (good.compare(at, 4, std::string("\x02\0\0\0", 4)) == 0 &&
            good.compare(at + 8, 8, std::string("\x08\0\0\0\x28\0\0\0", 8)) == 0) {
            std::string bad = good;
            bad.replace(at + 32, 8, 8, '\0');
            damaged.push_back(bad);
            break;
        }
    }
    return damaged;
}

TEST_F(Scratch, TheHelperRefusesZeroLzxParametersBeforeUnpacking)
{
    const auto damaged = helpWithZeroLzxParameters();
    ASSERT_EQ(damaged.size(), 2u);
    for (size_t i = 0; i < damaged.size(); ++i) {
        const std::string path = dir + "/zero.chm", out = dir + "/out" + std::to_string(i);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << damaged[i];
        const ChildResult run = runChild({chm::defaultHelperPath(), out, path}, ChildOptions{});
        // it walks every unit to the end (the uncompressed ones are still
        // written), and no page was even opened: the unpacker was never asked
        EXPECT_TRUE(run.exited) << i;
        EXPECT_EQ(run.exitCode, 0) << i;
        EXPECT_TRUE(chm::collectHtmlFiles(out).empty()) << i;
    }
}

TEST_F(Scratch, ADamagedHelpFileIsUnsupportedAndLeavesNothingBehind)
{
    ScopedEnv tmp("TMPDIR", dir + "/tmp");
    chm::CompiledHelpImporter importer;
    for (const std::string& bad : helpWithZeroLzxParameters()) {
        const std::string path = dir + "/zero.chm";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bad;
        notifier.messages.clear();
        EXPECT_FALSE(importer.import(doc, path));
        EXPECT_EQ(notifier.messages, std::vector<DocMessage>{DocMessage::UnsupportedType});
        EXPECT_EQ(doc.pageCount(), 4);
        EXPECT_EQ(leftInTmp(), 0u);
    }
}

TEST_F(Scratch, MutatedHelpFilesNeverTakeTheReaderDown)
{
    ScopedEnv tmp("TMPDIR", dir + "/tmp");
    std::ifstream in(kFixture, std::ios::binary);
    const std::string good{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::mt19937 random(11);
    chm::CompiledHelpImporter importer(chm::defaultHelperPath(), std::chrono::seconds(10));
    int opened = 0;
    for (int round = 0; round < 200; ++round) {
        std::string bad = good;
        if (round % 5 == 0) {
            bad.resize(random() % bad.size());
        } else {
            for (int c = 0; c < 1 + round % 4; ++c)
                bad[random() % bad.size()] = static_cast<char>(random() % 256);
        }
        const std::string path = dir + "/bad.chm";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bad;
        CVersaleoDoc fresh;
        opened += importer.import(fresh, path) ? 1 : 0;
        EXPECT_EQ(fresh.pageCount() % 2, 0);
    }
    EXPECT_EQ(leftInTmp(), 0u);
    EXPECT_GT(opened, 0);
}

TEST_F(Scratch, AMissingWordProcessorGivesTheMessageAndAnEmptyLeaf)
{
    ScopedEnv path("PATH", dir + "/bin");
    std::ofstream(dir + "/letter.doc") << "not really a document";
    word::WordImporter importer;
    ASSERT_TRUE(importer.import(doc, dir + "/letter.doc"));
    EXPECT_EQ(notifier.messages, std::vector<DocMessage>{DocMessage::WordMissing});
    EXPECT_STREQ(messageText(DocMessage::WordMissing), "The Office Word isn't installed or it has been removed.");
    doc.rebuildIndexPages();
    EXPECT_EQ(doc.bookmarkCount(), 1);
    EXPECT_EQ(doc.bookPageCount(), 2);
    EXPECT_TRUE(bookLines().empty());
}

TEST_F(Scratch, AWordProcessorOnThePathGivesItsText)
{
    // the stand-in prints the text with a byte-order mark, as the real one does
    script("soffice", "[ \"$1 $2\" = \"--headless --cat\" ] || exit 9\n"
                      "[ -d \"$HOME\" ] || exit 8\n"
                      "printf '\\357\\273\\277Dear reader,\\n\\344\\270\\255\\346\\226\\207 text from %s\\n' \"$(basename \"$3\")\"");
    ScopedEnv path("PATH", dir + "/bin:/usr/bin:/bin");
    std::ofstream(dir + "/letter.doc") << "binary";
    EXPECT_EQ(word::fileToText(dir + "/letter.doc", &notifier),
              "Dear reader,\n" + codepage::fromUtf8("中文") + " text from letter.doc\n");
    EXPECT_TRUE(notifier.messages.empty());
}

TEST_F(Scratch, AFailingOrHangingWordProcessorIsAnInnerError)
{
    ScopedEnv path("PATH", dir + "/bin:/usr/bin:/bin");
    std::ofstream(dir + "/letter.doc") << "binary";
    script("soffice", "exit 1");
    EXPECT_EQ(word::fileToText(dir + "/letter.doc", &notifier), "");
    script("soffice", "sleep 30");
    EXPECT_EQ(word::fileToText(dir + "/letter.doc", &notifier, std::chrono::milliseconds(300)), "");
    EXPECT_EQ(notifier.messages, (std::vector<DocMessage>{DocMessage::InnerError, DocMessage::InnerError}));
    EXPECT_STREQ(messageText(DocMessage::InnerError), "There is an inner error.");
    // a file that is not there is no error of the word processor
    EXPECT_EQ(word::fileToText(dir + "/missing.doc", &notifier), "");
    EXPECT_EQ(notifier.messages.size(), 2u);
}

}  // namespace
