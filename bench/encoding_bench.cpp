// Finding the encoding of a 10 MB text on opening, and converting a UTF-8
// one to the system code page.
#include "book/CodePage.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr size_t kTextBytes = 10u << 20;

enum class Kind { English, ChineseUtf8, ChineseGbk };

std::string makeText(Kind kind)
{
    static const char* const kWords[] = {"the", "reader", "turns", "a", "page", "of", "book", "night", "quiet"};
    std::mt19937 random(11);
    std::string text;
    text.reserve(kTextBytes + 100);
    while (text.size() < kTextBytes) {
        if (kind == Kind::English) {
            text += kWords[random() % std::size(kWords)];
            text += random() % 12 == 0 ? ".\r\n" : " ";
            continue;
        }
        // CJK ideographs U+4E00..U+9FA5 (all in GBK)
        const unsigned code = 0x4E00 + random() % 0x51A6;
        const char utf8[] = {static_cast<char>(0xE0 | (code >> 12)), static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                             static_cast<char>(0x80 | (code & 0x3F))};
        text.append(utf8, 3);
        if (random() % 40 == 0)
            text += "\r\n";
    }
    return kind == Kind::ChineseGbk ? codepage::fromUtf8(text) : text;
}

const std::string& text(Kind kind)
{
    static const std::string texts[] = {makeText(Kind::English), makeText(Kind::ChineseUtf8),
                                        makeText(Kind::ChineseGbk)};
    return texts[static_cast<int>(kind)];
}

void detect(benchmark::State& state, Kind kind)
{
    const std::string& source = text(kind);
    for (auto _ : state)
        benchmark::DoNotOptimize(codepage::detect(source));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}
BENCHMARK_CAPTURE(detect, english, Kind::English)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(detect, chineseUtf8, Kind::ChineseUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(detect, chineseGbk, Kind::ChineseGbk)->Unit(benchmark::kMillisecond);

void utf8ToSystem(benchmark::State& state)
{
    const std::string& source = text(Kind::ChineseUtf8);
    for (auto _ : state)
        benchmark::DoNotOptimize(codepage::toSystem(source, codepage::kUtf8));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}
BENCHMARK(utf8ToSystem)->Unit(benchmark::kMillisecond);

}  // namespace
