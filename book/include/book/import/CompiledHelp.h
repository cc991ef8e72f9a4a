// Compiled help files (.chm): unpacked into a temporary folder by our helper
// program, run as a child process with a time limit, and every web page found
// there imported as its own text, smallest file first.
#pragma once

#include "book/Importer.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace chm {

inline constexpr const char* kHelperName = "versaleo-chm";

// Every "htm" or "html" file below folder, at any depth, in ascending order of
// size (equal sizes in the order found). Links are not followed.
std::vector<std::string> collectHtmlFiles(const std::string& folder);

// The helper beside the running program.
std::string defaultHelperPath();

class CompiledHelpImporter : public Importer {
public:
    explicit CompiledHelpImporter(std::string helper = defaultHelperPath(),
                                  std::chrono::milliseconds timeLimit = std::chrono::seconds(60))
        : m_helper(std::move(helper)), m_timeLimit(timeLimit)
    {
    }
    // Reports "Sorry! This isn't supported file type." and fails when the file
    // cannot be copied or unpacked (a helper that hangs or crashes included).
    bool import(CVersaleoDoc& doc, const std::string& path) override;

private:
    std::string m_helper;
    std::chrono::milliseconds m_timeLimit;
};

}  // namespace chm
