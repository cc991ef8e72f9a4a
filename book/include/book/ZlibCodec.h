// The zlib stream of the book file body, and of PDF content streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace zcodec {

// Refuses to inflate beyond this: a small file must not exhaust memory.
inline constexpr size_t kMaxInflated = size_t{1} << 30;

// Deflate at the default level in one finishing pass.
std::optional<std::string> compress(const void* data, size_t size);
// The whole stream, which must end properly; nullopt for a damaged stream or
// one that would inflate beyond `limit`.
std::optional<std::string> uncompress(const void* data, size_t size, size_t limit = kMaxInflated);

// Deflates at the default level what is written to it, a piece at a time,
// and hands the compressed bytes on in chunks: the same bytes compress()
// gives for the whole, however the input is cut.
class Deflater {
public:
    // Takes compressed bytes; false when they could not be put anywhere.
    using Sink = std::function<bool(const char* data, size_t size)>;

    explicit Deflater(Sink sink);
    ~Deflater();
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;

    // False once anything failed; then nothing more is written.
    bool write(const void* data, size_t size);
    // Ends the stream.
    bool finish();

private:
    bool run(int flush);

    struct Stream;
    std::unique_ptr<Stream> m_stream;
    Sink m_sink;
    bool m_ok = true;
};

// Inflates a zlib stream read a piece at a time, never more than `limit`
// bytes in all.
class Inflater {
public:
    // Puts up to `size` compressed bytes into `data` and says how many; 0 at
    // the end of the input, nullopt when it cannot be read.
    using Source = std::function<std::optional<size_t>(char* data, size_t size)>;

    Inflater(Source source, size_t limit = kMaxInflated);
    ~Inflater();
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Fills `data` with the next `size` inflated bytes, or as many as the
    // stream has left when it ends properly before; nullopt for a damaged or
    // cut-off stream, one past the limit, or input that cannot be read. The
    // bytes after the stream's end are never looked at.
    std::optional<size_t> read(char* data, size_t size);

private:
    struct Stream;
    std::unique_ptr<Stream> m_stream;
    Source m_source;
    size_t m_limit;
    bool m_ended = false;
    bool m_failed = false;
};

}  // namespace zcodec
