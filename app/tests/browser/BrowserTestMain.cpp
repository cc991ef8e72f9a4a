// The main() of the browser tests: the widget tests' environment, plus what
// Qt WebEngine needs. Its Chromium runs without its sandbox here (tests may
// run as root, where the sandbox refuses to start), and two faults inside
// Qt WebEngine's own library are set aside, there only, so that our code
// stays under the sanitizers: a delete of a mismatched size and the objects
// it keeps until the process ends.
#include "TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <new>

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libQt6WebEngineCore.so\n";
}

namespace {

using SizedDelete = void (*)(void*, std::size_t) noexcept;

// The sanitizer's own sized delete, which checks the size, and the engine
// library's code, whose deletes of a mismatched size it is not asked to check.
std::atomic<SizedDelete> checkedDelete{nullptr};
std::atomic<std::uintptr_t> engineBegin{0};
std::atomic<std::uintptr_t> engineEnd{0};

int findEngine(dl_phdr_info* info, size_t, void*)
{
    if (!info->dlpi_name || !std::strstr(info->dlpi_name, "libQt6WebEngineCore.so"))
        return 0;
    std::uintptr_t begin = UINTPTR_MAX;
    std::uintptr_t end = 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_LOAD)
            continue;
        begin = std::min<std::uintptr_t>(begin, info->dlpi_addr + segment.p_vaddr);
        end = std::max<std::uintptr_t>(end, info->dlpi_addr + segment.p_vaddr + segment.p_memsz);
    }
    engineBegin = begin;
    engineEnd = end;
    return 1;
}

void scopeTheSizeCheck()
{
    dl_iterate_phdr(findEngine, nullptr);
    checkedDelete = reinterpret_cast<SizedDelete>(dlsym(RTLD_NEXT, "_ZdlPvm"));
}

}  // namespace

// Every sized delete of the process passes here: the engine's go to the
// unsized delete, all others to the checking one. The unsized delete stays
// the sanitizer's own, hence no definition of it here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wsized-deallocation"
void operator delete(void* pointer, std::size_t size) noexcept
{
    const auto caller = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
    const SizedDelete checked = checkedDelete.load(std::memory_order_relaxed);
    if (checked && !(caller >= engineBegin.load(std::memory_order_relaxed) &&
                     caller < engineEnd.load(std::memory_order_relaxed)))
        checked(pointer, size);
    else
        ::operator delete(pointer);
}
#pragma GCC diagnostic pop

int main(int argc, char** argv)
{
    scopeTheSizeCheck();
    prepareTestEnvironment();
    ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    // The engine's report of its graphics set-up is noise in a test log.
    ::setenv("QT_LOGGING_RULES", "qt.webenginecontext.info=false", 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
