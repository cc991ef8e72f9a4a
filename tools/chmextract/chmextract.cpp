// versaleo-chm: unpacks the pages of a compiled help file into a folder.
//
//   versaleo-chm OUTPUT-FOLDER FILE.chm
//
// The reader runs it as a child process, so a malformed help file that
// trips the unpacker ends this process, not the reader. Names inside the
// file are hostile: only plain relative names are written, never outside the
// output folder, and sizes are capped.
#include "book/PosixIo.h"

#include <chm_lib.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr unsigned long long kMaxFileBytes = 64ull << 20;
constexpr unsigned long long kMaxTotalBytes = 512ull << 20;

struct Extraction {
    std::string folder;
    unsigned long long total = 0;
    int written = 0;
};

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
    if (parts.empty() || unit->length > kMaxFileBytes || extraction.total + unit->length > kMaxTotalBytes)
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

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: versaleo-chm OUTPUT-FOLDER FILE.chm\n");
        return 2;
    }
    Extraction extraction;
    extraction.folder = argv[1];
    if (::mkdir(argv[1], 0700) != 0 && errno != EEXIST) {
        std::perror(argv[1]);
        return 1;
    }
    chmFile* file = chm_open(argv[2]);
    if (!file) {
        std::fprintf(stderr, "versaleo-chm: %s is not a compiled help file\n", argv[2]);
        return 1;
    }
    chm_enumerate(file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, extractOne, &extraction);
    chm_close(file);
    return extraction.written > 0 ? 0 : 1;
}
