// The "Index" dialog: deletes, retitles or adds an index entry of the
// current book page. The rules of the dialog are plain functions below, so
// they are tested without a window.
#pragma once

#include "app/CSkinDialog.h"

#include <QString>

class CVersaleoDoc;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace indexdlg {

enum Mode { Delete = 0, Update = 1, Add = 2 };

struct Choice {
    Mode mode = Add;
    int selection = -1;  // the entry of the page the dialog works on, -1 for none
    QString title;
};

// How the dialog opens on the book page `page`: on its first entry to
// update, or, without entries, adding one titled "Page n" (string 4602).
Choice opening(const CVersaleoDoc& doc, int page);
// Whether OK can apply the choice: an entry to delete or retitle, a title
// that is not blank to write.
bool applicable(const Choice& choice, int entries);
// OK: the entry removed, retitled or added (titles cut to the field at a
// character boundary), the index rebuilt, the book modified. False when
// nothing changed.
bool apply(CVersaleoDoc& doc, int page, const Choice& choice);

}  // namespace indexdlg

class CIndexDlg : public CSkinDialog {
    Q_OBJECT

public:
    static constexpr int kResourceId = 68;
    static constexpr int kListId = 420, kDeleteId = 421, kUpdateId = 422, kAddId = 423, kTitleLabelId = 424,
                         kTitleId = 425;

    // Works on the document's current page, a book page.
    explicit CIndexDlg(CVersaleoDoc& doc, QWidget* parent = nullptr);
    ~CIndexDlg() override;

    indexdlg::Choice choice() const;

    QRadioButton* modeRadio(indexdlg::Mode mode) const { return m_modes[mode]; }
    QLabel* titleLabel() const { return m_titleLabel; }
    QLineEdit* titleEdit() const { return m_title; }
    QComboBox* entryList() const { return m_list; }

protected:
    void OnOK() override;

private:
    void showMode();

    CVersaleoDoc& m_doc;
    int m_page;
    int m_entries;
    QRadioButton* m_modes[3];
    QLabel* m_titleLabel;
    QLineEdit* m_title;
    QComboBox* m_list;
};
