#include "OpeningCheck.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <cstring>
#include <string>
#include <string_view>
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
// How much of the directory is read at a time when looking for listing blocks.
constexpr uint64_t kPiece = 1u << 20;

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

// Whether the bytes start with a four-letter signature of the format.
bool hasSignature(const unsigned char* bytes, std::string_view kind)
{
    return std::string_view(reinterpret_cast<const char*>(bytes), 4) == kind;
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
    if (data.size() < kControlDataNeeded || !hasSignature(data.data() + 4, "LZXC"))
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

// Where chmlib reads directory block `page`: the page times the block length
// is added to the directory's place in 64-bit arithmetic, so a negative page
// other than -1 lands before the directory. Blocks lie on one grid, so a
// block's place divided by the block length numbers it: nullopt when the
// block is not wholly inside the file, and chmlib's read of it fails.
struct Directory {
    int fd;
    uint64_t place;
    uint32_t blockLength;
    uint64_t fileSize;

    std::optional<uint64_t> slot(int32_t page) const
    {
        // Both terms are far from overflowing: the directory lies inside the
        // file and |page| * blockLength < 2^51.
        const int64_t at = static_cast<int64_t>(place) + int64_t{page} * blockLength;
        if (at < 0 || static_cast<uint64_t>(at) > fileSize || blockLength > fileSize - static_cast<uint64_t>(at))
            return std::nullopt;
        return static_cast<uint64_t>(at) / blockLength;
    }
    size_t slots() const { return static_cast<size_t>(fileSize / blockLength) + 1; }
    std::optional<std::vector<unsigned char>> read(uint64_t slot) const
    {
        return readAt(fd, slot * blockLength + place % blockLength, blockLength, fileSize);
    }
};

// Where the entries of a directory block end: at its free space, or nowhere
// when the free space claims more than the block.
size_t entriesEnd(const std::vector<unsigned char>& block)
{
    const uint64_t freeSpace = little(block, 4, 4);
    return freeSpace < block.size() ? block.size() - static_cast<size_t>(freeSpace) : 0;
}

// Whether the chain of listing blocks chmlib's enumeration follows from the
// first one ends: it goes on to each block's successor until -1 or a block it
// cannot read, and a chain that comes back on itself never ends.
bool chainEnds(const Directory& directory, int32_t first)
{
    std::vector<bool> seen(directory.slots());
    for (int32_t page = first; page != -1;) {
        const auto slot = directory.slot(page);
        if (!slot)
            return true;
        if (seen[*slot])
            return false;
        seen[*slot] = true;
        const auto block = directory.read(*slot);
        if (!block || !hasSignature(block->data(), "PMGL"))
            return true;
        page = static_cast<int32_t>(little(*block, 16, 4));
    }
    return true;
}

// The blocks an index block may send chmlib's lookup on to, whatever the name
// looked for: each entry names a block. nullopt when an entry runs off the
// block, which sends chmlib reading past its buffer.
std::optional<std::vector<int32_t>> indexChildren(const std::vector<unsigned char>& block)
{
    constexpr size_t kIndexHeader = 8;
    constexpr uint64_t kMaxPath = 512;  // chmlib gives up on a block at a longer name
    std::vector<int32_t> children;
    const size_t end = entriesEnd(block), limit = block.size();
    for (size_t pos = kIndexHeader; pos < end;) {
        const auto nameLength = encInt(block, pos, limit);
        if (!nameLength)
            return std::nullopt;
        if (*nameLength > kMaxPath)
            break;
        if (*nameLength > limit - pos)
            return std::nullopt;
        pos += static_cast<size_t>(*nameLength);
        const auto page = encInt(block, pos, limit);
        if (!page)
            return std::nullopt;
        // chmlib keeps the low 32 bits, as a signed page
        if (const auto child = static_cast<int32_t>(static_cast<uint32_t>(*page)); child != -1)
            children.push_back(child);
    }
    return children;
}

// Whether every way chmlib's lookup can go down the index from its root ends:
// it goes from an index block to a block the index block names until it
// reaches a block of another kind, and an index that leads back to a block on
// its own way never ends. Depth-first with a stack of our own, since a hostile
// index can be as deep as the file has blocks; what is kept per block is one
// byte, for the blocks the file has.
bool indexEnds(const Directory& directory, int32_t root)
{
    enum : unsigned char { kUnseen, kOnWay, kFinished };
    struct Step {
        uint64_t slot;
        std::vector<int32_t> children;
        size_t next = 0;
    };
    std::vector<unsigned char> state(directory.slots(), kUnseen);
    std::vector<Step> way;
    const auto enter = [&](int32_t page) -> bool {
        const auto slot = directory.slot(page);
        if (!slot || state[*slot] == kFinished)
            return true;
        if (state[*slot] == kOnWay)
            return false;
        const auto block = directory.read(*slot);
        if (!block || !hasSignature(block->data(), "PMGI")) {
            state[*slot] = kFinished;
            return true;
        }
        auto children = indexChildren(*block);
        if (!children)
            return false;
        state[*slot] = kOnWay;
        way.push_back({*slot, std::move(*children)});
        return true;
    };
    if (root == -1)
        return true;  // chmlib's lookup has nowhere to start
    if (!enter(root))
        return false;
    while (!way.empty()) {
        if (way.back().next == way.back().children.size()) {
            state[way.back().slot] = kFinished;
            way.pop_back();
            continue;
        }
        const int32_t child = way.back().children[way.back().next++];
        if (!enter(child))
            return false;
    }
    return true;
}

// Whether chmlib may find each of its opening objects in this listing block,
// wherever its lookup leads, and read it without harm.
bool listingBlockIsSafe(const std::vector<unsigned char>& block, int fd, uint64_t content, uint64_t fileSize)
{
    const size_t end = entriesEnd(block);
    // chmlib starts an entry anywhere before the free space and reads it to
    // its end, into the free space if it runs on: so do we.
    const size_t limit = block.size();
    for (size_t pos = 20; pos < end;) {
        // An entry that runs off its block sends chmlib reading past the
        // block's buffer.
        const auto nameLength = encInt(block, pos, limit);
        if (!nameLength || *nameLength > limit - pos)
            return false;
        // chmlib compares names as C strings: a zero byte ends one.
        const char* const text = reinterpret_cast<const char*>(block.data()) + pos;
        const std::string name(text, ::strnlen(text, static_cast<size_t>(*nameLength)));
        pos += static_cast<size_t>(*nameLength);
        const auto space = encInt(block, pos, limit);
        const auto start = encInt(block, pos, limit);
        const auto length = encInt(block, pos, limit);
        if (!space || !start || !length)
            return false;
        const auto named = [&name](std::string_view object) {
            return name.size() == object.size() && ::strncasecmp(name.data(), object.data(), name.size()) == 0;
        };
        if (*space > 1 && std::any_of(std::begin(kOpeningObjects), std::end(kOpeningObjects), named))
            return false;
        if (!named(kControlData) || *length > kMaxControlData)
            continue;  // over the limit, chmlib gives up on the file itself
        if (*space != 0 || content > fileSize || *start > fileSize - content)
            return false;
        const auto data = readAt(fd, content + *start, *length, fileSize);
        if (!data || !controlDataAccepted(*data))
            return false;
    }
    return true;
}

}  // namespace

bool chmOpeningIsSafe(int fd, unsigned long long fileSize)
{
    // The file header: version, the directory's place, and the content's.
    // Whatever chmlib refuses before it looks for the control data is safe.
    const auto header = readAt(fd, 0, std::min<uint64_t>(0x60, fileSize), fileSize);
    if (!header || header->size() < 0x58 || !hasSignature(header->data(), "ITSF"))
        return true;
    const uint64_t version = little(*header, 4, 4);
    if (version >= 3 && header->size() < 0x60)
        return true;
    uint64_t directory = little(*header, 0x48, 8);
    const uint64_t directoryLength = little(*header, 0x50, 8);
    const uint64_t content = version >= 3 ? little(*header, 0x58, 8) : directory + directoryLength;
    const auto itsp = readAt(fd, directory, 0x54, fileSize);
    if (!itsp || !hasSignature(itsp->data(), "ITSP"))
        return true;
    const uint64_t itspLength = little(*itsp, 8, 4);
    const auto blockLength = static_cast<uint32_t>(little(*itsp, 0x10, 4));
    if (blockLength < kMinBlock || blockLength > kMaxBlock || itspLength > fileSize)
        return false;
    directory += itspLength;
    const auto root = static_cast<int32_t>(little(*itsp, 0x1C, 4));
    const auto head = static_cast<int32_t>(little(*itsp, 0x20, 4));
    const Directory blocks{fd, directory, blockLength, fileSize};
    if (!chainEnds(blocks, head) || !indexEnds(blocks, root > -1 ? root : head))
        return false;
    // Any block chmlib's index may lead to is looked at, not only those the
    // directory counts, and a page number may lead before the directory too.
    // Read a piece of many blocks at a time: a hostile file may have small ones.
    const uint64_t perPiece = std::max<uint64_t>(1, kPiece / blockLength);
    for (uint64_t at = directory % blockLength; at <= fileSize && blockLength <= fileSize - at;
         at += perPiece * blockLength) {
        const uint64_t count = std::min<uint64_t>(perPiece, (fileSize - at) / blockLength);
        const auto piece = readAt(fd, at, count * blockLength, fileSize);
        if (!piece)
            return false;
        for (uint64_t i = 0; i < count; ++i) {
            const auto first = piece->begin() + static_cast<std::ptrdiff_t>(i * blockLength);
            if (hasSignature(&*first, "PMGL") &&
                !listingBlockIsSafe(std::vector<unsigned char>(first, first + blockLength), fd, content, fileSize))
                return false;
        }
    }
    return true;
}
