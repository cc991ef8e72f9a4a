// What the document tells the world while it works. The program answers with
// its message box, wait cursor and view refresh; vltool with stderr.
#pragma once

enum class DocMessage {
    NoFileToOpen,     // "There isn't file to open."
    UnsupportedType,  // "Sorry! This isn't supported file type."
    WordMissing,      // "The Office Word isn't installed or it has been removed."
    InnerError,       // "There is an inner error."
};

// The English text and caption of a message.
const char* messageText(DocMessage message);
const char* messageCaption(DocMessage message);

class DocumentNotifier {
public:
    virtual ~DocumentNotifier() = default;
    virtual void showMessage(DocMessage message) = 0;
    virtual void beginWait() {}
    virtual void endWait() {}
    // The open spread changed: drop cached pictures and repaint.
    virtual void refreshViews() {}
};
