#include "app/MusicState.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what the music state asks of a player; paths containing "broken"
// do not decode.
struct Journal {
    std::vector<std::string> calls;
};

class FakePlayer : public MusicPlayer {
public:
    FakePlayer(Journal& journal, std::string name) : m_journal(journal), m_name(std::move(name)) {}
    bool Load(const QString& path) override
    {
        m_journal.calls.push_back(m_name + " load " + fileName(path));
        m_loaded = !path.contains(QLatin1String("broken"));
        return m_loaded;
    }
    bool Play() override
    {
        m_journal.calls.push_back(m_name + " play");
        return m_loaded;
    }
    bool Play(const QString& path) override
    {
        m_journal.calls.push_back(m_name + " play " + fileName(path));
        return !path.contains(QLatin1String("broken"));
    }
    void Close() override { m_loaded = false; }
    void SetCallBackWnd(QObject*) override {}

private:
    static std::string fileName(const QString& path) { return path.section(QLatin1Char('/'), -1).toStdString(); }
    Journal& m_journal;
    std::string m_name;
    bool m_loaded = false;
};

class MusicStateTest : public testing::Test {
protected:
    MusicStateTest()
        : m_music(MusicState::Players{std::make_unique<FakePlayer>(m_journal, "wave"),
                                      std::make_unique<FakePlayer>(m_journal, "midi"),
                                      std::make_unique<FakePlayer>(m_journal, "mp3")})
    {
    }
    void touch(const char* name) { QFile(m_dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly); }
    std::string folder() const { return m_dir.path().toStdString(); }

    QTemporaryDir m_dir;
    Journal m_journal;
    MusicState m_music;
};

TEST(SongRules, TheExtensionChoosesThePlayerInAnyCase)
{
    EXPECT_EQ(music::playerForSong("/m/a.wav"), music::kWave);
    EXPECT_EQ(music::playerForSong("/m/a.WAVE"), music::kWave);
    EXPECT_EQ(music::playerForSong("/m/a.Mid"), music::kMidi);
    EXPECT_EQ(music::playerForSong("/m/a.midi"), music::kMidi);
    EXPECT_EQ(music::playerForSong("/m/a.MP3"), music::kMp3);
    EXPECT_EQ(music::playerForSong("/m/song.mp3.txt"), music::kNone);
    EXPECT_EQ(music::playerForSong("/m/mp3"), music::kNone);
    EXPECT_EQ(music::playerForSong("/m.mp3/song"), music::kNone);
    EXPECT_EQ(music::playerForSong("/m/a."), music::kNone);
}

TEST_F(MusicStateTest, OnlyFilesDirectlyInTheFolderWithASongExtensionAreSongs)
{
    touch("LOUD.MP3");
    touch("notes.txt");
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("x.mid"));
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("sub"));
    QFile(m_dir.filePath("sub/inner.wav")).open(QIODevice::WriteOnly);
    m_music.load(folder());
    ASSERT_EQ(m_music.songList().size(), 1u);
    EXPECT_EQ(m_music.songList()[0], m_dir.filePath("LOUD.MP3").toStdString());
}

TEST_F(MusicStateTest, LoadingPreparesTheFirstSongAndTheFirstPlayStartsIt)
{
    touch("a.mid");
    touch("b.wav");
    m_music.load(folder());
    EXPECT_EQ(m_music.currentSong(), 0);
    EXPECT_EQ(m_music.pendingPlayer(), music::kMidi);
    m_music.playNext();
    m_music.playNext();
    EXPECT_EQ(m_journal.calls, (std::vector<std::string>{"midi load a.mid", "midi play", "wave play b.wav"}));
    EXPECT_EQ(m_music.pendingPlayer(), music::kNone);
    EXPECT_EQ(m_music.currentSong(), 1);
}

TEST_F(MusicStateTest, AnEmptyOrMissingFolderPlaysNothing)
{
    m_music.load(folder() + "/missing");
    EXPECT_EQ(m_music.currentSong(), -1);
    EXPECT_EQ(m_music.pendingPlayer(), music::kNone);
    m_music.playNext();
    EXPECT_TRUE(m_journal.calls.empty());
}

TEST_F(MusicStateTest, TheEndOfTheLastSongPlaysTheFirstAgain)
{
    m_music.setSongList({"/m/0.wav", "/m/1.mid", "/m/2.mp3"});
    m_music.setCurrentSong(2);
    m_music.playNext();
    EXPECT_EQ(m_journal.calls, std::vector<std::string>{"wave play 0.wav"});
    EXPECT_EQ(m_music.currentSong(), 0);
}

TEST_F(MusicStateTest, ABrokenSongIsSkippedAndTheRingGoesOn)
{
    m_music.setSongList({"/m/0.wav", "/m/broken.mp3", "/m/2.mid"});
    m_music.setCurrentSong(0);
    m_music.playNext();
    EXPECT_EQ(m_journal.calls, (std::vector<std::string>{"mp3 play broken.mp3", "midi play 2.mid"}));
    EXPECT_EQ(m_music.currentSong(), 2);
}

TEST_F(MusicStateTest, ABrokenFirstSongIsSkippedAtTheFirstPlay)
{
    touch("a-broken.wav");
    touch("b.mp3");
    m_music.load(folder());
    m_music.playNext();
    EXPECT_EQ(m_journal.calls, (std::vector<std::string>{"wave load a-broken.wav", "wave play", "mp3 play b.mp3"}));
}

TEST_F(MusicStateTest, AFolderOfBrokenSongsTriesEachOnceAndStops)
{
    m_music.setSongList({"/m/broken1.wav", "/m/broken2.wav"});
    m_music.playNext();
    EXPECT_EQ(m_journal.calls, (std::vector<std::string>{"wave play broken1.wav", "wave play broken2.wav"}));
}

TEST_F(MusicStateTest, AnOldIndexBeyondAShorterListWrapsIntoIt)
{
    m_music.setCurrentSong(5);
    m_music.setSongList({"/m/0.wav", "/m/1.wav", "/m/2.wav"});
    m_music.playNext();
    EXPECT_EQ(m_music.currentSong(), 0);
}

}  // namespace
