// The frame's part in the background music and the rest reminder: the
// players' end-of-song notification, the two dialogs and timer 3.
#include "app/CMainFrame.h"

#include "app/CMusicDlg.h"
#include "app/CRestTimeDlg.h"
#include "app/MusicState.h"
#include "app/UiText.h"

#include <QTimer>

void CMainFrame::setMusic(MusicState* music, const std::string& folder)
{
    m_music = music;
    m_musicFolder = folder;
    if (m_music)
        m_music->setCallBackWnd(this);
}

void CMainFrame::customEvent(QEvent* event)
{
    if (event->type() != MciNotifyEvent::kType) {
        QWidget::customEvent(event);
        return;
    }
    // Only a song that played to its end moves the ring on.
    if (static_cast<MciNotifyEvent*>(event)->value() == MciNotifyEvent::kNotifySuccessful && m_music)
        m_music->playNext();
}

void CMainFrame::openMusicDialog()
{
    if (!m_music)
        return;
    CMusicDlg dialog(*m_music, m_musicFolder, this);
    runDialog(dialog);
}

void CMainFrame::openRestTimeDialog()
{
    CRestTimeDlg dialog(m_restTime, this);
    if (runDialog(dialog) == QDialog::Accepted)
        setRestTime(dialog.restTime());
}

void CMainFrame::setRestTime(const RestTime& rest)
{
    if (!m_restTimer) {
        m_restTimer = new QTimer(this);
        connect(m_restTimer, &QTimer::timeout, this, &CMainFrame::restTimeTick);
    }
    m_restTimer->stop();
    if (rest.notice != 1) {
        m_restTime.notice = 0;
        return;
    }
    m_restTime = rest;
    const long long interval = resttime::intervalMs(rest);
    // The hours are clamped to 2, so the period fits a timer's int.
    if (interval > 0)
        m_restTimer->start(static_cast<int>(interval));
}

bool CMainFrame::restTimerActive() const
{
    return m_restTimer && m_restTimer->isActive();
}

void CMainFrame::restTimeTick()
{
    // One reminder at a time: a reader away from the desk finds one, not a pile.
    if (m_restNoticeShown)
        return;
    m_restNoticeShown = true;
    showNotice(ui::text(4100), ui::textOr(4206, "It is benefit to your health if you take a rest!"));
    m_restNoticeShown = false;
}
