#include "book/ZlibCodec.h"

#include <zlib.h>

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

}  // namespace zcodec
