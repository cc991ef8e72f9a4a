// What the document tells the world while it works. The program answers with
// its message box, wait cursor and view refresh; vltool with stderr.
#pragma once

#include <string>

enum class DocMessage {
    NoFileToOpen,     // "There isn't file to open."
    UnsupportedType,  // "Sorry! This isn't supported file type."
    WordMissing,      // "The Office Word isn't installed or it has been removed."
    InnerError,       // "There is an inner error."
    DamagedFile,      // "Fail to open %s: the file is damaged." (a file message)
    LockedBook,       // "%s is locked by DRM: only the program of its seller can open it." (a file message)
};

// The English text and caption of a message.
const char* messageText(DocMessage message);
const char* messageCaption(DocMessage message);
// The English text of a message about one file, the file's path in its place.
std::string fileMessageText(DocMessage message, const std::string& path);
// `pattern` with its one "%s" replaced by `path` (no other conversion).
std::string withPath(const std::string& pattern, const std::string& path);

class DocumentNotifier {
public:
    virtual ~DocumentNotifier() = default;
    virtual void showMessage(DocMessage message) = 0;
    // A message about one file, naming it. Notifiers that cannot name it
    // show the plain message.
    virtual void showFileMessage(DocMessage message, const std::string& path)
    {
        (void)path;
        showMessage(message);
    }
    virtual void beginWait() {}
    virtual void endWait() {}
    // The open spread changed: drop cached pictures and repaint.
    virtual void refreshViews() {}
};
