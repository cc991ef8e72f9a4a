// The frame's annotation commands: the Index, Bookmark and Note Page
// dialogs, and the colours of the mark or tag under the pointer.
#include "app/CMainFrame.h"

#include "app/CBookmarkDlg.h"
#include "app/CIndexDlg.h"
#include "app/CNotePageDlg.h"
#include "app/ColourBox.h"

#include "book/CVersaleoDoc.h"
#include "views/Canvas.h"

#include "CBookViews.h"

void CMainFrame::runAnnotationCommand(int id)
{
    switch (id) {
    case cmd::MarkColour:
    case cmd::TagColour: {
        // The popup's item: the mark or tag the right click selected.
        CBookView* view = currentView();
        const std::optional<COLORREF> current = view->selectedItemColour();
        if (!current)
            return;
        const auto ask = askItemColour ? askItemColour
                                       : [this](const QColor& start) { return askColourDialog(this, start); };
        const std::optional<QColor> chosen = ask(toQColor(*current));
        if (!chosen || !view->recolourSelectedItem(fromQColor(*chosen)))
            return;
        break;
    }
    case cmd::EditIndex: {
        CIndexDlg dialog(m_doc, this);
        if (runDialog(dialog) != QDialog::Accepted)
            return;
        break;
    }
    case cmd::EditBookmark: {
        CBookmarkDlg dialog(m_doc, this);
        if (runDialog(dialog) != QDialog::Accepted)
            return;
        break;
    }
    case cmd::EditNotePage: {
        CNotePageDlg dialog(m_doc, this);
        if (runDialog(dialog) != QDialog::Accepted)
            return;
        break;
    }
    default:
        return;
    }
    // The spread and the statistics line show the change.
    RefreshViews();
}
