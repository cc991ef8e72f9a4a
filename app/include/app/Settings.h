// The program's persistent settings: the section "Settings" of the
// application's profile, every key with its default and the clamping applied
// when it is read.
#pragma once

#include <QString>

class QSettings;

struct AppSettings {
    QString openFilePath;  // default: the current folder
    QString saveFilePath;  // default: the program's folder
    int needIndex = 1;
    int needBookmark = 1;
    int flipSpeed = 50;  // below 10 or above 50: 50
    int backPictureIndex = 1;
    int coverPictureOuterIndex = 1;
    int coverPictureInnerIndex = 1;
    int tunedeck = 1;
    int showOneTipDlg = 1;
    int oneTipIndex = -1;
    int showLeftBar = 1;
    int showBottomBar = 1;
    int showRightBar = 1;
    int showStatusBar = 0;
    int language = -1;  // 0 English, 1 Chinese, else: decided from the system
    int windowPositionLeft = 50;  // negative: 10
    int windowPositionTop = 50;   // negative: 10
    int windowWidth = 800;        // below 840: 840, so the first frame is 840 wide
    int windowHeight = 600;       // below 620: 620
    int windowStatus = 0;
    int minWindowPositionLeft = 50;
    int minWindowPositionTop = 50;
    int minWindowPositionRight = 850;
    int minWindowPositionBottom = 650;
    int applyAll = 0;
};

// Reads every key of the group "Settings", absent ones with their defaults.
AppSettings readSettings(QSettings& settings, const QString& currentFolder, const QString& programFolder);
// Writes every key of the group "Settings".
void writeSettings(QSettings& settings, const AppSettings& values);
