// The environment every test program runs in: headless Qt, a private runtime
// folder, and leak checking that ignores the caches system libraries keep
// for the life of the process.
#pragma once

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Defines the leak checker's suppressions; used once, beside main(), so the
// linker keeps it.
#define VERSALEO_LEAK_SUPPRESSIONS()                                                                        \
    extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

inline void prepareTestEnvironment()
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const std::string runtime = "/tmp/versaleo-tests-" + std::to_string(::geteuid());
        ::mkdir(runtime.c_str(), 0700);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }
}
