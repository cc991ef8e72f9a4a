// "Next" over a 10 MB book that holds no hit walks every page: joining the
// lines, folding the letters and comparing character by character must stay
// well under the time a reader notices.
#include "book/BookSearch.h"
#include "book/CVersaleoDoc.h"

#include <benchmark/benchmark.h>

namespace {

// 26 display lines of mixed single and double byte text, about 500 bytes.
std::vector<std::string> sampleLines()
{
    std::vector<std::string> lines;
    for (int i = 0; i < 26; ++i) {
        std::string line = i % 5 == 0 ? "    " : "";
        line += "The Reader turns a page ";
        line += "\xD6\xD0\xCE\xC4";  // 中文
        if (i % 7 == 6)
            line += "\r\n";
        lines.push_back(line);
    }
    return lines;
}

// Book pages until the text passes 10 MB.
CVersaleoDoc& tenMegabyteBook()
{
    static CVersaleoDoc doc;
    static bool built = false;
    if (!built) {
        built = true;
        const std::vector<std::string> lines = sampleLines();
        size_t bytes = 0;
        for (const std::string& line : lines)
            bytes += line.size();
        PageList pages;
        for (size_t total = 0; total < 10u * 1024 * 1024; total += bytes) {
            auto page = doc.createPage(PageKind::BookPage);
            page->lines = lines;
            pages.push_back(std::move(page));
        }
        if (pages.size() % 2)
            pages.push_back(doc.createPage(PageKind::BookPage));
        doc.insertPages(doc.lastContentPage() + 1, std::move(pages));
    }
    return doc;
}

void nextWithoutHit(benchmark::State& state)
{
    CVersaleoDoc& doc = tenMegabyteBook();
    // A Chinese word whose bytes do occur, across character boundaries only.
    const booksearch::Query query{"\xD0\xCE", state.range(0) == 1, state.range(1) == 1};
    for (auto _ : state) {
        const auto hit = booksearch::findNext(doc, query, 0, 0);
        benchmark::DoNotOptimize(hit);
        if (hit)
            state.SkipWithError("the book holds a hit");
    }
    size_t bytes = 0;
    for (const auto& page : doc.pages) {
        for (const std::string& line : page->lines)
            bytes += line.size();
    }
    state.counters["pages"] = doc.pageCount();
    state.counters["MB"] = static_cast<double>(bytes) / (1024 * 1024);
}
BENCHMARK(nextWithoutHit)
    ->ArgNames({"matchCase", "wide"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
