#include "ziplayout/ZipLayout.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ziplayout {

namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kEnd64LocatorSignature = 0x07064b50;
constexpr uint32_t kEnd64Signature = 0x06064b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr size_t kEndSize = 22;
constexpr size_t kEnd64LocatorSize = 20;
constexpr size_t kEnd64Size = 56;
constexpr size_t kCentralSize = 46;
constexpr size_t kLocalSize = 30;
constexpr uint16_t kZip64ExtraId = 0x0001;
// The end record sits within its own size plus the longest comment of the end.
constexpr uint64_t kEndSearchBytes = kEndSize + 0xFFFF;
// Far beyond any directory of a book or a skin; a larger one is not read.
constexpr uint64_t kMaxDirectoryBytes = uint64_t{64} << 20;

// Little-endian fields of a byte range that knows how many bytes are left.
class Cursor {
public:
    Cursor(const uint8_t* data, size_t size) : m_data(data), m_left(size) {}

    template <typename T>
    bool read(T& value)
    {
        if (m_left < sizeof(T))
            return false;
        value = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            value = static_cast<T>(value | static_cast<T>(static_cast<T>(m_data[i]) << (8 * i)));
        advance(sizeof(T));
        return true;
    }
    const uint8_t* take(size_t n)
    {
        if (m_left < n)
            return nullptr;
        const uint8_t* at = m_data;
        advance(n);
        return at;
    }
    bool skip(size_t n) { return take(n) != nullptr; }
    size_t left() const { return m_left; }

private:
    void advance(size_t n)
    {
        m_data += n;
        m_left -= n;
    }
    const uint8_t* m_data;
    size_t m_left;
};

class File {
public:
    explicit File(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        struct stat st {};
        if (m_fd >= 0 && ::fstat(m_fd, &st) == 0 && st.st_size > 0)
            m_size = static_cast<uint64_t>(st.st_size);
    }
    ~File()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    uint64_t size() const { return m_size; }
    // Exactly n bytes at offset, or none.
    std::optional<std::vector<uint8_t>> read(uint64_t offset, uint64_t n) const
    {
        if (m_fd < 0 || offset > m_size || n > m_size - offset)
            return std::nullopt;
        std::vector<uint8_t> bytes(static_cast<size_t>(n));
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::pread(m_fd, bytes.data() + done, bytes.size() - done,
                                        static_cast<off_t>(offset + done));
            if (got <= 0)
                return std::nullopt;
            done += static_cast<size_t>(got);
        }
        return bytes;
    }

private:
    int m_fd;
    uint64_t m_size = 0;
};

struct Entry {
    std::string name;
    uint64_t compressedSize = 0;
    uint64_t size = 0;
    uint64_t localOffset = 0;
};

struct Directory {
    uint64_t entries = 0;
    uint64_t offset = 0;
    uint64_t size = 0;
};

// The directories an end record at `at` may describe: its own fields taken
// as they stand, and, where a Zip64 locator precedes it, the Zip64 end
// record's, which libzip reads instead whether or not a field is saturated.
// Each is one the end record's position leaves room for.
std::vector<Directory> directoriesOf(const File& file, uint64_t at)
{
    std::vector<Directory> directories;
    const auto end = file.read(at, kEndSize);
    if (!end)
        return directories;
    Cursor c(end->data(), end->size());
    uint32_t signature = 0, size = 0, offset = 0;
    uint16_t disk = 0, directoryDisk = 0, onDisk = 0, entries = 0;
    c.read(signature);
    c.read(disk);
    c.read(directoryDisk);
    c.read(onDisk);
    c.read(entries);
    c.read(size);
    c.read(offset);
    if (signature != kEndSignature)
        return directories;
    if (uint64_t{offset} + size <= at)
        directories.push_back(Directory{entries, offset, size});
    if (at < kEnd64LocatorSize)
        return directories;
    const auto locator = file.read(at - kEnd64LocatorSize, kEnd64LocatorSize);
    if (!locator)
        return directories;
    Cursor l(locator->data(), locator->size());
    uint32_t locatorSignature = 0, end64Disk = 0;
    uint64_t end64At = 0;
    l.read(locatorSignature);
    l.read(end64Disk);
    l.read(end64At);
    if (locatorSignature != kEnd64LocatorSignature)
        return directories;
    const auto end64 = file.read(end64At, kEnd64Size);
    if (!end64)
        return directories;
    Cursor e(end64->data(), end64->size());
    uint32_t end64Signature = 0;
    e.read(end64Signature);
    e.skip(8 + 2 + 2 + 4 + 4 + 8);  // record size, versions, disks, entries on this disk
    Directory directory;
    e.read(directory.entries);
    e.read(directory.size);
    e.read(directory.offset);
    // libzip bounds this directory more loosely than by the end record; the
    // file's end bounds it for certain.
    if (end64Signature == kEnd64Signature && directory.offset <= file.size() &&
        directory.size <= file.size() - directory.offset)
        directories.push_back(directory);
    return directories;
}

// The saturated fields of a central header, from its Zip64 extra field.
bool widen(Cursor extra, Entry& entry, bool wideSize, bool wideCompressed, bool wideOffset)
{
    while (extra.left() >= 4) {
        uint16_t id = 0, length = 0;
        extra.read(id);
        extra.read(length);
        const uint8_t* body = extra.take(length);
        if (!body)
            return false;
        if (id != kZip64ExtraId)
            continue;
        Cursor z(body, length);
        return (!wideSize || z.read(entry.size)) && (!wideCompressed || z.read(entry.compressedSize)) &&
               (!wideOffset || z.read(entry.localOffset));
    }
    return !wideSize && !wideCompressed && !wideOffset;
}

std::optional<std::vector<Entry>> entriesOf(const File& file, const Directory& directory)
{
    if (directory.size > kMaxDirectoryBytes || directory.entries > directory.size / kCentralSize)
        return std::nullopt;
    const auto bytes = file.read(directory.offset, directory.size);
    if (!bytes)
        return std::nullopt;
    Cursor c(bytes->data(), bytes->size());
    std::vector<Entry> entries(static_cast<size_t>(directory.entries));
    for (Entry& entry : entries) {
        uint32_t signature = 0, compressedSize = 0, size = 0, localOffset = 0;
        uint16_t nameLength = 0, extraLength = 0, commentLength = 0;
        if (!c.read(signature) || signature != kCentralSignature || !c.skip(16) || !c.read(compressedSize) ||
            !c.read(size) || !c.read(nameLength) || !c.read(extraLength) || !c.read(commentLength) ||
            !c.skip(8) || !c.read(localOffset))
            return std::nullopt;
        const uint8_t* name = c.take(nameLength);
        const uint8_t* extra = c.take(extraLength);
        if (!name || !extra || !c.skip(commentLength))
            return std::nullopt;
        entry.name.assign(reinterpret_cast<const char*>(name), nameLength);
        entry.compressedSize = compressedSize;
        entry.size = size;
        entry.localOffset = localOffset;
        if (!widen(Cursor(extra, extraLength), entry, size == 0xFFFFFFFF, compressedSize == 0xFFFFFFFF,
                   localOffset == 0xFFFFFFFF))
            return std::nullopt;
    }
    return entries;
}

// Whether these are the entries libzip lists, index for index.
bool sameAsListed(const std::vector<Entry>& entries, zip_t* archive)
{
    if (zip_get_num_entries(archive, ZIP_FL_UNCHANGED) != static_cast<zip_int64_t>(entries.size()))
        return false;
    for (size_t i = 0; i < entries.size(); ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive, i, ZIP_FL_UNCHANGED | ZIP_FL_ENC_RAW, &st) != 0)
            return false;
        const bool named = (st.valid & ZIP_STAT_NAME) && st.name && entries[i].name == st.name;
        const bool sized = (st.valid & ZIP_STAT_SIZE) && (st.valid & ZIP_STAT_COMP_SIZE) &&
                           st.size == entries[i].size && st.comp_size == entries[i].compressedSize;
        if (!named || !sized)
            return false;
    }
    return true;
}

struct Span {
    uint64_t begin = 0;
    uint64_t end = 0;
};

// An entry's bytes: the local header, the name and extra field the local
// header gives (the central ones where it cannot be read), then the data.
Span spanOf(const File& file, const Entry& entry)
{
    uint64_t header = kLocalSize + entry.name.size();
    if (const auto local = file.read(entry.localOffset, kLocalSize)) {
        Cursor c(local->data(), local->size());
        uint32_t signature = 0;
        uint16_t nameLength = 0, extraLength = 0;
        c.read(signature);
        c.skip(22);
        c.read(nameLength);
        c.read(extraLength);
        if (signature == kLocalSignature)
            header = kLocalSize + uint64_t{nameLength} + extraLength;
    }
    const uint64_t end = entry.localOffset + header + entry.compressedSize;
    return {entry.localOffset, end < entry.localOffset ? UINT64_MAX : end};
}

bool disjoint(const File& file, const std::vector<Entry>& entries)
{
    std::vector<Span> spans;
    spans.reserve(entries.size());
    for (const Entry& entry : entries)
        spans.push_back(spanOf(file, entry));
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });
    for (size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].begin < spans[i - 1].end)
            return false;
    }
    return true;
}

}  // namespace

bool entriesAreDisjoint(const std::string& path, zip_t* archive)
{
    const File file(path);
    if (!archive || file.size() < kEndSize)
        return false;
    // libzip chooses among the end records near the end of the file by its
    // own measure; every one that describes what libzip lists is checked.
    const uint64_t from = file.size() > kEndSearchBytes ? file.size() - kEndSearchBytes : 0;
    const auto tail = file.read(from, file.size() - from);
    if (!tail)
        return false;
    const zip_int64_t listed = zip_get_num_entries(archive, ZIP_FL_UNCHANGED);
    bool matched = false;
    for (size_t at = tail->size() - kEndSize + 1; at-- > 0;) {
        uint32_t signature = 0;
        Cursor(tail->data() + at, kEndSize).read(signature);
        if (signature != kEndSignature)
            continue;
        // Cheap refusals first: a comment may hold many false end records.
        for (const Directory& directory : directoriesOf(file, from + at)) {
            if (directory.entries != static_cast<uint64_t>(listed))
                continue;
            const auto entries = entriesOf(file, directory);
            if (!entries || !sameAsListed(*entries, archive))
                continue;
            if (!disjoint(file, *entries))
                return false;
            matched = true;
        }
    }
    return matched;
}

}  // namespace ziplayout
