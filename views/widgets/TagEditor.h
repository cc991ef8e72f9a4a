// The in-place editors over a page. A tag's text is a multi-line box in the
// tag's colour, holding at most ten lines and 298 characters, that grows with
// its text; a note page is edited line by line.
#pragma once

#include "book/InPlaceEditor.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

#include <functional>

class TagEditorBox : public QPlainTextEdit {
    Q_OBJECT

public:
    static constexpr int kCharacterLimit = 298;
    static constexpr int kLineLimit = 10;

    explicit TagEditorBox(QWidget* parent);
    // Sets the height for the lines the text has now, keeping top and width.
    void fitHeight();
    // Called once when the box loses the focus: the owner commits it.
    std::function<void()> leaving;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
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

class NoteLineEditor : public InPlaceEditor {
public:
    explicit NoteLineEditor(NoteLineBox* box) : m_box(box) {}
    ~NoteLineEditor() override;
    std::string text() const override;
    void hide() override;
    NoteLineBox* box() const { return m_box; }

private:
    QPointer<NoteLineBox> m_box;
};
