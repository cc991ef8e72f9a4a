// Word documents as plain text, through the installed word processor:
// LibreOffice, run headless, prints the document's text.
#pragma once

#include "book/DocumentNotifier.h"
#include "book/TextLayout.h"

#include <chrono>
#include <functional>
#include <string>

namespace word {

inline constexpr const char* kProgram = "soffice";

// The document's text in the system code page. Reports a missing word
// processor (WordMissing) or a failed run (InnerError) through the notifier;
// both give an empty text. A run that keepGoing stops gives an empty text
// and no message.
std::string fileToText(const std::string& path, DocumentNotifier* notifier,
                       std::chrono::milliseconds timeLimit = std::chrono::minutes(2),
                       std::function<bool()> keepGoing = {});

class WordImporter : public layout::TextImporter {
protected:
    layout::SourceText produceText(CVersaleoDoc& doc, const std::string& path) override;
};

}  // namespace word
