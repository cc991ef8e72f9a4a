#include "app/Settings.h"

#include <QSettings>

namespace {

int readInt(QSettings& settings, const char* key, int fallback)
{
    bool ok = false;
    const int value = settings.value(QLatin1String(key), fallback).toInt(&ok);
    return ok ? value : fallback;
}

// Every integer key, with the member it lives in; one list for reading and writing.
template <typename Settings, typename F>
void forEachIntKey(Settings& s, F f)
{
    f("NeedIndex", s.needIndex);
    f("NeedBookmark", s.needBookmark);
    f("FlipSpeed", s.flipSpeed);
    f("BackPictureIndex", s.backPictureIndex);
    f("CoverPictureOuterIndex", s.coverPictureOuterIndex);
    f("CoverPictureInnerIndex", s.coverPictureInnerIndex);
    f("Tunedeck", s.tunedeck);
    f("ShowOneTipDlg", s.showOneTipDlg);
    f("OneTipIndex", s.oneTipIndex);
    f("ShowLeftBar", s.showLeftBar);
    f("ShowBottomBar", s.showBottomBar);
    f("ShowRightBar", s.showRightBar);
    f("ShowStatusBar", s.showStatusBar);
    f("Language", s.language);
    f("WindowPositionLeft", s.windowPositionLeft);
    f("WindowPositionTop", s.windowPositionTop);
    f("WindowWidth", s.windowWidth);
    f("WindowHeight", s.windowHeight);
    f("WindowStatus", s.windowStatus);
    f("MinWindowPositionLeft", s.minWindowPositionLeft);
    f("MinWindowPositionTop", s.minWindowPositionTop);
    f("MinWindowPositionRight", s.minWindowPositionRight);
    f("MinWindowPositionBottom", s.minWindowPositionBottom);
    f("ApplyAll", s.applyAll);
}

}  // namespace

AppSettings readSettings(QSettings& settings, const QString& currentFolder, const QString& programFolder)
{
    AppSettings values;
    settings.beginGroup(QStringLiteral("Settings"));
    values.openFilePath = settings.value(QStringLiteral("OpenFilePath"), currentFolder).toString();
    values.saveFilePath = settings.value(QStringLiteral("SaveFilePath"), programFolder).toString();
    forEachIntKey(values, [&settings](const char* key, int& value) { value = readInt(settings, key, value); });
    settings.endGroup();

    if (values.flipSpeed < 10 || values.flipSpeed > 50)
        values.flipSpeed = 50;
    if (values.windowPositionLeft < 0)
        values.windowPositionLeft = 10;
    if (values.windowPositionTop < 0)
        values.windowPositionTop = 10;
    if (values.windowWidth < 840)
        values.windowWidth = 840;
    if (values.windowHeight < 620)
        values.windowHeight = 620;
    return values;
}

void writeSettings(QSettings& settings, const AppSettings& values)
{
    settings.beginGroup(QStringLiteral("Settings"));
    settings.setValue(QStringLiteral("OpenFilePath"), values.openFilePath);
    settings.setValue(QStringLiteral("SaveFilePath"), values.saveFilePath);
    forEachIntKey(values, [&settings](const char* key, const int& value) { settings.setValue(QLatin1String(key), value); });
    settings.endGroup();
}
