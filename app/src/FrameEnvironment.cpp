// The frame's part in the environment sheet: what its OK applies, page by
// page, and the reload of the interface after a change of language.
#include "app/CMainFrame.h"

#include "app/CEnvironmentDlg.h"
#include "app/LanguageSetup.h"
#include "app/UiText.h"

#include "book/CVersaleoDoc.h"
#include "library/Settings.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace {

constexpr int kEndDemoText = 9039;

}  // namespace

void CMainFrame::openEnvironmentDialog()
{
    EnvironmentValues values;
    values.needIndex = m_doc.needIndex;
    values.needBookmark = m_doc.needBookmark;
    values.detectChapters = m_doc.detectChapters;
    values.playMusic = m_playMusic;
    // Only the settings hold whether the tip shows at start-up.
    values.showTip = m_settings.read().showOneTipDlg;
    values.flipSpeed = m_doc.flipSpeed;
    values.leftBar = m_showLeftBar ? 1 : 0;
    values.bottomBar = m_showBottomBar ? 1 : 0;
    values.rightBar = m_showRightBar ? 1 : 0;
    values.statusBar = m_showStatusBar ? 1 : 0;
    values.language = ui::language();
    CEnvironmentDlg dialog(values, this);
    dialog.apply = [this](const EnvironmentValues& chosen) { applyEnvironment(chosen); };
    runDialog(dialog);
}

void CMainFrame::applyEnvironment(const EnvironmentValues& values)
{
    // The music already playing goes on: the new choice counts from the next start.
    if (values.playMusic != m_playMusic)
        showNotice(ui::text(4100), ui::text(4208));
    m_doc.needIndex = values.needIndex;
    m_doc.needBookmark = values.needBookmark;
    m_playMusic = values.playMusic;
    m_settings.writeStartOptions(values.needIndex, values.needBookmark, values.playMusic, values.showTip);
    m_doc.detectChapters = values.detectChapters;
    m_settings.writeChapterDetection(values.detectChapters);

    m_showLeftBar = values.leftBar == 1;
    m_showBottomBar = values.bottomBar == 1;
    m_showRightBar = values.rightBar == 1;
    m_showStatusBar = values.statusBar == 1;
    m_settings.writeBarFlags(values.leftBar, values.bottomBar, values.rightBar, values.statusBar);
    // The traditional window keeps its bars until its decorations change.
    if (!m_state.traditionalStyle) {
        showToolBarsByFlags();
        RefreshViews();
    }

    // The next flip reads the new speed.
    m_doc.setFlipSpeed(values.flipSpeed);
    m_settings.writeFlipSpeed(m_doc.flipSpeed);

    if (values.language != ui::language()) {
        m_settings.writeLanguage(values.language);
        reloadLanguage(setUpInterfaceLanguage(m_settings.read().language));
    }
}

void CMainFrame::showToolBarsByFlags()
{
    // The full window and the lantern slide show no bars; they come back by
    // these flags when those end.
    const bool tools = !m_state.fullWindow && !m_state.lanternSlide;
    m_leftBar->setVisible(tools && m_showLeftBar);
    m_rightBar->setVisible(tools && m_showRightBar);
    m_bottomBar->setVisible(tools && m_showBottomBar);
    m_statusBar->setVisible(tools && m_showStatusBar);
    if (m_state.clipWindow)
        applyClipOutline();
}

void CMainFrame::reloadLanguage(int language)
{
    m_language = language;
    for (const cmd::Command& command : cmd::commandTable()) {
        if (QAction* act = action(command.id))
            act->setText(ui::textOr(ui::kMenuLabel + command.id, command.label));
    }
    if (m_endDemo)
        m_endDemo->setText(ui::textOr(kEndDemoText, "End Demo"));
    // The popups go with their old titles; fillMenus makes them anew.
    for (QAction* popup : m_menuBar->actions()) {
        if (popup->menu())
            popup->menu()->deleteLater();
    }
    m_menuBar->clear();
    if (m_state.traditionalStyle)
        fillMenus(nullptr);
    retranslateBars();
    // Every window open now (a dialog, the browser) and every child of one
    // takes its texts again at once.
    QEvent change(QEvent::LanguageChange);
    for (QWidget* window : QApplication::topLevelWidgets())
        QCoreApplication::sendEvent(window, &change);
    RefreshViews();
}
