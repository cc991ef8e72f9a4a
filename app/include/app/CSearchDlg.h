// The "Search" dialog: finds the typed text in the book pages of the window
// on show, forward with "Next" and backward with "Previous", marks the line
// of each hit and turns the view to its page.
#pragma once

#include "app/CSkinDialog.h"

#include <cstddef>
#include <functional>

class CVersaleoDoc;
class QCheckBox;
class QLabel;
class QLineEdit;

class CSearchDlg : public CSkinDialog {
    Q_OBJECT

public:
    static constexpr int kResourceId = 61;
    static constexpr int kContentId = 370, kTextId = 371, kMatchCaseId = 372, kPreviousId = 373, kNextId = 374,
                         kCloseId = 375;

    // wideLines: the one-page view shows (and so searches) the wide lines.
    CSearchDlg(CVersaleoDoc& doc, bool wideLines, QWidget* parent = nullptr);
    ~CSearchDlg() override;

    void next();
    void previous();
    // Clears the marked line, refreshes the views and closes.
    void closeSearch();

    // Where "Next" goes on and before where "Previous" looks, in the current
    // page's text: the end and the start of the last hit (0 before the first).
    size_t nextFrom() const { return m_hitEnd; }
    size_t previousBefore() const { return m_hitStart; }

    QLineEdit* textEdit() const { return m_text; }
    QCheckBox* matchCaseBox() const { return m_matchCase; }
    CStyleButton* previousButton() const { return m_previous; }
    CStyleButton* nextButton() const { return m_next; }
    CStyleButton* closeSearchButton() const { return m_closeSearch; }

    // The frame's part: the view on show turns to a page; the views refresh;
    // a notice is shown. Tests replace them.
    std::function<void(int page)> showPage;
    std::function<void()> refreshViews;
    std::function<void(const QString& caption, const QString& text)> showNotice;

protected:
    void OnCancel() override;
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void search(bool forward);
    void markLine(int page, int line);

    CVersaleoDoc& m_doc;
    bool m_wideLines;
    // Both ends of the hit on show, so that turning back or forward leaves it.
    size_t m_hitStart = 0;
    size_t m_hitEnd = 0;
    // The page whose line this dialog marked last (-1: none).
    int m_markedPage = -1;
    QLabel* m_content;
    QLineEdit* m_text;
    QCheckBox* m_matchCase;
    CStyleButton* m_previous;
    CStyleButton* m_next;
    CStyleButton* m_closeSearch;
};
