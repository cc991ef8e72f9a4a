// versaleo-chm: unpacks the pages of a compiled help file into a folder.
//
//   versaleo-chm OUTPUT-FOLDER FILE.chm
//
// The reader runs it as a child process with a time limit, so a malformed
// help file that trips the unpacker ends this process, not the reader; it
// limits its own memory too, as damaged files drive the unpacker into huge
// allocations.
#include "ChmExtraction.h"

#include <cstdio>
#include <sys/resource.h>

#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer reserves terabytes of address space for its shadow,
// so an address-space limit would stop it from starting: it limits the
// resident memory its own way instead.
extern "C" const char* __asan_default_options()
{
    return "hard_rss_limit_mb=1024";
}
#endif

namespace {

constexpr rlim_t kMemoryLimit = rlim_t{1} << 30;

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: versaleo-chm OUTPUT-FOLDER FILE.chm\n");
        return 2;
    }
#if !defined(__SANITIZE_ADDRESS__)
    const rlimit memory{kMemoryLimit, kMemoryLimit};
    ::setrlimit(RLIMIT_AS, &memory);
#endif
    const int written = extractCompiledHelp(argv[1], argv[2]);
    if (written < 0) {
        std::fprintf(stderr, "versaleo-chm: cannot read %s or make %s\n", argv[2], argv[1]);
        return 1;
    }
    if (written == 0) {
        std::fprintf(stderr, "versaleo-chm: %s holds no page to unpack\n", argv[2]);
        return 1;
    }
    return 0;
}
