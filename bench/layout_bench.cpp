// Laying out a 10 MB novel, and saving and loading the book made from it,
// measured beside raw zlib on the same bytes.
#include "book/BookFile.h"
#include "book/CVersaleoDoc.h"
#include "book/PageStyle.h"
#include "book/TextLayout.h"
#include "book/ZlibCodec.h"
#include "views/FontMetrics.h"

#include <QGuiApplication>

#include "BenchTexts.h"
#include "GuiBenchMain.h"

#include <benchmark/benchmark.h>

namespace {

constexpr size_t kTextBytes = 10u << 20;


const std::string& text(bool chinese)
{
    static const std::string english = benchtext::englishText(kTextBytes);
    static const std::string han = benchtext::chineseText(kTextBytes);
    return chinese ? han : english;
}

std::unique_ptr<TextMeasurer> measurer(bool real)
{
    if (real)
        return std::make_unique<QtTextMeasurer>(defaultBookFont());
    return std::make_unique<FixedMeasurer>();
}

void layOut(benchmark::State& state, bool chinese, bool real)
{
    const std::string& source = text(chinese);
    auto m = measurer(real);
    for (auto _ : state) {
        CVersaleoDoc doc;
        layout::layOutText(doc, doc.firstContentPage(), source, nullptr, "caption", "title", *m);
        benchmark::DoNotOptimize(doc.pageCount());
        state.counters["pages"] = doc.pageCount();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}
BENCHMARK_CAPTURE(layOut, englishRealMetrics, false, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(layOut, englishFixedMetrics, false, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(layOut, chineseRealMetrics, true, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(layOut, chineseFixedMetrics, true, false)->Unit(benchmark::kMillisecond);

CVersaleoDoc& book(bool chinese)
{
    static std::unique_ptr<CVersaleoDoc> docs[2];
    auto& doc = docs[chinese ? 1 : 0];
    if (!doc) {
        doc = std::make_unique<CVersaleoDoc>();
        FixedMeasurer m;
        layout::importText(*doc, chinese ? "/b/chinese.txt" : "/b/english.txt", text(chinese), m);
        doc->rebuildIndexPages();
        doc->numberBookmarks();
    }
    return *doc;
}

void saveAndLoad(benchmark::State& state, bool chinese)
{
    CVersaleoDoc& doc = book(chinese);
    for (auto _ : state) {
        const auto file = bookfile::encode(doc);
        CVersaleoDoc back;
        benchmark::DoNotOptimize(bookfile::readBytes(back, *file));
    }
}
BENCHMARK_CAPTURE(saveAndLoad, english, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(saveAndLoad, chinese, true)->Unit(benchmark::kMillisecond);

void rawZlib(benchmark::State& state, bool chinese)
{
    const std::string content = bookfile::serialize(book(chinese));
    for (auto _ : state) {
        const auto packed = zcodec::compress(content.data(), content.size());
        benchmark::DoNotOptimize(zcodec::uncompress(packed->data(), packed->size()));
    }
    state.counters["contentMB"] = static_cast<double>(content.size()) / (1 << 20);
}
BENCHMARK_CAPTURE(rawZlib, english, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(rawZlib, chinese, true)->Unit(benchmark::kMillisecond);

}  // namespace

VERSALEO_GUI_BENCHMARK_MAIN()
