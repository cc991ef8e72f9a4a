#include "app/CSplashDlg.h"

#include "library/DocumentPictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

CSplashDlg::CSplashDlg(const std::string& programFolder, int language)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    m_picture = loadPicture(programFolder + (language == 1 ? "/splash_ch.jpg" : "/splash_en.jpg"));
    setFixedSize(400, 300);
}

bool CSplashDlg::showNow()
{
    if (m_picture.isNull())
        return false;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(200, 150));
    show();
    repaint();
    return true;
}

void CSplashDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(rect(), m_picture);
}
