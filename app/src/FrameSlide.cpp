// The frame's side of the lantern slide: the slide view and its popup,
// entering and leaving the slide with the window around it, and the slide's
// own frame shown or hidden.
#include "app/CMainFrame.h"

#include "app/UiText.h"

#include "library/DocumentPictures.h"

#include "CDemoView.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QStackedWidget>

namespace {

// The text of popup 39's "End Demo", which ends the slide as "Lantern Slide" does.
constexpr int kEndDemoText = 9039;

}  // namespace

void CMainFrame::buildDemoView()
{
    m_demoView = new CDemoView(m_doc, m_pictures);
    m_demoView->pageChanged = [this] {
        m_statusBar->setText(statusLine());
        updateCommands();
    };
    m_demoView->popupMenu = [this](QPoint at) { pagePopup(39)->exec(at); };
    m_views->addWidget(m_demoView);
    m_endDemo = new QAction(ui::textOr(kEndDemoText, "End Demo"), this);
    connect(m_endDemo, &QAction::triggered, this, [this] { runCommand(cmd::LanternSlide); });
}

void CMainFrame::toggleLanternSlide()
{
    if (!m_state.lanternSlide) {
        m_beforeSlide = {geometry(), m_windowStatus, m_restoreRect};
        m_state.lanternSlide = true;
        // The slide shows the lines of the view it starts from.
        m_demoView->setNarrowLines(m_state.twoPageMode);
        setMinimumSize(300, 300);
        showDecorations(m_state.slideFrameShown, false);
        // The slide takes the whole screen; the window stays a window the
        // reader may drag about or make smaller.
        if (const QScreen* screen = this->screen()) {
            const QRect inside = geometry(), outside = frameGeometry();
            const QMargins frame(inside.left() - outside.left(), inside.top() - outside.top(),
                                 outside.right() - inside.right(), outside.bottom() - inside.bottom());
            setGeometry(screen->geometry().marginsRemoved(frame));
        }
        return;
    }
    m_state.lanternSlide = false;
    setMinimumSize(840, 620);
    showDecorations(true, true);
    m_windowStatus = m_beforeSlide.windowStatus;
    m_restoreRect = m_beforeSlide.restoreRect;
    setGeometry(m_beforeSlide.geometry);
}

void CMainFrame::toggleSlideFrame()
{
    m_state.slideFrameShown = !m_state.slideFrameShown;
    showDecorations(m_state.slideFrameShown, false);
}
