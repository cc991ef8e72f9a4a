#include "app/CMainFrame.h"
#include "app/CMusicDlg.h"
#include "app/CRestTimeDlg.h"
#include "app/MusicState.h"

#include "book/CVersaleoDoc.h"
#include "library/DocumentPictures.h"
#include "library/Settings.h"
#include "style/CStyleButton.h"

#include "BuiltSkin.h"
#include "TestSupport.h"
#include "TestSongs.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> listed(const QListWidget* list)
{
    std::vector<std::string> names;
    for (int row = 0; row < list->count(); ++row)
        names.push_back(list->item(row)->text().toStdString());
    return names;
}

void touch(const std::string& path, const std::string& text = "x")
{
    std::ofstream(path, std::ios::binary) << text;
}

// Records the songs the state is asked to play; never plays anything.
class SilentPlayer : public MusicPlayer {
public:
    explicit SilentPlayer(std::vector<std::string>& played) : m_played(played) {}
    bool Load(const QString&) override { return true; }
    bool Play() override { return true; }
    bool Play(const QString& path) override
    {
        m_played.push_back(path.section(QLatin1Char('/'), -1).toStdString());
        return true;
    }
    void Close() override { ++closes; }
    void SetCallBackWnd(QObject*) override {}
    int closes = 0;

private:
    std::vector<std::string>& m_played;
};

class MusicDialogs : public testing::Test {
protected:
    static void SetUpTestSuite() { useBuiltSkin(); }
    MusicDialogs()
        : music(MusicState::Players{std::make_unique<SilentPlayer>(played), std::make_unique<SilentPlayer>(played),
                                    std::make_unique<SilentPlayer>(played)})
    {
        fs::create_directory(folder);
    }
    std::unique_ptr<CMusicDlg> musicDialog()
    {
        auto dialog = std::make_unique<CMusicDlg>(music, folder);
        dialog->showNotice = [this](const QString& caption, const QString& text) {
            notices.push_back((caption + ": " + text).toStdString());
        };
        dialog->show();
        return dialog;
    }

    TestFolder dir;
    std::string folder = dir / "music";
    std::vector<std::string> played;
    std::vector<std::string> notices;
    MusicState music;
};

TEST_F(MusicDialogs, DeletingItemsOneAndThreeOfFourDeletesTheirFilesAndKeepsTheOthers)
{
    for (const char* name : {"a.mp3", "b.wav", "c.mid", "d.midi"})
        touch(folder + "/" + name);
    auto dialog = musicDialog();
    ASSERT_EQ(listed(dialog->list()), (std::vector<std::string>{"a.mp3", "b.wav", "c.mid", "d.midi"}));
    dialog->list()->item(1)->setSelected(true);
    dialog->list()->item(3)->setSelected(true);
    QTest::mouseClick(dialog->deleteButton(), Qt::LeftButton);
    EXPECT_EQ(listed(dialog->list()), (std::vector<std::string>{"a.mp3", "c.mid"}));
    EXPECT_TRUE(fs::exists(folder + "/a.mp3"));
    EXPECT_FALSE(fs::exists(folder + "/b.wav"));
    EXPECT_TRUE(fs::exists(folder + "/c.mid"));
    EXPECT_FALSE(fs::exists(folder + "/d.midi"));
}

TEST_F(MusicDialogs, AddingCopiesTheSongsOverAnyOfTheSameName)
{
    TestFolder source;
    touch(source / "new.MP3", "fresh");
    touch(source / "old.wav", "replacement");
    touch(folder + "/old.wav", "stale");
    auto dialog = musicDialog();
    dialog->askMusicPaths = [&] {
        return QStringList{QString::fromStdString(source / "new.MP3"), QString::fromStdString(source / "old.wav")};
    };
    QTest::mouseClick(dialog->addButton(), Qt::LeftButton);
    EXPECT_EQ(listed(dialog->list()), (std::vector<std::string>{"old.wav", "new.MP3"}));
    std::ifstream replaced(folder + "/old.wav");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(replaced), {}), "replacement");
    EXPECT_TRUE(fs::exists(folder + "/new.MP3"));
    EXPECT_TRUE(notices.empty());
}

TEST_F(MusicDialogs, AnUnsupportedFirstFileIsRefusedAndNothingIsCopied)
{
    TestFolder source;
    touch(source / "notes.txt");
    touch(source / "song.mp3");
    auto dialog = musicDialog();
    dialog->addSongs({QString::fromStdString(source / "notes.txt"), QString::fromStdString(source / "song.mp3")});
    EXPECT_EQ(notices, std::vector<std::string>{"Error: Sorry! This isn't supported file type."});
    EXPECT_EQ(dialog->list()->count(), 0);
    EXPECT_FALSE(fs::exists(folder + "/song.mp3"));
}

TEST_F(MusicDialogs, PlayingSelectedSongsStartsAfterTheOldCurrentSong)
{
    for (const char* name : {"a.mp3", "b.wav", "c.mid"})
        touch(folder + "/" + name);
    music.setCurrentSong(0);
    auto dialog = musicDialog();
    dialog->list()->item(0)->setSelected(true);
    dialog->list()->item(2)->setSelected(true);
    dialog->choiceRadio(CMusicDlg::PlaySelected)->click();
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_EQ(music.songList(), (std::vector<std::string>{folder + "/a.mp3", folder + "/c.mid"}));
    EXPECT_EQ(played, std::vector<std::string>{"c.mid"});
}

TEST_F(MusicDialogs, StopPlayingPlaysNothing)
{
    touch(folder + "/a.mp3");
    auto dialog = musicDialog();
    dialog->choiceRadio(CMusicDlg::StopPlaying)->click();
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    EXPECT_TRUE(played.empty());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST(RestTimeDialog, TheBoxesClampHoursToTwoAndMinutesToFiftyNine)
{
    useBuiltSkin();
    CRestTimeDlg dialog(RestTime{});
    dialog.show();
    dialog.hoursEdit()->clear();
    QTest::keyClicks(dialog.hoursEdit(), "5");
    EXPECT_EQ(dialog.hoursEdit()->text(), "2");
    dialog.minutesEdit()->clear();
    QTest::keyClicks(dialog.minutesEdit(), "75");
    EXPECT_EQ(dialog.minutesEdit()->text(), "59");
    dialog.minutesEdit()->clear();
    QTest::keyClicks(dialog.minutesEdit(), "45");
    EXPECT_EQ(dialog.minutesEdit()->text(), "45");
}

TEST(RestTimeDialog, DontNoticeDisablesTheIntervalAndNoticeEnablesIt)
{
    useBuiltSkin();
    CRestTimeDlg dialog(RestTime{0, 1, 30});
    dialog.show();
    EXPECT_TRUE(dialog.noNoticeRadio()->isChecked());
    EXPECT_FALSE(dialog.hoursEdit()->isEnabled());
    QTest::mouseClick(dialog.noticeRadio(), Qt::LeftButton);
    EXPECT_TRUE(dialog.hoursEdit()->isEnabled());
    EXPECT_TRUE(dialog.minutesEdit()->isEnabled());
    EXPECT_EQ(dialog.minutesEdit()->text(), "30");
}

TEST(RestTimeDialog, AZeroIntervalIsRefusedWithAMessage)
{
    useBuiltSkin();
    CRestTimeDlg dialog(RestTime{});
    std::vector<QString> notices;
    dialog.showNotice = [&](const QString&, const QString& text) { notices.push_back(text); };
    dialog.show();
    dialog.hoursEdit()->setText("0");
    dialog.minutesEdit()->setText("0");
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_TRUE(dialog.isVisible());
    dialog.minutesEdit()->setText("20");
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.restTime().hours, 0);
    EXPECT_EQ(dialog.restTime().minutes, 20);
}

TEST(RestTimeRules, TheIntervalIsTheHoursAndMinutesInMilliseconds)
{
    EXPECT_EQ(resttime::intervalMs(RestTime{1, 2, 59}), 179LL * 60 * 1000);
    EXPECT_EQ(resttime::intervalMs(RestTime{0, 2, 59}), 0);
    EXPECT_EQ(resttime::clampHours(3), 2);
    EXPECT_EQ(resttime::clampHours(2), 2);
    EXPECT_EQ(resttime::clampMinutes(60), 59);
    EXPECT_EQ(resttime::clampMinutes(59), 59);
}

// A frame over an empty book, with the dialogs run by the test.
class MusicFrame : public testing::Test {
protected:
    static void SetUpTestSuite() { useBuiltSkin(); }
    MusicFrame() : frame(doc, pictures, settings, 0)
    {
        frame.showNotice = [this](const QString& caption, const QString& text) {
            notices.push_back((caption + ": " + text).toStdString());
        };
    }
    TestFolder dir;
    SettingsStore settings{QString::fromStdString(dir / "settings.ini")};
    CVersaleoDoc doc;
    DocumentPictures pictures{std::string(PROGRAM_FOLDER) + "/picture"};
    CMainFrame frame;
    std::vector<std::string> notices;
};

TEST_F(MusicFrame, OnlyASuccessfulEndOfSongPlaysTheNext)
{
    std::vector<std::string> played;
    MusicState music(MusicState::Players{std::make_unique<SilentPlayer>(played),
                                         std::make_unique<SilentPlayer>(played),
                                         std::make_unique<SilentPlayer>(played)});
    music.setSongList({"/m/0.wav", "/m/1.mid", "/m/2.mp3"});
    music.setCurrentSong(2);
    frame.setMusic(&music, dir / "music");
    MciNotifyEvent aborted(2);
    QCoreApplication::sendEvent(&frame, &aborted);
    EXPECT_TRUE(played.empty());
    QCoreApplication::postEvent(&frame, new MciNotifyEvent(MciNotifyEvent::kNotifySuccessful));
    QCoreApplication::processEvents();
    EXPECT_EQ(played, std::vector<std::string>{"0.wav"});
    frame.setMusic(nullptr, {});
}

TEST_F(MusicFrame, TheRealEndOfAShortWaveAdvancesTheRing)
{
    ScopedEnv silent("SDL_AUDIODRIVER", "dummy");
    fs::create_directory(dir / "music");
    testsongs::writeFile(dir / "music/a.wav", testsongs::wave(150));
    testsongs::writeFile(dir / "music/b.wav", testsongs::wave(150));
    MusicState music;
    music.load(dir / "music");
    frame.setMusic(&music, dir / "music");
    music.playNext();
    EXPECT_EQ(music.currentSong(), 0);
    // a.wav ends, b.wav starts; b.wav ends, a.wav starts again.
    EXPECT_TRUE(QTest::qWaitFor([&] { return music.currentSong() == 1; }, 15000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return music.currentSong() == 0; }, 15000));
    music.close();
    frame.setMusic(nullptr, {});
}

TEST_F(MusicFrame, RestTimeStartsAndStopsTimerThreeAndEachTickReminds)
{
    EXPECT_FALSE(frame.restTimerActive());
    frame.setRestTime(RestTime{1, 0, 30});
    EXPECT_TRUE(frame.restTimerActive());
    frame.restTimeTick();
    frame.restTimeTick();
    EXPECT_EQ(notices, (std::vector<std::string>{"Notice: It is benefit to your health if you take a rest!",
                                                 "Notice: It is benefit to your health if you take a rest!"}));
    EXPECT_TRUE(frame.restTimerActive());
    frame.setRestTime(RestTime{0, 0, 30});
    EXPECT_FALSE(frame.restTimerActive());
    EXPECT_EQ(frame.restTime().notice, 0);
    EXPECT_EQ(frame.restTime().minutes, 30);
}

TEST_F(MusicFrame, MusicAndTimeAreEnabledLikePictureAndWaitDuringAContinuousFlip)
{
    frame.updateCommands();
    EXPECT_TRUE(frame.action(cmd::BackMusic)->isEnabled());
    EXPECT_TRUE(frame.button(cmd::RestTime)->isEnabled());
    frame.state().continuousFlip = true;
    EXPECT_FALSE(cmd::updateRule(cmd::BackMusic, frame.state(), cmd::DocState{}).enabled);
    EXPECT_FALSE(cmd::updateRule(cmd::RestTime, frame.state(), cmd::DocState{}).enabled);
}

TEST_F(MusicDialogs, Screenshots)
{
    const char* out = std::getenv("VERSALEO_SCREENSHOTS");
    if (!out)
        GTEST_SKIP() << "VERSALEO_SCREENSHOTS names the folder for the pictures";
    for (const char* name : {"Nocturne.mp3", "Minuet.mid", "Rain.wav", "Waltz.midi"})
        touch(folder + "/" + name);
    auto dialog = musicDialog();
    dialog->list()->item(1)->setSelected(true);
    dialog->list()->item(2)->setSelected(true);
    dialog->choiceRadio(CMusicDlg::PlaySelected)->setChecked(true);
    EXPECT_TRUE(dialog->grab().save(QString(out) + "/music-dialog.png"));
    CRestTimeDlg rest(RestTime{1, 1, 30});
    rest.show();
    EXPECT_TRUE(rest.grab().save(QString(out) + "/rest-time-dialog.png"));
}

}  // namespace
