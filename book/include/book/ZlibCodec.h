// The zlib stream of the book file body, and of PDF content streams.
#pragma once

#include <cstddef>
#include <cstdint>
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

}  // namespace zcodec
