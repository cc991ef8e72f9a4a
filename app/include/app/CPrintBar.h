// The print bar (dialog bar 54): the options of the print view (pages per
// sheet, colour, all or selected pages with the range boxes, the four check
// boxes) and the buttons of the print-mode commands. It shows only with the
// print view; its options go straight to the view, its commands through the
// frame's command table.
#pragma once

#include <QWidget>

#include <map>
#include <vector>

class CPrintView;
class CStyleButton;
class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;

class CPrintBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kResourceId = 54;
    static constexpr int kOnePage = 294, kTwoPage = 295, kColour = 296, kBlackWhite = 297, kAllPages = 298,
                         kSelectedPages = 299, kFrom = 300, kTo = 301, kAddNumber = 302, kPrintTag = 303,
                         kPrintNote = 304, kPrintIndex = 305;

    CPrintBar(CPrintView& view, QWidget* parent = nullptr);

    // Shows the options in force: the chosen buttons pressed, the boxes checked.
    void showOptions();

    // A button or check box of the bar by its control id.
    QAbstractButton* control(int id) const;
    QLineEdit* fromBox() const { return m_from; }
    QLineEdit* toBox() const { return m_to; }
    // The buttons of commands 290-293, for the frame to route and enable.
    const std::vector<CStyleButton*>& commandButtons() const { return m_commands; }

protected:
    // A change of language gives every control its text again.
    void changeEvent(QEvent* event) override;

private:
    CStyleButton* addButton(int id, const char* caption);
    QCheckBox* addCheckBox(int id, const char* caption);

    CPrintView& m_view;
    std::map<int, QAbstractButton*> m_controls;
    // Each control's and label's English text, by control id.
    std::map<int, const char*> m_english;
    std::map<int, QLabel*> m_labels;
    std::vector<CStyleButton*> m_commands;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
};
