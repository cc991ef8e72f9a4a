// The program's persistent settings: the section "Settings" of the
// application's profile, every key with its default and the clamping applied
// when it is read. This is the one door to the settings store: nothing else
// in the program opens the profile, and each writer writes only its own keys.
#pragma once

#include <QString>

#include <initializer_list>
#include <memory>
#include <utility>

class QSettings;

struct AppSettings {
    QString openFilePath;  // default: the folder the caller names (the current folder)
    QString saveFilePath;  // default: the folder the caller names
    int needIndex = 1;
    int needBookmark = 1;
    int detectChapters = 1;  // chapter headings of plain texts become index entries
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

// What the frame's close sequence stores: its rectangle, its own-maximise
// status and the rectangle it had before that maximise.
struct WindowPlacement {
    int left = 0, top = 0, width = 0, height = 0;
    int status = 0;
    int restoreLeft = 0, restoreTop = 0, restoreRight = 0, restoreBottom = 0;
};

class SettingsStore {
public:
    // The user's profile: organisation "Versaleo", program "Versaleo".
    SettingsStore();
    // A profile kept in an INI file (tests and tools).
    explicit SettingsStore(const QString& iniFile);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Every key, absent ones with their defaults, stored ones clamped. The
    // two folders are the defaults of "OpenFilePath" and "SaveFilePath".
    AppSettings read(const QString& openFolder = QString(), const QString& saveFolder = QString()) const;
    // Every key, as given.
    void write(const AppSettings& values);
    // Only the window's placement keys.
    void writePlacement(const WindowPlacement& placement);
    void writeOpenFilePath(const QString& folder);
    void writeSaveFilePath(const QString& folder);
    // The background the reader chose, and whether the Book Page dialog
    // applies to every page.
    void writeBackPictureIndex(int number);
    void writeApplyAll(int applyAll);
    // The environment sheet's keys, each page's own: the start options
    // ("NeedIndex", "NeedBookmark", "Tunedeck", "ShowOneTipDlg"), the four
    // bar flags, the flip speed and the interface language.
    void writeStartOptions(int needIndex, int needBookmark, int tunedeck, int showOneTipDlg);
    void writeChapterDetection(int detectChapters);
    void writeBarFlags(int left, int bottom, int right, int status);
    void writeFlipSpeed(int speed);
    void writeLanguage(int language);
    // What the tip dialog keeps on its close: "ShowOneTipDlg" and "OneTipIndex".
    void writeOneTip(int showOneTipDlg, int oneTipIndex);
    // Puts what was written into the file now.
    void sync();

private:
    void writeInts(std::initializer_list<std::pair<const char*, int>> values);

    std::unique_ptr<QSettings> m_settings;
};
