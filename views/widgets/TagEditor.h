// The in-place editor of a tag's text: a multi-line box in the tag's colour
// over the tag, holding at most ten lines and 298 characters, that grows with
// its text.
#pragma once

#include "book/InPlaceEditor.h"

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
