// The "Delete Bookmark" dialog: when the spread shows the pages of two
// bookmarks, which one the delete or cut takes.
#pragma once

#include "app/CSkinDialog.h"

class QRadioButton;

class CSelectBookmarkDlg : public CSkinDialog {
    Q_OBJECT

public:
    static constexpr int kResourceId = 70;
    static constexpr int kLeftId = 460, kRightId = 461;

    // The side of the current page is chosen first.
    explicit CSelectBookmarkDlg(bool rightFirst, QWidget* parent = nullptr);

    QRadioButton* leftButton() const { return m_left; }
    QRadioButton* rightButton() const { return m_right; }
    bool rightChosen() const;

private:
    QRadioButton* m_left = nullptr;
    QRadioButton* m_right = nullptr;
};
