// The frame's part in the search dialog: the view on show turns to each hit.
#include "app/CMainFrame.h"

#include "app/CSearchDlg.h"

#include "CBookViews.h"

void CMainFrame::openSearchDialog()
{
    CSearchDlg dialog(m_doc, !m_state.twoPageMode, this);
    dialog.showPage = [this](int page) { currentView()->turnTo(page); };
    dialog.refreshViews = [this] { RefreshViews(); };
    dialog.showNotice = [this](const QString& caption, const QString& text) { showNotice(caption, text); };
    runDialog(dialog);
}
