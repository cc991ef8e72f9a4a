// The frame's side of the web browser: the panel created hidden with the
// frame, laid over the view on show while the browser mode is on, and the
// book its Read makes opened into the window on show.
#include "app/CMainFrame.h"

#include "app/CBrowserDlg.h"

#include "book/CVersaleoDoc.h"
#include "library/DocumentPictures.h"
#include "library/ProgramFolder.h"

#include <QComboBox>
#include <QEvent>
#include <QStackedWidget>

namespace {

// Keeps the panel over the views wherever the layout puts them.
class CoverKeeper : public QObject {
public:
    CoverKeeper(QWidget* views, QWidget* panel) : QObject(panel), m_views(views), m_panel(panel)
    {
        views->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_views && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
            m_panel->setGeometry(m_views->geometry());
        return false;
    }

private:
    QWidget* m_views;
    QWidget* m_panel;
};

}  // namespace

void CMainFrame::buildBrowser()
{
    m_browser = new CBrowserDlg(programFolder(), this);
    m_browser->hide();
    new CoverKeeper(m_views, m_browser);
    m_browser->backgroundPicture = [this] { return m_pictures.background(); };
    m_browser->closeRequested = [this] { hideBrowser(); };
    m_browser->openPage = [this](const QString& path) {
        // The help window takes no books: the page goes to the first window.
        if (m_doc.activeWindow() == CVersaleoDoc::kHelpWindow)
            switchWindow(1);
        openPaths({path});
    };
}

void CMainFrame::showBrowser()
{
    m_state.browserShown = true;
    m_browser->setGeometry(m_views->geometry());
    m_browser->show();
    m_browser->raise();
    RefreshViews();
}

void CMainFrame::hideBrowser()
{
    if (!m_state.browserShown)
        return;
    m_state.browserShown = false;
    m_browser->hide();
    RefreshViews();
    viewOnShow()->setFocus();
}

QWidget* CMainFrame::focusTarget() const
{
    if (m_state.browserShown)
        return m_browser->addressBox();
    return viewOnShow();
}
