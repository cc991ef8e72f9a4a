// Opening a book until its first spread is composed, as the reader opens a
// file: plain texts of 10 MB (English and Chinese) and 100 MB (English), and
// the .vl book saved from each. Also saving each .vl, as `vltool convert`
// does after opening.
//
// Peak memory is process-wide, so every case runs in a process of its own:
// the benchmark starts this program again with --open-case and reads back
// the time and the peak resident size the case measured in itself.
#include "BenchTexts.h"
#include "book/BookFile.h"
#include "book/CVersaleoDoc.h"
#include "book/ImportProgress.h"
#include "book/Importers.h"
#include "library/DocumentPictures.h"
#include "library/ProgramFolder.h"
#include "views/FontMetrics.h"
#include "views/SpreadPainter.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr size_t kSmall = size_t{10} << 20;
constexpr size_t kLarge = size_t{100} << 20;


// The peak resident size of this process so far, in MB. VmHWM rather than
// getrusage's ru_maxrss: that one survives exec, so a case started through a
// shell that execs could report the driver's peak.
double peakMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Starts the peak again from what is resident now, so that a save's peak is
// the save's and not the opening's before it.
void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Processor time of this process so far, every thread's, in seconds.
double cpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double megabytes(size_t bytes)
{
    return static_cast<double>(bytes) / (1 << 20);
}

// Counts the character cells the pages hold: only the recently used pages
// keep them, so this stays small however big the book is.
size_t cellBytes(const CVersaleoDoc& doc)
{
    size_t bytes = 0;
    for (const auto& page : doc.pages)
        if (page->holdsCells())
            bytes += page->cells().capacity() * sizeof(CharCell);
    return bytes;
}

class SilentProgress : public ImportProgress {
public:
    void begin(const std::string&) override {}
    bool update(double) override { return true; }
    void end() override {}
};

// The reader's document: its settings' defaults, the platform's metrics.
void setUpDocument(CVersaleoDoc& doc)
{
    doc.setMeasurerFactory([](const LOGFONT& font) { return std::make_shared<QtTextMeasurer>(font); });
    registerStandardImporters(doc);
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Opens `path` and composes the first spread. Prints seconds, peak MB,
// cell MB and pages.
int runOpen(const std::string& path)
{
    DocumentPictures pictures(pictureFolder());
    pictures.loadBackground(1);
    pictures.loadOuterCover(1);
    pictures.loadInnerCover(1);
    CVersaleoDoc doc;
    setUpDocument(doc);
    SilentProgress progress;
    doc.setProgress(&progress);
    QImage spread(1280, 800, QImage::Format_RGB32);

    const double cpuBefore = cpuSeconds();
    const Clock::time_point start = Clock::now();
    if (doc.openPath(path) != 1 || doc.pageCount() <= 4)
        return 1;
    SpreadPainter painter(doc, pictures);
    painter.compose(spread);
    const double seconds = secondsSince(start);
    std::printf("%.6f %.3f %.1f %.1f %d\n", seconds, cpuSeconds() - cpuBefore, peakMegabytes(),
                megabytes(cellBytes(doc)), doc.pageCount());
    return 0;
}

// Opens the text at `from` and saves it as the book `to`; the time is the
// save's alone.
int runSave(const std::string& from, const std::string& to)
{
    CVersaleoDoc doc;
    setUpDocument(doc);
    if (doc.openPath(from) != 1 || doc.pageCount() <= 4)
        return 1;
    resetPeak();
    const double cpuBefore = cpuSeconds();
    const Clock::time_point start = Clock::now();
    if (!bookfile::save(doc, to))
        return 1;
    const double seconds = secondsSince(start);
    std::printf("%.6f %.3f %.1f %.1f %d\n", seconds, cpuSeconds() - cpuBefore, peakMegabytes(),
                megabytes(cellBytes(doc)), doc.pageCount());
    return 0;
}

struct CaseResult {
    bool ok = false;
    double seconds = 0;
    double cpuSeconds = 0;
    double peakMB = 0;
    double cellMB = 0;
    int pages = 0;
};

std::string selfPath()
{
    return fs::read_symlink("/proc/self/exe").string();
}

// Runs one case in a new process of this program.
CaseResult runCase(const std::string& mode, const std::string& a, const std::string& b = std::string())
{
    std::string command = "'" + selfPath() + "' --open-case=" + mode + " '" + a + "'";
    if (!b.empty())
        command += " '" + b + "'";
    CaseResult result;
    FILE* child = ::popen(command.c_str(), "r");
    if (!child)
        return result;
    char line[256] = {};
    const bool read = std::fgets(line, sizeof line, child) != nullptr;
    const int status = ::pclose(child);
    if (!read || status != 0)
        return result;
    std::istringstream in(line);
    in >> result.seconds >> result.cpuSeconds >> result.peakMB >> result.cellMB >> result.pages;
    result.ok = !in.fail();
    return result;
}

fs::path scratchFolder()
{
    const fs::path folder = fs::temp_directory_path() / "versaleo-open-bench";
    fs::create_directories(folder);
    return folder;
}

// The test text, written once and kept for later runs.
std::string textFile(const std::string& name, bool chinese, size_t bytes)
{
    const fs::path path = scratchFolder() / (name + ".txt");
    std::error_code error;
    if (fs::file_size(path, error) < bytes || error) {
        const std::string text = chinese ? benchtext::chineseText(bytes) : benchtext::englishText(bytes);
        std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    return path.string();
}

// The book saved from the text, made once with this build.
std::string bookFile(const std::string& name, bool chinese, size_t bytes)
{
    const std::string text = textFile(name, chinese, bytes);
    const fs::path path = scratchFolder() / (name + ".vl");
    std::error_code error;
    if (!fs::exists(path, error) || fs::last_write_time(path, error) < fs::last_write_time(selfPath(), error))
        runCase("save", text, path.string());
    return path.string();
}

// Sums the cases' figures; the counters show their means. The time is the
// wall-clock time, the processor time (all threads) is beside it.
class Report {
public:
    explicit Report(benchmark::State& state) : m_state(state) {}
    ~Report()
    {
        if (m_runs == 0)
            return;
        const double runs = m_runs;
        m_state.counters["cpuMs"] = m_cpu * 1000 / runs;
        m_state.counters["peakMB"] = m_peak / runs;
        m_state.counters["cellMB"] = m_cells / runs;
        m_state.counters["pages"] = m_pages;
    }
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    void add(const CaseResult& result)
    {
        if (!result.ok) {
            m_state.SkipWithError("the case failed");
            return;
        }
        m_state.SetIterationTime(result.seconds);
        ++m_runs;
        m_cpu += result.cpuSeconds;
        m_peak += result.peakMB;
        m_cells += result.cellMB;
        m_pages = result.pages;
    }

private:
    benchmark::State& m_state;
    int m_runs = 0;
    double m_cpu = 0, m_peak = 0, m_cells = 0;
    int m_pages = 0;
};

void openText(benchmark::State& state, const char* name, bool chinese, size_t bytes)
{
    const std::string path = textFile(name, chinese, bytes);
    Report report(state);
    for (auto _ : state)
        report.add(runCase("open", path));
}

void openBook(benchmark::State& state, const char* name, bool chinese, size_t bytes)
{
    const std::string path = bookFile(name, chinese, bytes);
    Report report(state);
    for (auto _ : state)
        report.add(runCase("open", path));
}

void saveBook(benchmark::State& state, const char* name, bool chinese, size_t bytes)
{
    const std::string text = textFile(name, chinese, bytes);
    const std::string path = (scratchFolder() / (std::string(name) + "-saved.vl")).string();
    Report report(state);
    for (auto _ : state)
        report.add(runCase("save", text, path));
    fs::remove(path);
}

#define OPEN_CASES(function)                                                                                  \
    BENCHMARK_CAPTURE(function, english10MB, "english10", false, kSmall)                                      \
        ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);                                      \
    BENCHMARK_CAPTURE(function, chinese10MB, "chinese10", true, kSmall)                                       \
        ->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);                                      \
    BENCHMARK_CAPTURE(function, english100MB, "english100", false, kLarge)                                    \
        ->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond)

OPEN_CASES(openText);
OPEN_CASES(openBook);
OPEN_CASES(saveBook);

int runChild(const std::string& mode, int& argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    if (mode == "open" && argc >= 3)
        return runOpen(argv[2]);
    if (mode == "save" && argc >= 4)
        return runSave(argv[2], argv[3]);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    constexpr std::string_view kCase = "--open-case=";
    if (argc >= 2 && std::string_view(argv[1]).starts_with(kCase))
        return runChild(std::string(argv[1] + kCase.size()), argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
