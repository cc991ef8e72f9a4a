// A 10 MB novel becomes about twenty thousand pages and ten million
// characters: building the window must stay fast, and the cells held after
// reading every page must stay those of a few dozen pages.
#include "book/CVersaleoDoc.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kPages = 20000;

// 26 display lines of about 20 characters each, mixed single and double byte.
std::vector<std::string> sampleLines()
{
    std::vector<std::string> lines;
    for (int i = 0; i < 26; ++i) {
        std::string line = i % 5 == 0 ? "    " : "";
        line += "The reader turns a page ";
        line += "\xD6\xD0\xCE\xC4";
        if (i % 7 == 6)
            line += "\r\n";
        lines.push_back(line);
    }
    return lines;
}

void buildWindow(benchmark::State& state)
{
    const std::vector<std::string> lines = sampleLines();
    size_t cells = 0;
    size_t heldBytes = 0;
    size_t heldPages = 0;
    for (auto _ : state) {
        CVersaleoDoc doc;
        PageList pages;
        pages.reserve(kPages);
        for (int i = 0; i < kPages; ++i) {
            auto page = doc.createPage(PageKind::BookPage);
            page->lines = lines;
            page->rebuildCells();
            if (i % 50 == 0)
                page->indexEntries.push_back(std::make_unique<IndexEntry>());
            pages.push_back(std::move(page));
        }
        doc.insertPages(doc.firstContentPage(), std::move(pages));
        doc.rebuildIndexPages();
        doc.numberBookmarks();
        state.PauseTiming();
        // Every page read once, as a reader paging through the whole book.
        cells = 0;
        for (const auto& page : doc.pages)
            cells += page->cells().size();
        heldBytes = 0;
        heldPages = 0;
        for (const auto& page : doc.pages) {
            if (page->holdsCells()) {
                heldBytes += page->cells().capacity() * sizeof(CharCell);
                ++heldPages;
            }
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(doc.pageCount());
    }
    state.counters["cells"] = static_cast<double>(cells);
    state.counters["held_cell_bytes"] = static_cast<double>(heldBytes);
    state.counters["pages_holding_cells"] = static_cast<double>(heldPages);
}
BENCHMARK(buildWindow)->Unit(benchmark::kMillisecond);

void rebuildIndex(benchmark::State& state)
{
    CVersaleoDoc doc;
    PageList pages;
    for (int i = 0; i < kPages; ++i) {
        auto page = doc.createPage(PageKind::BookPage);
        if (i % 50 == 0)
            page->indexEntries.push_back(std::make_unique<IndexEntry>());
        pages.push_back(std::move(page));
    }
    doc.insertPages(doc.firstContentPage(), std::move(pages));
    for (auto _ : state) {
        doc.rebuildIndexPages();
        benchmark::DoNotOptimize(doc.indexPageCount());
    }
}
BENCHMARK(rebuildIndex)->Unit(benchmark::kMicrosecond);

void copyAndPasteLeaf(benchmark::State& state)
{
    CVersaleoDoc doc;
    PageList pages;
    const std::vector<std::string> lines = sampleLines();
    for (int i = 0; i < kPages; ++i) {
        auto page = doc.createPage(PageKind::BookPage);
        page->lines = lines;
        page->rebuildCells();
        pages.push_back(std::move(page));
    }
    doc.insertPages(doc.firstContentPage(), std::move(pages));
    doc.rebuildIndexPages();
    doc.currentPage = kPages / 2;
    for (auto _ : state) {
        doc.copyCurrentLeaf();
        doc.pasteLeaves();
        doc.deleteCurrentLeaf();
    }
}
BENCHMARK(copyAndPasteLeaf)->Unit(benchmark::kMicrosecond);

}  // namespace
