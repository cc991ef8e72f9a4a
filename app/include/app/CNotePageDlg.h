// The "Note Page" dialog: the page colour, font and text colour of the note
// page on show, or of a new note leaf put into the book at the open spread.
#pragma once

#include "app/CSkinDialog.h"
#include "app/FontColourDialog.h"

#include "book/WinTypes.h"

#include <functional>
#include <optional>

class CStyleButton;
class CVersaleoDoc;
class ColourBox;
class QRadioButton;
class QWidget;

namespace notepagedlg {

struct Choice {
    bool update = false;  // the current note page; else a new note leaf
    COLORREF background = 0;
    COLORREF textColour = 0;
    LOGFONT font;
};

bool canUpdate(const CVersaleoDoc& doc);
// The current note page's colours and font to update; else a new note leaf
// in the document's note-page style.
Choice opening(const CVersaleoDoc& doc);
// OK: the current note page changed, or a new note leaf inserted. False
// when nothing changed.
bool apply(CVersaleoDoc& doc, const Choice& choice);

}  // namespace notepagedlg

class CNotePageDlg : public CSkinDialog {
    Q_OBJECT

public:
    static constexpr int kResourceId = 71;
    static constexpr int kUpdateId = 441, kAddId = 442, kColourLabelId = 443, kColourId = 444, kFontLabelId = 445,
                         kSampleId = 446, kFontId = 447;

    explicit CNotePageDlg(CVersaleoDoc& doc, QWidget* parent = nullptr);
    ~CNotePageDlg() override;

    const notepagedlg::Choice& choice() const { return m_choice; }

    QRadioButton* updateRadio() const { return m_update; }
    QRadioButton* addRadio() const { return m_add; }
    ColourBox* colourBox() const { return m_colour; }
    CStyleButton* fontButton() const { return m_font; }
    QWidget* sample() const { return m_sample; }

    // How the dialog asks for a colour and for a font with its colour; tests
    // replace them. Nothing comes back when the reader cancels.
    std::function<std::optional<QColor>(const QColor& start)> askColour;
    std::function<std::optional<FontAndColour>(const FontAndColour& start)> askFont;

protected:
    void OnOK() override;

private:
    void chooseColour();
    void chooseFont();
    void showChoice();

    CVersaleoDoc& m_doc;
    notepagedlg::Choice m_choice;
    QRadioButton* m_update;
    QRadioButton* m_add;
    ColourBox* m_colour;
    CStyleButton* m_font;
    QWidget* m_sample;
};
