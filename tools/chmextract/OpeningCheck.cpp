#include "OpeningCheck.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <cstring>
#include <strings.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::string_view kControlData = "::DataSpace/Storage/MSCompressed/ControlData";
// The objects chmlib reads while opening. It reads them uncompressed only when
// their space is 0 and skips them when it is 1; any other space sends the read
// down the compressed path before its block cache exists, to a division by
// the cache's size, still 0.
constexpr std::string_view kOpeningObjects[] = {
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable",
    "::DataSpace/Storage/MSCompressed/Content",
    kControlData,
};
// Directory blocks of real files are 4 KiB; anything far off is no help file.
constexpr uint32_t kMinBlock = 32, kMaxBlock = 1u << 20;
// chmlib refuses longer control data itself, before it divides.
constexpr uint64_t kMaxControlData = 0x100;
constexpr uint64_t kControlDataNeeded = 24;

std::optional<std::vector<unsigned char>> readAt(int fd, uint64_t offset, uint64_t size, uint64_t fileSize)
{
    if (offset > fileSize || size > fileSize - offset)
        return std::nullopt;
    std::vector<unsigned char> bytes(static_cast<size_t>(size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (got <= 0)
            return std::nullopt;
        done += static_cast<size_t>(got);
    }
    return bytes;
}

uint64_t little(const std::vector<unsigned char>& bytes, size_t at, size_t width)
{
    uint64_t value = 0;
    for (size_t i = width; i-- > 0;)
        value = value << 8 | bytes[at + i];
    return value;
}

// A variable-length number of a directory entry: seven bits a byte, high
// bit set on all but the last. chmlib reads as many bytes as are marked and
// keeps the low 64 bits, so a number too long for them still ends an entry
// where chmlib ends it.
std::optional<uint64_t> encInt(const std::vector<unsigned char>& block, size_t& at, size_t end)
{
    uint64_t value = 0;
    while (at < end) {
        const unsigned char b = block[at++];
        value = value << 7 | (b & 0x7F);
        if ((b & 0x80) == 0)
            return value;
    }
    return std::nullopt;
}

// The checks chmlib's control-data reading makes, in its 32-bit arithmetic.
bool controlDataAccepted(const std::vector<unsigned char>& data)
{
    if (data.size() < kControlDataNeeded || std::string_view(reinterpret_cast<const char*>(data.data()) + 4, 4) != "LZXC")
        return false;
    const auto version = static_cast<uint32_t>(little(data, 8, 4));
    auto resetInterval = static_cast<uint32_t>(little(data, 12, 4));
    auto windowSize = static_cast<uint32_t>(little(data, 16, 4));
    if (version == 2) {
        resetInterval <<= 15;
        windowSize <<= 15;
    }
    return windowSize > 1 && resetInterval != 0 && resetInterval % (windowSize / 2) == 0;
}

// Whether the chain of listing blocks chmlib's enumeration follows from the
// first one ends: it goes on to each block's successor until -1 or a block it
// cannot read, and a chain that comes back on itself never ends.
bool chainEnds(int fd, uint64_t directory, uint32_t blockLength, int32_t first, uint64_t fileSize)
{
    std::set<int32_t> seen;
    for (int32_t page = first; page >= 0;) {
        if (!seen.insert(page).second)
            return false;
        const uint64_t at = directory + uint64_t{static_cast<uint32_t>(page)} * blockLength;
        const auto block = readAt(fd, at, blockLength, fileSize);
        if (!block || std::string_view(reinterpret_cast<const char*>(block->data()), 4) != "PMGL")
            return true;
        page = static_cast<int32_t>(little(*block, 16, 4));
    }
    return true;
}

}  // namespace

bool chmOpeningIsSafe(int fd, unsigned long long fileSize)
{
    // The file header: version, the directory's place, and the content's.
    // Whatever chmlib refuses before it looks for the control data is safe.
    const auto header = readAt(fd, 0, std::min<uint64_t>(0x60, fileSize), fileSize);
    if (!header || header->size() < 0x58 || std::string_view(reinterpret_cast<const char*>(header->data()), 4) != "ITSF")
        return true;
    const uint64_t version = little(*header, 4, 4);
    if (version >= 3 && header->size() < 0x60)
        return true;
    uint64_t directory = little(*header, 0x48, 8);
    const uint64_t directoryLength = little(*header, 0x50, 8);
    const uint64_t content = version >= 3 ? little(*header, 0x58, 8) : directory + directoryLength;
    const auto itsp = readAt(fd, directory, 0x54, fileSize);
    if (!itsp || std::string_view(reinterpret_cast<const char*>(itsp->data()), 4) != "ITSP")
        return true;
    const uint64_t itspLength = little(*itsp, 8, 4);
    const auto blockLength = static_cast<uint32_t>(little(*itsp, 0x10, 4));
    if (blockLength < kMinBlock || blockLength > kMaxBlock || itspLength > fileSize)
        return false;
    directory += itspLength;
    if (!chainEnds(fd, directory, blockLength, static_cast<int32_t>(little(*itsp, 0x20, 4)), fileSize))
        return false;
    // Any block chmlib's index may lead to is looked at, not only those the
    // directory counts.
    for (uint64_t at = directory; at <= fileSize && blockLength <= fileSize - at; at += blockLength) {
        const auto block = readAt(fd, at, blockLength, fileSize);
        if (!block)
            return false;
        if (std::string_view(reinterpret_cast<const char*>(block->data()), 4) != "PMGL")
            continue;
        const uint64_t freeSpace = little(*block, 4, 4);
        const size_t end = freeSpace < blockLength ? blockLength - static_cast<size_t>(freeSpace) : 0;
        // chmlib starts an entry anywhere before the free space and reads it
        // to its end, into the free space if it runs on: so do we.
        const size_t limit = block->size();
        for (size_t pos = 20; pos < end;) {
            // An entry that runs off its block sends chmlib reading past
            // the block's buffer.
            const auto nameLength = encInt(*block, pos, limit);
            if (!nameLength || *nameLength > limit - pos)
                return false;
            // chmlib compares names as C strings: a zero byte ends one.
            const std::string name(reinterpret_cast<const char*>(block->data()) + pos,
                                   ::strnlen(reinterpret_cast<const char*>(block->data()) + pos,
                                             static_cast<size_t>(*nameLength)));
            pos += static_cast<size_t>(*nameLength);
            const auto space = encInt(*block, pos, limit);
            const auto start = encInt(*block, pos, limit);
            const auto length = encInt(*block, pos, limit);
            if (!space || !start || !length)
                return false;
            const bool readOnOpening = std::any_of(std::begin(kOpeningObjects), std::end(kOpeningObjects),
                                                   [&name](std::string_view object) {
                                                       return name.size() == object.size() &&
                                                              ::strncasecmp(name.data(), object.data(), name.size()) == 0;
                                                   });
            if (readOnOpening && *space > 1)
                return false;
            if (name.size() != kControlData.size() || ::strcasecmp(name.c_str(), std::string(kControlData).c_str()) != 0)
                continue;
            if (*length > kMaxControlData)
                continue;  // chmlib gives up on the file itself
            if (*space != 0 || content > fileSize || *start > fileSize - content)
                return false;
            const auto data = readAt(fd, content + *start, *length, fileSize);
            if (!data || !controlDataAccepted(*data))
                return false;
        }
    }
    return true;
}
