// An edit window the views open over a page (a note line, a tag's text). The
// page owns it while it is open: committing reads its text, then hides and
// destroys it; discarding only hides and destroys it.
#pragma once

#include <string>

class InPlaceEditor {
public:
    virtual ~InPlaceEditor() = default;  // destroys the window
    // The edited text; lines of a multi-line editor end with "\r\n".
    virtual std::string text() const = 0;
    virtual void hide() = 0;
};
