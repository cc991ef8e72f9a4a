// Path splitting runs for every file the reader opens, lists or imports.
#include "aidkern/CAKPathManager.h"

#include <benchmark/benchmark.h>

namespace {

void splitPath(benchmark::State& state)
{
    const std::string path = "/home/reader/Books/Classics/novel.part1.txt";
    std::string part;
    for (auto _ : state) {
        CAKPathManager::AKGetFileFolder(path, &part);
        CAKPathManager::AKGetFileTitle(path, &part);
        CAKPathManager::AKGetFileExtern(path, &part);
        benchmark::DoNotOptimize(part);
    }
}
BENCHMARK(splitPath);

void checkSubPath(benchmark::State& state)
{
    int result = 0;
    for (auto _ : state) {
        CAKPathManager::AKCheckSubPath("/home/reader/Books", "/home/reader/Books/Classics/a.vl", &result);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(checkSubPath);

}  // namespace
