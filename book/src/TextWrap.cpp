#include "book/TextWrap.h"

#include "book/Dbcs.h"
#include "book/TextLayout.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_map>

namespace layout {

namespace {

constexpr std::string_view kSpace = " ";

}  // namespace

LineWrapper::LineWrapper(TextMeasurer& measurer, int lineWidth, bool indent)
    : m_measurer(measurer), m_lineWidth(lineWidth), m_indent(indent)
{
}

void LineWrapper::add(std::string_view token)
{
    for (;;) {
        if (m_line.empty() && token == kSpace)
            return;
        if (m_line.empty() && m_paragraphLines == 0 && m_indent)
            append(kIndent, m_measurer.advance(kIndent));
        const int64_t advance = m_measurer.advance(token);
        if (TextMeasurer::toPixels(advance) > m_lineWidth)
            return;
        if (token == kLineEnd) {
            m_line += kLineEnd;
            emit();
            m_paragraphLines = 0;
            return;
        }
        if (TextMeasurer::toPixels(m_advance + advance) <= m_lineWidth || m_line.empty()) {
            append(token, advance);
            return;
        }
        if (m_line.back() == ' ') {
            m_line.pop_back();
            m_advance -= m_measurer.advance(kSpace);
        }
        emit();
        ++m_paragraphLines;
        // the same token starts the next line
    }
}

std::vector<std::string> LineWrapper::finish()
{
    if (!m_line.empty() && m_line.back() != '\n') {
        m_line += kLineEnd;
        emit();
    }
    return std::move(m_lines);
}

void LineWrapper::append(std::string_view text, int64_t advance)
{
    m_line += text;
    m_advance += advance;
}

void LineWrapper::emit()
{
    m_lines.emplace_back(m_line);
    m_line.clear();
    m_advance = 0;
}

namespace {

struct WrapSetting {
    unsigned threads = 0;
    size_t chunkBytes = kWrapChunkBytes;
};

std::mutex g_settingMutex;
WrapSetting g_setting;

WrapSetting wrapSetting()
{
    const std::lock_guard lock(g_settingMutex);
    return g_setting;
}

// Bytes wrapped between two reports of progress: often enough for a dialog
// to answer at once, rarely enough to cost nothing.
constexpr size_t kReportEvery = 256 * 1024;

// The advances of the characters of one text, measured on the calling thread
// before any other thread asks. Read-only afterwards, so any number of
// threads measure with it at once. The measurer is additive, so a string's
// advance is the sum of its characters' as the measurer itself would give.
class CharacterAdvances : public TextMeasurer {
public:
    CharacterAdvances(std::string_view text, TextMeasurer& measurer) : m_double(65536, kUnknown)
    {
        for (int c = 0; c < 256; ++c) {
            const char byte = static_cast<char>(c);
            m_single[static_cast<size_t>(c)] = measurer.advance(std::string_view(&byte, 1));
        }
        for (size_t i = 0; i < text.size();) {
            i = skipSingleBytes(text, i);
            if (i >= text.size())
                break;
            const size_t length = dbcs::charLength(text, i);
            const std::string_view character = text.substr(i, length);
            if (length == 2) {
                int64_t& known = m_double[doubleKey(character)];
                if (known == kUnknown)
                    known = measurer.advance(character);
            } else if (length == 4) {
                const auto [found, added] = m_four.try_emplace(fourKey(character), 0);
                if (added)
                    found->second = measurer.advance(character);
            }
            i += length;
        }
    }

    int64_t advance(std::string_view bytes) override
    {
        int64_t total = 0;
        for (size_t i = 0; i < bytes.size();) {
            const size_t length = dbcs::charLength(bytes, i);
            const std::string_view character = bytes.substr(i, length);
            // Every character a wrapper measures is one of the text, cut as
            // the scan above cut it: the tokens are cut by the same rule, and
            // the indent, the blank and the line end are single bytes.
            if (length == 1) {
                total += m_single[static_cast<unsigned char>(character[0])];
            } else if (length == 2) {
                const int64_t advance = m_double[doubleKey(character)];
                total += advance == kUnknown ? 0 : advance;
            } else {
                const auto found = m_four.find(fourKey(character));
                total += found == m_four.end() ? 0 : found->second;
            }
            i += length;
        }
        return total;
    }

private:
    static constexpr int64_t kUnknown = INT64_MIN;

    static size_t doubleKey(std::string_view character)
    {
        return static_cast<size_t>(static_cast<unsigned char>(character[0])) * 256 +
               static_cast<unsigned char>(character[1]);
    }
    static uint32_t fourKey(std::string_view character)
    {
        uint32_t key = 0;
        for (const char c : character)
            key = key << 8 | static_cast<unsigned char>(c);
        return key;
    }
    // The first high byte at or after `i`, eight bytes a step through plain
    // ASCII.
    static size_t skipSingleBytes(std::string_view text, size_t i)
    {
        constexpr uint64_t kHighBits = 0x8080808080808080ULL;
        while (i + 8 <= text.size()) {
            uint64_t word = 0;
            std::memcpy(&word, text.data() + i, sizeof word);
            if (word & kHighBits)
                break;
            i += 8;
        }
        while (i < text.size() && !dbcs::isHighByte(text[i]))
            ++i;
        return i;
    }

    std::array<int64_t, 256> m_single{};
    std::vector<int64_t> m_double;
    std::unordered_map<uint32_t, int64_t> m_four;
};

// The text cut after line breaks into runs of about chunkBytes: whole
// paragraphs, as a line break always ends a token and the wrapper starts
// afresh after it.
std::vector<std::string_view> paragraphChunks(std::string_view text, size_t chunkBytes)
{
    std::vector<std::string_view> chunks;
    size_t start = 0;
    while (text.size() - start > chunkBytes) {
        const size_t lineFeed = text.find('\n', start + chunkBytes - 1);
        if (lineFeed == std::string_view::npos || lineFeed + 1 == text.size())
            break;
        chunks.push_back(text.substr(start, lineFeed + 1 - start));
        start = lineFeed + 1;
    }
    chunks.push_back(text.substr(start));
    return chunks;
}

// Wraps one chunk; `wrapped` is told every kReportEvery bytes how many have
// been wrapped since it was last told, and stops the wrap by answering false.
template <typename Tell>
std::optional<std::vector<std::string>> wrapChunk(std::string_view chunk, TextMeasurer& measurer, int lineWidth,
                                                  bool indent, Tell wrapped)
{
    LineWrapper wrapper(measurer, lineWidth, indent);
    // Lines of prose hold some forty bytes: rather too much room than a copy.
    wrapper.expectLines(chunk.size() / 32 + 16);
    Tokenizer tokens(chunk, false);
    size_t told = 0;
    for (std::string_view token; tokens.next(token);) {
        wrapper.add(token);
        if (tokens.position() - told >= kReportEvery) {
            if (!wrapped(tokens.position() - told))
                return std::nullopt;
            told = tokens.position();
        }
    }
    if (!wrapped(chunk.size() - told))
        return std::nullopt;
    return wrapper.finish();
}

bool wrapOnThisThread(const std::vector<std::string_view>& chunks, size_t total, TextMeasurer& measurer,
                      int lineWidth, bool indent, const std::function<void(std::vector<std::string>&&)>& take,
                      const std::function<bool(double)>& progress)
{
    size_t done = 0;
    const auto tell = [&](size_t bytes) {
        done += bytes;
        return progress(static_cast<double>(done) / static_cast<double>(total));
    };
    for (const std::string_view chunk : chunks) {
        std::optional<std::vector<std::string>> lines = wrapChunk(chunk, measurer, lineWidth, indent, tell);
        if (!lines)
            return false;
        take(std::move(*lines));
    }
    return true;
}

// The chunks wrapped by worker threads, taken in order by the calling thread
// as they are ready.
class ParallelWrap {
public:
    ParallelWrap(const std::vector<std::string_view>& chunks, TextMeasurer& advances, int lineWidth, bool indent)
        : m_chunks(chunks), m_advances(advances), m_lineWidth(lineWidth), m_indent(indent), m_results(chunks.size())
    {
    }

    // False when progress stopped it; nothing when the system gave no thread
    // at all.
    std::optional<bool> run(unsigned threads, size_t total,
                            const std::function<void(std::vector<std::string>&&)>& take,
                            const std::function<bool(double)>& progress)
    {
        std::vector<std::jthread> workers;
        workers.reserve(threads);
        for (unsigned k = 0; k < threads; ++k) {
            try {
                workers.emplace_back([this](std::stop_token stop) { work(stop); });
            } catch (const std::system_error&) {
                break;  // out of threads: those started take every chunk
            }
        }
        if (workers.empty())
            return std::nullopt;
        double shown = 0;
        for (size_t next = 0; next < m_chunks.size(); ++next) {
            std::unique_lock lock(m_mutex);
            while (!m_results[next].ready) {
                m_changed.wait_for(lock, std::chrono::milliseconds(50));
                lock.unlock();
                shown = std::max(shown, static_cast<double>(m_wrapped.load()) / static_cast<double>(total));
                if (!progress(shown))
                    return false;  // the workers are stopped and joined on the way out
                lock.lock();
            }
            Result result = std::move(m_results[next]);
            lock.unlock();
            if (result.failure)
                std::rethrow_exception(result.failure);
            take(std::move(result.lines));
            shown = std::max(shown, static_cast<double>(m_wrapped.load()) / static_cast<double>(total));
            if (!progress(shown))
                return false;
        }
        return true;
    }

private:
    struct Result {
        bool ready = false;
        std::vector<std::string> lines;
        std::exception_ptr failure;
    };

    void work(const std::stop_token& stop)
    {
        for (size_t k = m_nextChunk++; k < m_chunks.size() && !stop.stop_requested(); k = m_nextChunk++) {
            Result result;
            try {
                auto lines = wrapChunk(m_chunks[k], m_advances, m_lineWidth, m_indent, [&](size_t bytes) {
                    m_wrapped += bytes;
                    return !stop.stop_requested();
                });
                if (!lines)
                    return;
                result.lines = std::move(*lines);
            } catch (...) {
                result.failure = std::current_exception();
            }
            result.ready = true;
            {
                const std::lock_guard lock(m_mutex);
                m_results[k] = std::move(result);
            }
            m_changed.notify_all();
        }
    }

    const std::vector<std::string_view>& m_chunks;
    TextMeasurer& m_advances;
    const int m_lineWidth;
    const bool m_indent;
    std::atomic<size_t> m_nextChunk = 0;
    std::atomic<size_t> m_wrapped = 0;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Result> m_results;
};

unsigned threadsFor(const WrapSetting& setting, size_t chunks)
{
    if (setting.threads == 1)
        return 1;
    if (setting.threads > 1)
        return static_cast<unsigned>(std::min<size_t>(setting.threads, chunks));
    if (chunks < 2)
        return 1;
    return static_cast<unsigned>(std::min<size_t>(std::max(std::thread::hardware_concurrency(), 1u), chunks));
}

}  // namespace

void setWrapThreads(unsigned threads, size_t chunkBytes)
{
    const std::lock_guard lock(g_settingMutex);
    g_setting = {threads, std::max<size_t>(chunkBytes, 1)};
}

bool wrapText(std::string_view text, TextMeasurer& measurer, int lineWidth, bool indent,
              const std::function<void(std::vector<std::string>&&)>& take,
              const std::function<bool(double)>& progress)
{
    if (lineWidth < 100)
        return true;
    const WrapSetting setting = wrapSetting();
    // A line break too wide for the line is dropped, and its paragraph runs
    // on into the next: then the text is one chunk.
    const bool breaksEndParagraphs = TextMeasurer::toPixels(measurer.advance(kLineEnd)) <= lineWidth;
    const std::vector<std::string_view> chunks =
        breaksEndParagraphs ? paragraphChunks(text, setting.chunkBytes) : std::vector<std::string_view>{text};
    const size_t total = std::max<size_t>(text.size(), 1);
    const unsigned threads = threadsFor(setting, chunks.size());
    if (threads <= 1)
        return wrapOnThisThread(chunks, total, measurer, lineWidth, indent, take, progress);

    CharacterAdvances advances(text, measurer);
    ParallelWrap parallel(chunks, advances, lineWidth, indent);
    if (const std::optional<bool> done = parallel.run(threads, total, take, progress))
        return *done;
    return wrapOnThisThread(chunks, total, measurer, lineWidth, indent, take, progress);
}

}  // namespace layout
