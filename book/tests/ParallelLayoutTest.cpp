#include "DocFixtures.h"

#include "book/Dbcs.h"
#include "book/ImportProgress.h"
#include "book/Importers.h"
#include "book/TextLayout.h"
#include "book/TextWrap.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <random>
#include <thread>

namespace {

// Characters of many widths in 1/64 pixel, so that a line broken one token
// early or late shows; remembers whether it was ever asked from another
// thread than the one that made it.
class UnevenMeasurer : public TextMeasurer {
public:
    int64_t advance(std::string_view bytes) override
    {
        if (std::this_thread::get_id() != m_owner)
            m_foreignCalls.store(true);
        int64_t total = 0;
        for (size_t i = 0; i < bytes.size();) {
            const size_t length = dbcs::charLength(bytes, i);
            int64_t advance = 300;
            for (size_t k = 0; k < length; ++k)
                advance += static_cast<unsigned char>(bytes[i + k]) * (k + 3) % 517;
            total += advance;
            i += length;
        }
        return total;
    }
    bool calledFromAnotherThread() const { return m_foreignCalls.load(); }

private:
    std::thread::id m_owner = std::this_thread::get_id();
    std::atomic<bool> m_foreignCalls = false;
};

// A text with every kind of token and paragraph the wrap knows: English and
// GBK prose, GB18030 four-byte characters, chapter headings, blank lines,
// tabs and runs of blanks, lone carriage returns and line feeds, words past
// the longest token, lone lead bytes, and one paragraph far longer than a
// chunk.
std::string mixedText()
{
    static const char* const kWords[] = {"the", "reader", "turns", "a", "page", "of", "night", "quiet-garden",
                                         "remembered", "\xD6\xD0\xCE\xC4", "\xB5\xDA", "\x81\x30\x81\x30", "12,",
                                         "\t", "   ", "\x81", "(see)", "\xA1\xA3"};
    static const char* const kBreaks[] = {"\r\n", "\n", "\r", "\r\n\r\n", "\r\n    "};
    std::mt19937 random(2024);
    std::string text;
    for (int paragraph = 0; paragraph < 900; ++paragraph) {
        if (paragraph % 97 == 5)
            text += "Chapter " + std::to_string(paragraph / 97 + 1) + "\r\n";
        if (paragraph % 131 == 7)
            text += "\xB5\xDA\xCA\xAE\xD5\xC2\r\n";  // 第十章
        if (paragraph % 211 == 3)
            text += std::string(700, 'w') + " ";
        const int words = paragraph == 450 ? 9000 : static_cast<int>(random() % 120);
        for (int w = 0; w < words; ++w) {
            text += kWords[random() % std::size(kWords)];
            text += ' ';
        }
        text += kBreaks[random() % std::size(kBreaks)];
    }
    return text;
}

struct PageText {
    PageKind kind;
    std::string caption;
    std::vector<std::string> lines;
    std::vector<std::string> entries;
    bool operator==(const PageText&) const = default;
};

class ParallelLayout : public testing::Test {
protected:
    ~ParallelLayout() override { layout::setWrapThreads(0); }

    // Opens `path` in a new document, wrapping with the given threads and
    // chunks; every page's kind, caption, lines and index entries.
    std::vector<PageText> open(unsigned threads, size_t chunkBytes, UnevenMeasurer& measurer)
    {
        layout::setWrapThreads(threads, chunkBytes);
        CVersaleoDoc doc;
        registerStandardImporters(doc);
        doc.setMeasurerFactory([&measurer](const LOGFONT&) {
            return std::shared_ptr<TextMeasurer>(&measurer, [](TextMeasurer*) {});
        });
        EXPECT_EQ(doc.openPath(m_folder / "mixed.txt"), 1);
        std::vector<PageText> pages;
        for (const auto& page : doc.pages) {
            PageText text{page->kind(), page->caption, page->lines, {}};
            for (const auto& entry : page->indexEntries)
                text.entries.push_back(std::string(entry->titleText()) + "@" + std::to_string(entry->bookPageNumber));
            pages.push_back(std::move(text));
        }
        return pages;
    }

    void writeText(const std::string& text)
    {
        std::ofstream(m_folder / "mixed.txt", std::ios::binary) << text;
    }

    TestFolder m_folder;
};

TEST_F(ParallelLayout, OpeningATextGivesTheSamePagesOnOneThreadAndOnMany)
{
    writeText(mixedText());
    UnevenMeasurer measurer;
    const std::vector<PageText> alone = open(1, layout::kWrapChunkBytes, measurer);
    ASSERT_GT(alone.size(), 100u);
    ASSERT_TRUE(std::any_of(alone.begin(), alone.end(), [](const PageText& page) { return page.entries.size() > 1; }))
        << "the text has chapter headings";
    for (const auto& [threads, chunk] : {std::pair<unsigned, size_t>{2, 4096}, {3, 997}, {2, 1}, {0, 8192}, {0, 1 << 20}}) {
        const std::vector<PageText> parallel = open(threads, chunk, measurer);
        ASSERT_EQ(parallel.size(), alone.size()) << threads << " threads, chunks of " << chunk;
        for (size_t i = 0; i < alone.size(); ++i)
            ASSERT_EQ(parallel[i], alone[i]) << "page " << i << ", " << threads << " threads, chunks of " << chunk;
    }
    EXPECT_FALSE(measurer.calledFromAnotherThread());
}

TEST_F(ParallelLayout, ATextWithoutLineBreaksOrEndingInOneIsWrappedWhole)
{
    UnevenMeasurer measurer;
    for (const std::string& text : {std::string(50000, 'x') + " end", std::string("a b c\r\n") + std::string(9000, '\n'),
                                    std::string("\r\n\r\n") + std::string(3000, ' ') + "\xB0"}) {
        writeText(text);
        const std::vector<PageText> alone = open(1, layout::kWrapChunkBytes, measurer);
        EXPECT_EQ(open(2, 64, measurer), alone);
    }
}

// Asks to stop once it has been told `stopAfter` times; records what it is told.
class StoppingProgress : public ImportProgress {
public:
    explicit StoppingProgress(int stopAfter) : m_stopAfter(stopAfter) {}
    void begin(const std::string&) override {}
    bool update(double done) override
    {
        updates.push_back(done);
        return m_stopAfter < 0 || static_cast<int>(updates.size()) < m_stopAfter;
    }
    void end() override {}
    std::vector<double> updates;

private:
    int m_stopAfter;
};

TEST_F(ParallelLayout, AParallelLayoutReportsHowFarItHasGotAndStopsWhenAsked)
{
    writeText(mixedText());
    layout::setWrapThreads(2, 2048);
    for (const int stopAfter : {-1, 3}) {
        CVersaleoDoc doc;
        registerStandardImporters(doc);
        StoppingProgress progress(stopAfter);
        doc.setProgress(&progress);
        const int pagesBefore = doc.pageCount();
        EXPECT_EQ(doc.openPath(m_folder / "mixed.txt"), 1);
        ASSERT_GE(progress.updates.size(), 3u);
        EXPECT_TRUE(std::is_sorted(progress.updates.begin(), progress.updates.end()));
        EXPECT_LE(progress.updates.back(), 1.0);
        if (stopAfter < 0) {
            EXPECT_GT(doc.pageCount(), pagesBefore);
        } else {
            EXPECT_EQ(progress.updates.size(), static_cast<size_t>(stopAfter));
            EXPECT_EQ(doc.pageCount(), pagesBefore);
            EXPECT_TRUE(doc.textSources.empty());
        }
    }
}

}  // namespace
