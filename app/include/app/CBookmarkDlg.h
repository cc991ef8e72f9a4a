// The "Bookmark" dialog: the title and colour of the bookmark on show, or of
// a new bookmark leaf put into the book at the open spread.
#pragma once

#include "app/CSkinDialog.h"

#include "book/WinTypes.h"

#include <QColor>
#include <QString>

#include <functional>
#include <optional>

class CVersaleoDoc;
class ColourBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace bookmarkdlg {

struct Choice {
    bool update = false;  // the current bookmark; else a new one
    QString title;
    COLORREF colour = 0;
};

// Whether the current page is a bookmark the dialog can update.
bool canUpdate(const CVersaleoDoc& doc);
// The current bookmark's title and colour to update; else a new bookmark in
// the document's bookmark colour.
Choice opening(const CVersaleoDoc& doc);
// OK: the choice applied to both sides of the current bookmark, or a new
// bookmark leaf inserted. False when nothing changed.
bool apply(CVersaleoDoc& doc, const Choice& choice);

}  // namespace bookmarkdlg

class CBookmarkDlg : public CSkinDialog {
    Q_OBJECT

public:
    static constexpr int kResourceId = 69;
    static constexpr int kUpdateId = 401, kAddId = 402, kTitleLabelId = 403, kTitleId = 404, kColourLabelId = 405,
                         kColourId = 406;

    explicit CBookmarkDlg(CVersaleoDoc& doc, QWidget* parent = nullptr);
    ~CBookmarkDlg() override;

    bookmarkdlg::Choice choice() const;

    QRadioButton* updateRadio() const { return m_update; }
    QRadioButton* addRadio() const { return m_add; }
    QLineEdit* titleEdit() const { return m_title; }
    ColourBox* colourBox() const { return m_colour; }

    // How the dialog asks for a colour; tests replace it. Nothing comes back
    // when the reader cancels.
    std::function<std::optional<QColor>(const QColor& start)> askColour;

protected:
    void OnOK() override;

private:
    void chooseColour();

    CVersaleoDoc& m_doc;
    QRadioButton* m_update;
    QRadioButton* m_add;
    QLineEdit* m_title;
    ColourBox* m_colour;
};
