#include "tunedeck/Players.h"

#include "TestSongs.h"

#include <QObject>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

// Stands in for the main window: keeps every notification's value.
class Listener : public QObject {
public:
    std::vector<int> values;

protected:
    void customEvent(QEvent* event) override
    {
        if (event->type() == MciNotifyEvent::kType)
            values.push_back(static_cast<MciNotifyEvent*>(event)->value());
    }
};

class PlayersTest : public testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_TRUE(m_dir.isValid());
    }
    std::string path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)).toStdString(); }
    QString qpath(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir m_dir;
};

// Generous: the dummy device keeps real time, and the sanitizers are slow.
constexpr int kPatience = 15000;

TEST_F(PlayersTest, AShortWaveReportsItsEndOnceToTheCallbackWindow)
{
    testsongs::writeFile(path("a.wav"), testsongs::wave(200));
    Listener window;
    CWave player;
    player.SetCallBackWnd(&window);
    ASSERT_TRUE(player.Play(qpath("a.wav")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.values.empty(); }, kPatience));
    QCoreApplication::processEvents();
    EXPECT_EQ(window.values, std::vector<int>{MciNotifyEvent::kNotifySuccessful});
}

TEST_F(PlayersTest, ALoadedSongWaitsForPlayAndAClosedSongIsNotReported)
{
    testsongs::writeFile(path("a.wav"), testsongs::wave(2000));
    Listener window;
    CWave player;
    player.SetCallBackWnd(&window);
    ASSERT_TRUE(player.Load(qpath("a.wav")));
    ASSERT_TRUE(player.Play());
    player.Close();
    player.Close();  // holding nothing is fine
    EXPECT_FALSE(player.Play());
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.values.empty());
}

TEST_F(PlayersTest, ATinyMidiSongPlaysToItsEnd)
{
    testsongs::writeFile(path("a.mid"), testsongs::midi());
    Listener window;
    CMidi player;
    player.SetCallBackWnd(&window);
    ASSERT_TRUE(player.Play(qpath("a.mid")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.values.empty(); }, kPatience));
}

TEST_F(PlayersTest, FilesThatDoNotDecodeAreRefusedWithoutACrash)
{
    testsongs::writeFile(path("text.mp3"), std::vector<char>(4000, 'x'));
    std::vector<char> truncated = testsongs::wave(200);
    truncated.resize(30);
    testsongs::writeFile(path("cut.wav"), truncated);
    CMp3 mp3;
    CWave wave;
    EXPECT_FALSE(mp3.Play(qpath("text.mp3")));
    EXPECT_FALSE(wave.Play(qpath("cut.wav")));
    EXPECT_FALSE(wave.Play(qpath("missing.wav")));
}

TEST_F(PlayersTest, StartingAnotherPlayerStopsTheFirstWithoutReportingIt)
{
    testsongs::writeFile(path("long.wav"), testsongs::wave(3000));
    testsongs::writeFile(path("short.mid"), testsongs::midi());
    Listener first, second;
    CWave wave;
    CMidi midi;
    wave.SetCallBackWnd(&first);
    midi.SetCallBackWnd(&second);
    ASSERT_TRUE(wave.Play(qpath("long.wav")));
    ASSERT_TRUE(midi.Play(qpath("short.mid")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !second.values.empty(); }, kPatience));
    EXPECT_TRUE(first.values.empty());
}

}  // namespace
