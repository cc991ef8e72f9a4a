#include "book/import/CompiledHelp.h"

#include "book/ChildProcess.h"
#include "book/CVersaleoDoc.h"
#include "book/Dbcs.h"
#include "book/TextLayout.h"
#include "book/import/HtmlText.h"

#include "aidkern/CAKFileManager.h"
#include "aidkern/CAKPathManager.h"

#include <algorithm>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace chm {
namespace {

struct HtmlFile {
    uint64_t size;
    std::string path;
};

void collect(const std::string& folder, std::vector<HtmlFile>& files, int depth)
{
    if (depth > 64)
        return;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + "/" + name;
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            collect(path, files, depth + 1);
            continue;
        }
        std::string extension;
        if (!S_ISREG(st.st_mode) || CAKPathManager::AKGetFileExtern(path, &extension) != S_OK)
            continue;
        if (!dbcs::equalsNoCase(extension, "htm") && !dbcs::equalsNoCase(extension, "html"))
            continue;
        const HtmlFile file{static_cast<uint64_t>(st.st_size), path};
        const auto at = std::upper_bound(files.begin(), files.end(), file,
                                         [](const HtmlFile& a, const HtmlFile& b) { return a.size < b.size; });
        files.insert(at, file);
    }
}

// Removes the temporary copy and folder however the import ends.
class Scratch {
public:
    ~Scratch()
    {
        if (!copy.empty())
            CAKFileManager::AKDeleteFile(copy);
        if (!folder.empty())
            CAKFileManager::AKDeletePath(folder);
    }
    std::string copy;
    std::string folder;
};

}  // namespace

std::vector<std::string> collectHtmlFiles(const std::string& folder)
{
    std::vector<HtmlFile> files;
    collect(folder, files, 0);
    std::vector<std::string> paths;
    for (HtmlFile& file : files)
        paths.push_back(std::move(file.path));
    return paths;
}

std::string defaultHelperPath()
{
    return helperPath(kHelperName);
}

bool CompiledHelpImporter::import(CVersaleoDoc& doc, const std::string& path)
{
    const auto unsupported = [&doc] {
        if (doc.notifier())
            doc.notifier()->showMessage(DocMessage::UnsupportedType);
        return false;
    };
    Scratch scratch;
    std::string folder, name;
    if (CAKFileManager::AKGetTempPath("", 1, &folder) != S_OK || CAKFileManager::AKGetTempPath("", 0, &name) != S_OK)
        return unsupported();
    std::string stem;
    CAKPathManager::AKGetFilePathNoExtern(name, &stem);
    scratch.copy = stem + ".chm";
    if (CAKFileManager::AKCoverFile(path, scratch.copy) != S_OK) {
        scratch.copy.clear();
        return unsupported();
    }
    scratch.folder = folder;

    ChildOptions options;
    options.timeLimit = m_timeLimit;
    options.keepGoing = [&doc] { return doc.reportProgress(ImportProgress::kUnknown); };
    const ChildResult run = runChild({m_helper, folder, scratch.copy}, options);
    if (run.stopped)
        return false;
    if (!run.started || !run.exited || run.exitCode != 0)
        return unsupported();

    const std::vector<std::string> pages = collectHtmlFiles(folder);
    // A help file without a page that could be unpacked is no help file.
    if (pages.empty())
        return unsupported();
    // Each import inserts at the start of the content: the last goes first.
    size_t done = 0;
    for (auto it = pages.rbegin(); it != pages.rend(); ++it) {
        if (!doc.reportProgress(static_cast<double>(done++) / static_cast<double>(pages.size())) ||
            !layout::importText(doc, *it, html::fileToSource(*it), *doc.bookMeasurer()))
            return false;
    }
    return true;
}

}  // namespace chm
