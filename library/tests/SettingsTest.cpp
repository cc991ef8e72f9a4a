#include "library/Settings.h"

#include "TestSupport.h"

#include <QSettings>

#include <gtest/gtest.h>

namespace {

class SettingsFile : public testing::Test {
protected:
    TestFolder dir;
    QString file = QString::fromStdString(dir / "settings.ini");
    SettingsStore store{file};
    // What another program (or an older run) left in the profile.
    QSettings stored{file, QSettings::IniFormat};
    AppSettings read() { return store.read("/current", "/program"); }
};

TEST_F(SettingsFile, DefaultsWhenNothingIsStored)
{
    const AppSettings values = read();
    EXPECT_EQ(values.openFilePath, "/current");
    EXPECT_EQ(values.saveFilePath, "/program");
    EXPECT_EQ(values.flipSpeed, 50);
    EXPECT_EQ(values.language, -1);
    EXPECT_EQ(values.oneTipIndex, -1);
    EXPECT_EQ(values.showStatusBar, 0);
    EXPECT_EQ(values.windowWidth, 840);  // the stored default 800 is clamped
    EXPECT_EQ(values.windowHeight, 620);
    EXPECT_EQ(values.minWindowPositionRight, 850);
}

TEST_F(SettingsFile, StoredValuesAreClamped)
{
    stored.setValue("Settings/FlipSpeed", 9);
    stored.setValue("Settings/WindowPositionLeft", -5);
    stored.setValue("Settings/WindowPositionTop", 0);
    stored.setValue("Settings/WindowWidth", 800);
    stored.setValue("Settings/WindowHeight", 700);
    EXPECT_EQ(read().flipSpeed, 50);
    EXPECT_EQ(read().windowPositionLeft, 10);
    EXPECT_EQ(read().windowPositionTop, 0);
    EXPECT_EQ(read().windowWidth, 840);
    EXPECT_EQ(read().windowHeight, 700);
    for (const auto& [value, expected] : {std::pair{51, 50}, std::pair{10, 10}, std::pair{50, 50}}) {
        stored.setValue("Settings/FlipSpeed", value);
        EXPECT_EQ(read().flipSpeed, expected) << value;
    }
    stored.setValue("Settings/FlipSpeed", "fast");
    EXPECT_EQ(read().flipSpeed, 50);
}

TEST_F(SettingsFile, WrittenValuesReadBack)
{
    AppSettings values = read();
    values.language = 1;
    values.saveFilePath = "/books";
    values.applyAll = 1;
    store.write(values);
    const AppSettings back = read();
    EXPECT_EQ(back.language, 1);
    EXPECT_EQ(back.saveFilePath, "/books");
    EXPECT_EQ(back.applyAll, 1);
    EXPECT_EQ(stored.value("Settings/Tunedeck").toInt(), 1);
}

TEST_F(SettingsFile, ThePlacementWritesOnlyItsOwnKeys)
{
    stored.setValue("Settings/FlipSpeed", 9);
    store.writePlacement({.left = 30, .top = 40, .width = 900, .height = 700, .status = 1,
                          .restoreLeft = 1, .restoreTop = 2, .restoreRight = 803, .restoreBottom = 604});
    store.writeOpenFilePath("/opened");
    store.sync();
    EXPECT_EQ(stored.value("Settings/FlipSpeed").toInt(), 9);  // not rewritten in its clamped form
    EXPECT_FALSE(stored.contains("Settings/Tunedeck"));
    EXPECT_FALSE(stored.contains("Settings/SaveFilePath"));
    const AppSettings back = read();
    EXPECT_EQ(back.windowPositionLeft, 30);
    EXPECT_EQ(back.windowHeight, 700);
    EXPECT_EQ(back.windowStatus, 1);
    EXPECT_EQ(back.minWindowPositionRight, 803);
    EXPECT_EQ(back.minWindowPositionBottom, 604);
    EXPECT_EQ(back.openFilePath, "/opened");
}

TEST_F(SettingsFile, TheChosenBackgroundAndApplyAllWriteOnlyTheirOwnKeys)
{
    stored.setValue("Settings/FlipSpeed", 9);
    store.writeBackPictureIndex(3);
    store.writeApplyAll(1);
    store.sync();
    EXPECT_EQ(stored.value("Settings/FlipSpeed").toInt(), 9);
    EXPECT_FALSE(stored.contains("Settings/Tunedeck"));
    const AppSettings back = read();
    EXPECT_EQ(back.backPictureIndex, 3);
    EXPECT_EQ(back.applyAll, 1);
    store.writeApplyAll(0);
    EXPECT_EQ(read().applyAll, 0);
}

}  // namespace
