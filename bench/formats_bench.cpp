// Opening a 5 MB EPUB book of three hundred chapters, and what finding the
// chapter headings adds to the layout of a 10 MB Chinese novel. Measured
// with the platform's fonts, as the program measures.
#include "book/CVersaleoDoc.h"
#include "book/ChapterScanner.h"
#include "book/CodePage.h"
#include "book/Importers.h"
#include "book/PageStyle.h"
#include "book/TextLayout.h"
#include "views/FontMetrics.h"

#include "EpubFixtures.h"
#include "GuiBenchMain.h"
#include "TestSupport.h"

#include <benchmark/benchmark.h>

#include <climits>
#include <malloc.h>
#include <random>

namespace {

// Between iterations glibc may hand a freed book back to the system and fault
// it in again; whether it does depends on which block happens to sit at the
// heap's top, not on the code measured. Keep the heap, as one opening would.
[[maybe_unused]] const bool kKeepHeap = [] {
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    return true;
}();

constexpr size_t kEpubBytes = 5u << 20;
constexpr int kChapters = 300;
constexpr size_t kNovelBytes = 10u << 20;

std::string makeEpub(const std::string& folder)
{
    static const char* const kWords[] = {"the",   "reader", "turns",  "a",      "page",   "of",    "book",
                                         "night", "quiet",  "letter", "window", "garden", "river", "and"};
    std::mt19937 random(5);
    std::vector<EpubChapter> chapters;
    for (int c = 0; c < kChapters; ++c) {
        std::vector<std::string> paragraphs;
        size_t bytes = 0;
        while (bytes < kEpubBytes / kChapters) {
            std::string p;
            for (int w = 0; w < 60; ++w)
                p += std::string(kWords[random() % std::size(kWords)]) + (w % 12 == 11 ? ". " : " ");
            bytes += p.size() + 25;
            paragraphs.push_back(std::move(p));
        }
        const std::string name = "Chapter " + std::to_string(c + 1);
        chapters.push_back({"text/c" + std::to_string(c + 1) + ".xhtml", name, xhtmlPage(name, paragraphs)});
    }
    const std::string path = folder + "/bench.epub";
    writeZip(path, epubEntries("A Long Book", chapters, true));
    return path;
}

void openEpub(benchmark::State& state)
{
    static TestFolder folder;
    static const std::string path = makeEpub(folder.path());
    for (auto _ : state) {
        CVersaleoDoc doc;
        doc.setMeasurerFactory([](const LOGFONT& font) { return std::make_shared<QtTextMeasurer>(font); });
        registerStandardImporters(doc);
        doc.openPath(path);
        state.counters["pages"] = doc.pageCount();
        state.counters["entries"] = doc.indexEntryCount();
    }
}
BENCHMARK(openEpub)->Unit(benchmark::kMillisecond);

// Random GBK characters in paragraphs of a sentence or two, with a chapter
// heading every 30 kB or so.
const std::string& novel()
{
    static const std::string text = [] {
        std::mt19937 random(7);
        std::string out;
        out.reserve(kNovelBytes + 100);
        int count = 0, chapter = 0;
        while (out.size() < kNovelBytes) {
            if (out.size() / 30000 >= static_cast<size_t>(chapter))
                out += codepage::fromUtf8("\r\n第" + std::to_string(++chapter) + "章 风雨\r\n");
            out += static_cast<char>(0xB0 + random() % 40);
            out += static_cast<char>(0xA1 + random() % 94);
            if (++count % 30 == 0)
                out += random() % 5 == 0 ? "\xA1\xA3\r\n" : "\xA3\xAC";
        }
        return out;
    }();
    return text;
}

void layOutNovel(benchmark::State& state, bool findChapters)
{
    QtTextMeasurer measurer(defaultBookFont());
    for (auto _ : state) {
        CVersaleoDoc doc;
        layout::layOutText(doc, doc.firstContentPage(), novel(), nullptr, "caption", "title", measurer, findChapters);
        doc.rebuildIndexPages();
        state.counters["entries"] = doc.indexEntryCount();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * novel().size()));
}
// The part chapter detection adds, alone: one pass over the text.
void findHeadings(benchmark::State& state)
{
    for (auto _ : state) {
        const std::vector<chapters::Heading> headings = chapters::findHeadings(novel());
        state.counters["headings"] = static_cast<double>(headings.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * novel().size()));
}
BENCHMARK(findHeadings)->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(layOutNovel, withoutChapters, false)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK_CAPTURE(layOutNovel, withChapters, true)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace

VERSALEO_GUI_BENCHMARK_MAIN()
