// Hostile zip archives made on the spot for the tests of the archive readers:
// every byte is written here, nothing is downloaded or committed.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zipbombs {

inline void put16(std::string& out, uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

inline void put32(std::string& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

inline std::string rawDeflate(const std::string& content)
{
    z_stream z{};
    deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, static_cast<uLong>(content.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
    z.avail_in = static_cast<uInt>(content.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// One deflated entry, named names[0], and a central directory listing every
// name at that same entry: each name inflates to the whole content while the
// archive holds its compressed bytes once.
inline std::string overlappingArchive(const std::vector<std::string>& names, const std::string& content)
{
    const std::string data = rawDeflate(content);
    const auto crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(content.data()),
                                                 static_cast<uInt>(content.size())));
    const auto fields = [&](std::string& out) {
        put16(out, 20);  // version needed
        put16(out, 0);   // flags
        put16(out, 8);   // deflated
        put32(out, 0);   // time and date
        put32(out, crc);
        put32(out, static_cast<uint32_t>(data.size()));
        put32(out, static_cast<uint32_t>(content.size()));
    };
    std::string archive;
    put32(archive, 0x04034b50);
    fields(archive);
    put16(archive, static_cast<uint32_t>(names[0].size()));
    put16(archive, 0);
    archive += names[0] + data;
    const auto directoryAt = static_cast<uint32_t>(archive.size());
    for (const std::string& name : names) {
        put32(archive, 0x02014b50);
        put16(archive, 20);  // version made by
        fields(archive);
        put16(archive, static_cast<uint32_t>(name.size()));
        put16(archive, 0);  // extra
        put16(archive, 0);  // comment
        put16(archive, 0);  // disk
        put16(archive, 0);  // internal attributes
        put32(archive, 0);  // external attributes
        put32(archive, 0);  // the one local header
        archive += name;
    }
    const auto directorySize = static_cast<uint32_t>(archive.size()) - directoryAt;
    put32(archive, 0x06054b50);
    put32(archive, 0);  // disks
    put16(archive, static_cast<uint32_t>(names.size()));
    put16(archive, static_cast<uint32_t>(names.size()));
    put32(archive, directorySize);
    put32(archive, directoryAt);
    put16(archive, 0);
    return archive;
}

}  // namespace zipbombs
