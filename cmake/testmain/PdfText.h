// A PDF read back for tests through poppler's command-line tools
// (poppler-utils, which scripts/install-deps installs): each page's size in
// points and its text.
#pragma once

#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

struct PdfPage {
    double width = 0;
    double height = 0;
    std::string text;
};

namespace pdftext {

inline std::optional<std::string> run(const std::string& command)
{
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string out;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    return ::pclose(pipe) == 0 ? std::optional<std::string>(out) : std::nullopt;
}

inline bool available()
{
    return run("command -v pdfinfo >/dev/null && command -v pdftotext >/dev/null").has_value();
}

// The pages of the PDF at `path` (a path without quotes in it), or nothing
// when the tools cannot read it.
inline std::optional<std::vector<PdfPage>> read(const std::string& path)
{
    const std::optional<std::string> info = run("pdfinfo -f 1 -l 100000 '" + path + "' 2>/dev/null");
    if (!info)
        return std::nullopt;
    std::vector<PdfPage> pages;
    std::istringstream lines(*info);
    for (std::string line; std::getline(lines, line);) {
        // "Page    1 size: 841.89 x 595.276 pts (A4)"
        int number = 0;
        PdfPage page;
        if (std::sscanf(line.c_str(), "Page %d size: %lf x %lf", &number, &page.width, &page.height) == 3)
            pages.push_back(page);
    }
    for (size_t n = 0; n < pages.size(); ++n) {
        const std::string page = std::to_string(n + 1);
        const std::optional<std::string> text =
            run("pdftotext -f " + page + " -l " + page + " '" + path + "' - 2>/dev/null");
        if (!text)
            return std::nullopt;
        pages[n].text = *text;
    }
    return pages;
}

}  // namespace pdftext
