#include "book/import/PdfRescue.h"

#include "book/ChildProcess.h"

#include <algorithm>

namespace pdf {
namespace {

// More is no book: poppler's output is cut here.
constexpr size_t kMaxRescuedBytes = size_t{256} << 20;

}  // namespace

bool needsRescue(size_t textBytes, size_t inflatedBytes)
{
    return textBytes == 0 || textBytes < inflatedBytes / 100;
}

std::string paragraphsOfPages(std::string_view pages)
{
    std::string text;
    text.reserve(pages.size() + pages.size() / 16);
    for (size_t pageStart = 0; pageStart < pages.size();) {
        const size_t pageEnd = std::min(pages.find('\f', pageStart), pages.size());
        const std::string_view page = pages.substr(pageStart, pageEnd - pageStart);
        std::string paragraphs;
        for (size_t lineStart = 0; lineStart < page.size();) {
            const size_t lineEnd = std::min(page.find_first_of("\r\n", lineStart), page.size());
            const std::string_view line = page.substr(lineStart, lineEnd - lineStart);
            if (line.find_first_not_of(" \t") != std::string_view::npos) {
                paragraphs.append(line);
                paragraphs += "\r\n";
            }
            lineStart = lineEnd + (page.substr(lineEnd, 2) == "\r\n" ? 2 : 1);
        }
        // A blank paragraph between pages; a page without text adds none.
        if (!paragraphs.empty() && !text.empty())
            text += "\r\n";
        text += paragraphs;
        pageStart = pageEnd + 1;
    }
    return text;
}

std::optional<std::string> rescueText(const std::string& path, const RescueOptions& options)
{
    ChildOptions child;
    child.timeLimit = options.timeLimit;
    child.captureOutput = true;
    child.outputLimit = kMaxRescuedBytes;
    child.keepGoing = options.keepGoing;
    const std::string helper = options.helper.empty() ? helperPath(kRescueHelperName) : options.helper;
    const ChildResult run = runChild({helper, path}, child);
    if (!run.exited || run.exitCode != 0)
        return std::nullopt;
    return paragraphsOfPages(run.output);
}

}  // namespace pdf
