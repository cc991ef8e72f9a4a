// The HTML byte walk on hostile pages: every "<" that finds no ">" (or no
// "/script>") must not search the rest again, so time grows linearly with
// the size. Each pattern at 64 KB, 256 KB and 1 MB.
#include "book/import/HtmlText.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The pattern repeated to `size` bytes, after a prefix (an open comment).
std::string hostilePage(std::string_view prefix, std::string_view unit, size_t size)
{
    std::string page(prefix);
    page.reserve(size);
    while (page.size() + unit.size() <= size)
        page += unit;
    return page;
}

void walk(benchmark::State& state, std::string_view prefix, std::string_view unit)
{
    const std::string page = hostilePage(prefix, unit, static_cast<size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(html::toText(page));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
    state.SetComplexityN(state.range(0));
}

void angles(benchmark::State& state) { walk(state, "", "<"); }
void unterminatedScripts(benchmark::State& state) { walk(state, "", "<script<"); }
void unterminatedStyles(benchmark::State& state) { walk(state, "", "<style <"); }
void unterminatedComment(benchmark::State& state) { walk(state, "<!--", "x < y "); }
// Looking for a declared charset in unclosed or nested meta tags (the first
// 64 KB are searched whatever the size).
void declaredEncoding(benchmark::State& state, std::string_view unit)
{
    const std::string page = hostilePage("", unit, static_cast<size_t>(state.range(0)));
    bool declared = false;
    for (auto _ : state)
        benchmark::DoNotOptimize(html::declaredEncoding(page, &declared));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
void unclosedMetas(benchmark::State& state) { declaredEncoding(state, "<meta charset"); }
void nestedMetas(benchmark::State& state) { declaredEncoding(state, "<meta <meta x>"); }
// A normal page for comparison: tags that close.
void ordinaryTags(benchmark::State& state) { walk(state, "", "<p>Some text <b>bold</b> &amp; more<br>\r\n"); }

}  // namespace

BENCHMARK(angles)->RangeMultiplier(4)->Range(64 << 10, 1 << 20)->Complexity(benchmark::oN);
BENCHMARK(unterminatedScripts)->RangeMultiplier(4)->Range(64 << 10, 1 << 20)->Complexity(benchmark::oN);
BENCHMARK(unterminatedStyles)->RangeMultiplier(4)->Range(64 << 10, 1 << 20)->Complexity(benchmark::oN);
BENCHMARK(unterminatedComment)->RangeMultiplier(4)->Range(64 << 10, 1 << 20)->Complexity(benchmark::oN);
BENCHMARK(unclosedMetas)->Arg(64 << 10);
BENCHMARK(nestedMetas)->Arg(64 << 10);
BENCHMARK(ordinaryTags)->RangeMultiplier(4)->Range(64 << 10, 1 << 20)->Complexity(benchmark::oN);
