#include "book/ZlibCodec.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

namespace zcodec {

std::optional<std::string> compress(const void* data, size_t size)
{
    z_stream stream{};
    if (deflateInit(&stream, Z_DEFAULT_COMPRESSION) != Z_OK)
        return std::nullopt;
    std::string out(deflateBound(&stream, static_cast<uLong>(size)), '\0');
    stream.next_in = static_cast<Bytef*>(const_cast<void*>(data));
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    const size_t produced = stream.total_out;
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        return std::nullopt;
    out.resize(produced);
    return out;
}

std::optional<std::string> uncompress(const void* data, size_t size, size_t limit)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    std::string out;
    out.resize(std::min(limit, std::max<size_t>(size * 4, 4096)));
    stream.next_in = static_cast<Bytef*>(const_cast<void*>(data));
    stream.avail_in = static_cast<uInt>(size);
    int result = Z_OK;
    for (;;) {
        stream.next_out = reinterpret_cast<Bytef*>(out.data() + stream.total_out);
        stream.avail_out = static_cast<uInt>(out.size() - stream.total_out);
        result = inflate(&stream, Z_FINISH);
        if (result == Z_STREAM_END)
            break;
        // Z_BUF_ERROR with output space used up means: give it more room.
        const bool needsRoom = (result == Z_BUF_ERROR || result == Z_OK) && stream.avail_out == 0;
        if (!needsRoom || out.size() >= limit) {
            inflateEnd(&stream);
            return std::nullopt;
        }
        out.resize(std::min(limit, out.size() * 2));
    }
    out.resize(stream.total_out);
    inflateEnd(&stream);
    return out;
}

namespace {

// Compressed bytes go through buffers of this size, both ways.
constexpr size_t kChunk = 256 * 1024;

}  // namespace

struct Deflater::Stream {
    z_stream z{};
    bool open = false;
    std::vector<char> out = std::vector<char>(kChunk);
};

Deflater::Deflater(Sink sink) : m_stream(std::make_unique<Stream>()), m_sink(std::move(sink))
{
    m_stream->open = deflateInit(&m_stream->z, Z_DEFAULT_COMPRESSION) == Z_OK;
    m_ok = m_stream->open;
}

Deflater::~Deflater()
{
    if (m_stream->open)
        deflateEnd(&m_stream->z);
}

bool Deflater::run(int flush)
{
    z_stream& z = m_stream->z;
    for (;;) {
        z.next_out = reinterpret_cast<Bytef*>(m_stream->out.data());
        z.avail_out = static_cast<uInt>(m_stream->out.size());
        const int result = deflate(&z, flush);
        if (result == Z_STREAM_ERROR)
            return false;
        const size_t produced = m_stream->out.size() - z.avail_out;
        if (produced > 0 && !m_sink(m_stream->out.data(), produced))
            return false;
        if (flush == Z_FINISH ? result == Z_STREAM_END : z.avail_in == 0 && z.avail_out > 0)
            return true;
    }
}

bool Deflater::write(const void* data, size_t size)
{
    const auto* bytes = static_cast<const Bytef*>(data);
    // Pieces that fit zlib's 32-bit counts.
    while (m_ok && size > 0) {
        const size_t piece = std::min<size_t>(size, 1u << 30);
        m_stream->z.next_in = const_cast<Bytef*>(bytes);
        m_stream->z.avail_in = static_cast<uInt>(piece);
        m_ok = run(Z_NO_FLUSH);
        bytes += piece;
        size -= piece;
    }
    return m_ok;
}

bool Deflater::finish()
{
    if (m_ok) {
        m_stream->z.next_in = nullptr;
        m_stream->z.avail_in = 0;
        m_ok = run(Z_FINISH);
    }
    return m_ok;
}

struct Inflater::Stream {
    z_stream z{};
    bool open = false;
    std::vector<char> in = std::vector<char>(kChunk);
};

Inflater::Inflater(Source source, size_t limit)
    : m_stream(std::make_unique<Stream>()), m_source(std::move(source)), m_limit(limit)
{
    m_stream->open = inflateInit(&m_stream->z) == Z_OK;
    m_failed = !m_stream->open;
}

Inflater::~Inflater()
{
    if (m_stream->open)
        inflateEnd(&m_stream->z);
}

std::optional<size_t> Inflater::read(char* data, size_t size)
{
    z_stream& z = m_stream->z;
    size_t done = 0;
    while (!m_failed && !m_ended && done < size) {
        if (z.avail_in == 0) {
            const std::optional<size_t> got = m_source(m_stream->in.data(), m_stream->in.size());
            // Input that ends before the stream does is a cut-off stream.
            if (!got || *got == 0 || *got > m_stream->in.size()) {
                m_failed = true;
                break;
            }
            z.next_in = reinterpret_cast<Bytef*>(m_stream->in.data());
            z.avail_in = static_cast<uInt>(*got);
        }
        const size_t want = std::min<size_t>(size - done, 1u << 30);
        z.next_out = reinterpret_cast<Bytef*>(data + done);
        z.avail_out = static_cast<uInt>(want);
        const int result = inflate(&z, Z_NO_FLUSH);
        done += want - z.avail_out;
        if (z.total_out > m_limit || (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)) {
            m_failed = true;
            break;
        }
        m_ended = result == Z_STREAM_END;
    }
    if (m_failed)
        return std::nullopt;
    return done;
}

}  // namespace zcodec
