// The in-place editors over a page. A tag's text is a multi-line box in the
// tag's colour that wraps at its width and grows with its text; the lines it
// shows are the lines the tag stores, so it takes no more than the tag holds.
// A note page is edited line by line.
#pragma once

#include "book/InPlaceEditor.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStringList>

#include <functional>

class TagEditorBox : public QPlainTextEdit {
    Q_OBJECT

public:
    // In code-page bytes, the line breaks (CR LF) counted too.
    static constexpr int kByteLimit = 298;

    explicit TagEditorBox(QWidget* parent);
    // The lines as the box shows them, wrapped at its width.
    QStringList shownLines() const;
    // Whether text shown as these lines fits the tag: ten lines of 30 bytes.
    static bool fitsTag(const QStringList& lines);
    // Sets the height for the lines the text has now, keeping top and width.
    void fitHeight();
    // Called once when the box loses the focus: the owner commits it.
    std::function<void()> leaving;
    // Called after each change of the text that the box keeps.
    std::function<void()> edited;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Text an input method commits is held to the tag as typed text is.
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Pasted or dropped text: as much of it as the tag holds.
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Restores this text and caret when an edit would not fit the tag.
    void restore(const QString& text, int caret);
    // After an edit from this text and caret: takes it back when it does not
    // fit the tag, else reports it; fits the height either way.
    void keepOrRefuse(const QString& before, int caret);
};

// The tag's handle on its box: the text in page bytes; dropping it removes the box.
class TagEditor : public InPlaceEditor {
public:
    explicit TagEditor(TagEditorBox* box) : m_box(box) {}
    ~TagEditor() override;
    std::string text() const override;
    void hide() override;
    TagEditorBox* box() const { return m_box; }

private:
    QPointer<TagEditorBox> m_box;
};

// One line of a note page edited in place. The lines are chained: Enter and
// Down go to the line below, Up to the line above, the caret after its text.
class NoteLineBox : public QLineEdit {
    Q_OBJECT

public:
    explicit NoteLineBox(QWidget* parent);
    QPointer<NoteLineBox> above, below;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The line's text goes back in the code page the page shows it in.
class NoteLineEditor : public InPlaceEditor {
public:
    NoteLineEditor(NoteLineBox* box, const char* codePage) : m_box(box), m_codePage(codePage) {}
    ~NoteLineEditor() override;
    std::string text() const override;
    void hide() override;
    NoteLineBox* box() const { return m_box; }

private:
    QPointer<NoteLineBox> m_box;
    const char* m_codePage;
};
