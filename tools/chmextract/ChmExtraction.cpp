// The unpacking of a compiled help file's pages into a folder, shared by the
// helper program and the fuzzing harness.
#include "ChmExtraction.h"

#include "OpeningCheck.h"
#include "book/PosixIo.h"

#include <chm_lib.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr unsigned long long kMaxFileBytes = 64ull << 20;
constexpr unsigned long long kMaxTotalBytes = 512ull << 20;

constexpr const char* kControlData = "::DataSpace/Storage/MSCompressed/ControlData";
constexpr const char* kResetTable =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";

struct Extraction {
    std::string folder;
    uint64_t fileSize = 0;
    // The length of the compressed section's content, when its parameters are sound.
    std::optional<uint64_t> compressedLength;
    unsigned long long total = 0;
    int written = 0;
};

uint32_t u32(const std::vector<unsigned char>& bytes, size_t at)
{
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
           static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

uint64_t u64(const std::vector<unsigned char>& bytes, size_t at)
{
    return static_cast<uint64_t>(u32(bytes, at)) | static_cast<uint64_t>(u32(bytes, at + 4)) << 32;
}

// Whether a unit of the uncompressed section lies inside the file.
bool insideFile(const chmUnitInfo& unit, uint64_t fileSize)
{
    return unit.space == CHM_UNCOMPRESSED && unit.start <= fileSize && unit.length <= fileSize - unit.start;
}

// A small object of the uncompressed section, read whole.
std::optional<std::vector<unsigned char>> readTable(chmFile* file, const char* path, uint64_t fileSize)
{
    chmUnitInfo unit{};
    if (chm_resolve_object(file, path, &unit) != CHM_RESOLVE_SUCCESS || !insideFile(unit, fileSize) ||
        unit.length > 1u << 20)
        return std::nullopt;
    std::vector<unsigned char> bytes(static_cast<size_t>(unit.length));
    const auto length = static_cast<LONGINT64>(unit.length);
    if (length > 0 && chm_retrieve_object(file, &unit, bytes.data(), 0, length) != length)
        return std::nullopt;
    return bytes;
}

// The compressed section's content length when its LZX control data and
// reset table are sound: the unpacker divides by the block length, by half
// the window and by the blocks between resets.
std::optional<uint64_t> soundCompressedLength(chmFile* file, uint64_t fileSize)
{
    const auto control = readTable(file, kControlData, fileSize);
    const auto reset = readTable(file, kResetTable, fileSize);
    // control: dword count, "LZXC", version, reset interval, window size, windows per reset
    if (!control || !reset || control->size() < 24 || reset->size() < 40 ||
        std::memcmp(control->data() + 4, "LZXC", 4) != 0)
        return std::nullopt;
    const uint32_t version = u32(*control, 8);
    uint64_t resetInterval = u32(*control, 12), windowSize = u32(*control, 16);
    const uint64_t windowsPerReset = u32(*control, 20);
    if (version == 2) {
        // counted in 32 KiB units
        resetInterval *= 0x8000;
        windowSize *= 0x8000;
    } else if (version != 1) {
        return std::nullopt;
    }
    // LZX windows are powers of two from 32 KiB to 2 MiB.
    if (windowSize < 0x8000 || windowSize > 0x200000 || (windowSize & (windowSize - 1)) != 0)
        return std::nullopt;
    const uint64_t blocksPerReset = resetInterval / (windowSize / 2) * windowsPerReset;
    if (blocksPerReset == 0 || blocksPerReset > 1u << 16)
        return std::nullopt;
    // reset table: version, block count, entry size, table offset, then the
    // uncompressed length, the compressed length and the block length
    const uint64_t blockCount = u32(*reset, 4), tableOffset = u32(*reset, 12);
    const uint64_t uncompressed = u64(*reset, 16), compressed = u64(*reset, 24), blockLength = u64(*reset, 32);
    if (blockLength == 0 || blockLength > 1u << 24 || tableOffset > reset->size() ||
        blockCount > (reset->size() - tableOffset) / 8 || compressed > fileSize ||
        uncompressed > blockCount * blockLength)
        return std::nullopt;
    return uncompressed;
}

// Whether the unpacker may be asked for this unit at all.
bool consistent(const chmUnitInfo& unit, const Extraction& extraction)
{
    if (unit.space == CHM_UNCOMPRESSED)
        return insideFile(unit, extraction.fileSize);
    if (unit.space != CHM_COMPRESSED || !extraction.compressedLength)
        return false;
    const uint64_t length = *extraction.compressedLength;
    return unit.start <= length && unit.length <= length - unit.start;
}

// The path's components when every one is a plain name; empty otherwise.
std::vector<std::string> safeComponents(const char* path)
{
    std::vector<std::string> parts;
    std::string part;
    for (const char* p = path;; ++p) {
        if (*p == '/' || *p == '\0') {
            if (!part.empty()) {
                if (part == "." || part == "..")
                    return {};
                parts.push_back(part);
            }
            part.clear();
            if (*p == '\0')
                break;
        } else if (*p == '\\' || static_cast<unsigned char>(*p) < 0x20) {
            return {};
        } else {
            part += *p;
        }
    }
    return parts;
}

int extractOne(chmFile* file, chmUnitInfo* unit, void* context)
{
    auto& extraction = *static_cast<Extraction*>(context);
    const std::vector<std::string> parts = safeComponents(unit->path);
    if (parts.empty() || !consistent(*unit, extraction) || unit->length > kMaxFileBytes ||
        extraction.total + unit->length > kMaxTotalBytes)
        return CHM_ENUMERATOR_CONTINUE;
    std::string path = extraction.folder;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        path += "/" + parts[i];
        ::mkdir(path.c_str(), 0755);
    }
    path += "/" + parts.back();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return CHM_ENUMERATOR_CONTINUE;
    std::vector<unsigned char> buffer(1 << 16);
    unsigned long long offset = 0;
    bool ok = true;
    while (ok && offset < unit->length) {
        const auto want = static_cast<LONGINT64>(std::min<unsigned long long>(buffer.size(), unit->length - offset));
        const LONGINT64 got = chm_retrieve_object(file, unit, buffer.data(), offset, want);
        if (got <= 0)
            break;
        ok = writeAll(fd, buffer.data(), static_cast<size_t>(got));
        offset += static_cast<unsigned long long>(got);
    }
    ::close(fd);
    extraction.total += offset;
    ++extraction.written;
    return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

int extractCompiledHelp(const char* folder, const char* path)
{
    Extraction extraction;
    extraction.folder = folder;
    struct stat st;
    if (::stat(path, &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    extraction.fileSize = static_cast<uint64_t>(st.st_size);
    if (::mkdir(folder, 0700) != 0 && errno != EEXIST)
        return -1;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    const bool safe = fd >= 0 && chmOpeningIsSafe(fd, extraction.fileSize);
    if (fd >= 0)
        ::close(fd);
    if (!safe)
        return 0;
    chmFile* file = chm_open(path);
    if (!file)
        return 0;
    extraction.compressedLength = soundCompressedLength(file, extraction.fileSize);
    chm_enumerate(file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, extractOne, &extraction);
    chm_close(file);
    return extraction.written;
}
