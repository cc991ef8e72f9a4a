#include "book/import/WordText.h"

#include "book/ChildProcess.h"
#include "book/CVersaleoDoc.h"
#include "book/CodePage.h"

#include "aidkern/CAKFileManager.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace word {

std::string fileToText(const std::string& path, DocumentNotifier* notifier, std::chrono::milliseconds timeLimit,
                       std::function<bool()> keepGoing)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return {};
    const auto report = [notifier](DocMessage message) {
        if (notifier)
            notifier->showMessage(message);
    };
    const std::string program = findOnPath(kProgram);
    if (program.empty()) {
        report(DocMessage::WordMissing);
        return {};
    }
    // The word processor keeps a profile in HOME and its temporary files in
    // TMPDIR: give it a fresh folder for both, removed however it ends.
    std::string home = (std::filesystem::temp_directory_path() / "versaleo-office-XXXXXX").string();
    if (!::mkdtemp(home.data())) {
        report(DocMessage::InnerError);
        return {};
    }
    ChildOptions options;
    options.timeLimit = timeLimit;
    options.captureOutput = true;
    options.environment = {{"HOME", home}, {"TMPDIR", home}};
    options.keepGoing = std::move(keepGoing);
    const ChildResult run = runChild({program, "--headless", "--cat", path}, options);
    CAKFileManager::AKDeletePath(home);
    if (run.stopped)
        return {};
    if (!run.exited || run.exitCode != 0) {
        report(DocMessage::InnerError);
        return {};
    }
    std::string text = run.output;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.erase(0, 3);
    return codepage::fromUtf8(text);
}

layout::SourceText WordImporter::produceText(CVersaleoDoc& doc, const std::string& path)
{
    return fileToText(path, doc.notifier(), std::chrono::minutes(2),
                      [&doc] { return doc.reportProgress(ImportProgress::kUnknown); });
}

}  // namespace word
