// The zip container of an EPUB book, read through libzip. The archive comes
// from outside: it is refused whole when an entry's name could point outside
// the book (a ".." part, an absolute path, a drive letter) or is over-long,
// when its entries claim more than the size caps, are too many, or share
// bytes with one another; every read is capped again, since the sizes an
// archive states may lie.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace epub {

inline constexpr uint64_t kMaxTotalBytes = uint64_t{512} << 20;  // inflated, the whole book
inline constexpr uint64_t kMaxEntryBytes = uint64_t{256} << 20;  // inflated, one entry
inline constexpr size_t kMaxNameBytes = 1024;
inline constexpr uint64_t kMaxEntries = 65535;

// Whether an entry name stays inside the book: relative, without "..",
// without a drive letter, at most kMaxNameBytes.
bool isSafeEntryName(std::string_view name);

struct Limits {
    uint64_t total = kMaxTotalBytes;
    uint64_t entry = kMaxEntryBytes;
};

class Archive {
public:
    enum class OpenResult { Opened, Unreadable, Refused };

    explicit Archive(Limits limits = {});
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    OpenResult open(const std::string& path);
    bool contains(const std::string& name) const;
    // Whether the entry is encrypted by the zip itself.
    bool isEncrypted(const std::string& name) const;
    // The inflated bytes of an entry; none when it is missing, cannot be
    // read, or would pass its cap or the book's.
    std::optional<std::string> read(const std::string& name);

private:
    struct Zip;
    std::unique_ptr<Zip> m_zip;
    Limits m_limits;
    uint64_t m_readSoFar = 0;
};

}  // namespace epub
