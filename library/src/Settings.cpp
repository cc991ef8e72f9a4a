#include "library/Settings.h"

#include <QSettings>

namespace {

const QString kGroup = QStringLiteral("Settings");

int readInt(const QSettings& settings, const char* key, int fallback)
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
    f("DetectChapters", s.detectChapters);
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

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QStringLiteral("Versaleo"), QStringLiteral("Versaleo")))
{
}

SettingsStore::SettingsStore(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

AppSettings SettingsStore::read(const QString& openFolder, const QString& saveFolder) const
{
    const QSettings& settings = *m_settings;
    AppSettings values;
    m_settings->beginGroup(kGroup);
    values.openFilePath = settings.value(QStringLiteral("OpenFilePath"), openFolder).toString();
    values.saveFilePath = settings.value(QStringLiteral("SaveFilePath"), saveFolder).toString();
    forEachIntKey(values, [&settings](const char* key, int& value) { value = readInt(settings, key, value); });
    m_settings->endGroup();

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

void SettingsStore::write(const AppSettings& values)
{
    QSettings& settings = *m_settings;
    settings.beginGroup(kGroup);
    settings.setValue(QStringLiteral("OpenFilePath"), values.openFilePath);
    settings.setValue(QStringLiteral("SaveFilePath"), values.saveFilePath);
    forEachIntKey(values, [&settings](const char* key, const int& value) { settings.setValue(QLatin1String(key), value); });
    settings.endGroup();
}

void SettingsStore::writePlacement(const WindowPlacement& p)
{
    QSettings& settings = *m_settings;
    settings.beginGroup(kGroup);
    for (const auto& [key, value] : {std::pair{"WindowPositionLeft", p.left}, std::pair{"WindowPositionTop", p.top},
                                     std::pair{"WindowWidth", p.width}, std::pair{"WindowHeight", p.height},
                                     std::pair{"WindowStatus", p.status}, std::pair{"MinWindowPositionLeft", p.restoreLeft},
                                     std::pair{"MinWindowPositionTop", p.restoreTop},
                                     std::pair{"MinWindowPositionRight", p.restoreRight},
                                     std::pair{"MinWindowPositionBottom", p.restoreBottom}})
        settings.setValue(QLatin1String(key), value);
    settings.endGroup();
}

void SettingsStore::writeOpenFilePath(const QString& folder)
{
    m_settings->setValue(QStringLiteral("Settings/OpenFilePath"), folder);
}

void SettingsStore::writeSaveFilePath(const QString& folder)
{
    m_settings->setValue(QStringLiteral("Settings/SaveFilePath"), folder);
}

void SettingsStore::writeBackPictureIndex(int number)
{
    m_settings->setValue(QStringLiteral("Settings/BackPictureIndex"), number);
}

void SettingsStore::writeApplyAll(int applyAll)
{
    m_settings->setValue(QStringLiteral("Settings/ApplyAll"), applyAll);
}

void SettingsStore::writeInts(std::initializer_list<std::pair<const char*, int>> values)
{
    QSettings& settings = *m_settings;
    settings.beginGroup(kGroup);
    for (const auto& [key, value] : values)
        settings.setValue(QLatin1String(key), value);
    settings.endGroup();
}

void SettingsStore::writeStartOptions(int needIndex, int needBookmark, int tunedeck, int showOneTipDlg)
{
    writeInts({{"NeedBookmark", needBookmark}, {"NeedIndex", needIndex}, {"Tunedeck", tunedeck},
               {"ShowOneTipDlg", showOneTipDlg}});
}

void SettingsStore::writeChapterDetection(int detectChapters)
{
    writeInts({{"DetectChapters", detectChapters}});
}

void SettingsStore::writeBarFlags(int left, int bottom, int right, int status)
{
    writeInts({{"ShowLeftBar", left}, {"ShowBottomBar", bottom}, {"ShowRightBar", right}, {"ShowStatusBar", status}});
}

void SettingsStore::writeFlipSpeed(int speed)
{
    writeInts({{"FlipSpeed", speed}});
}

void SettingsStore::writeLanguage(int language)
{
    writeInts({{"Language", language}});
}

void SettingsStore::writeOneTip(int showOneTipDlg, int oneTipIndex)
{
    writeInts({{"ShowOneTipDlg", showOneTipDlg}, {"OneTipIndex", oneTipIndex}});
}

void SettingsStore::sync()
{
    m_settings->sync();
}
