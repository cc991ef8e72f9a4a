// The PDF helper's extraction through poppler, and the reader's reading of
// what the helper prints. poppler runs as the reader runs it: in a child
// process with a time limit and the helper's fault limit, since on some
// damaged files it loops for minutes, and only a process can be stopped.
// A crash or a sanitizer report in the child is a finding; reaching a limit
// is the reader's ordinary "no text".
#include "FuzzSupport.h"

#include "PdfPages.h"
#include "book/PosixIo.h"
#include "book/import/PdfRescue.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sanitizer/allocator_interface.h>
#include <sanitizer/lsan_interface.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Under the run's 10 s timeout, so the parent sees the child's end.
constexpr unsigned kChildSeconds = 8;
// The child's own endings; any other is a sanitizer's or a crash.
constexpr int kText = 0, kNoText = 3, kGaveUp = 4;

[[noreturn]] void runChild(int out, const uint8_t* data, size_t size)
{
    std::signal(SIGALRM, SIG_DFL);
    ::alarm(kChildSeconds);
    setPdfFaultLimit(kPdfFaultLimit, [] { std::_Exit(kGaveUp); });
    const size_t heldBefore = __sanitizer_get_current_allocated_bytes();
    std::optional<std::string> pages = pdfPagesOfBytes(fuzz::bytesOf(data, size));
    const int ending = pages ? (writeAll(out, pages->data(), pages->size()) ? kText : EXIT_FAILURE) : kNoText;
    pages.reset();
    // _Exit skips the leak check LeakSanitizer makes at exit, so it is made
    // here, and only when the document left memory held: a full check scans
    // the whole inherited heap and would triple the time of every input. A
    // leak ends the child with the sanitizer's exit code.
    if (__sanitizer_get_current_allocated_bytes() > heldBefore)
        __lsan_do_leak_check();
    std::_Exit(ending);
}

}  // namespace

// poppler's globals (parameters, font lists) are made once, here, so that each
// child starts with them and memory a child still holds at its end is the
// document's.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static constexpr char kSmallPdf[] =
        "%PDF-1.4\n1 0 obj<</Type/Catalog/Pages 2 0 R>>endobj\n"
        "2 0 obj<</Type/Pages/Kids[3 0 R]/Count 1>>endobj\n"
        "3 0 obj<</Type/Page/Parent 2 0 R/MediaBox[0 0 200 200]/Contents 4 0 R"
        "/Resources<</Font<</F1<</Type/Font/Subtype/Type1/BaseFont/Helvetica>>>>>>>>endobj\n"
        "4 0 obj<</Length 35>>stream\nBT /F1 12 Tf 20 100 Td (Warm) Tj ET\nendstream endobj\n"
        "trailer<</Root 1 0 R>>\n%%EOF\n";
    (void)pdfPagesOfBytes(std::string_view(kSmallPdf, sizeof kSmallPdf - 1));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        std::abort();
    const pid_t child = ::fork();
    if (child < 0)
        std::abort();
    if (child == 0) {
        ::close(pipeFds[0]);
        runChild(pipeFds[1], data, size);
    }
    ::close(pipeFds[1]);
    std::string pages;
    char buffer[1 << 16];
    // libFuzzer's own timer interrupts the waits now and then.
    for (ssize_t got; (got = ::read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno != EINTR)
            std::abort();
        if (got > 0)
            pages.append(buffer, static_cast<size_t>(got));
    }
    ::close(pipeFds[0]);
    int status = 0;
    pid_t ended;
    while ((ended = ::waitpid(child, &status, 0)) < 0 && errno == EINTR) {
    }
    if (ended != child)
        std::abort();
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)
        return 0;  // the reader's time limit
    if (!WIFEXITED(status) || (WEXITSTATUS(status) != kText && WEXITSTATUS(status) != kNoText &&
                               WEXITSTATUS(status) != kGaveUp)) {
        std::fprintf(stderr, "fuzz_pdfhelper: poppler's child ended with %s %d\n",
                     WIFEXITED(status) ? "status" : "signal", WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
        std::abort();
    }
    if (WEXITSTATUS(status) == kText)
        (void)pdf::paragraphsOfPages(pages);
    return 0;
}
