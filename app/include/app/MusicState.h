// The background music: the songs of the music folder, which one plays, and
// the three players that play them one after another in a ring. Everything
// here runs on the user-interface thread; the players only tell the main
// window when a song has ended.
#pragma once

#include "tunedeck/MusicPlayer.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class QObject;

namespace music {

enum Player : int { kNone = -1, kWave = 0, kMidi = 1, kMp3 = 2 };

// The player a file's extension (the text after its last dot, any case)
// selects, or kNone when the file is not a song.
Player playerForSong(const std::string& path);
// Full paths of the songs directly in the folder (files only), by name.
std::vector<std::string> songsInFolder(const std::string& folder);

}  // namespace music

class MusicState {
public:
    using Players = std::array<std::unique_ptr<MusicPlayer>, 3>;  // wave, MIDI, MP3

    // The Tunedeck players.
    MusicState();
    explicit MusicState(Players players);
    ~MusicState();

    // Fills the song list from the folder and prepares song 0 unstarted.
    void load(const std::string& folder);
    // Starts the prepared song, or the one after the current song. A song
    // that cannot be played is skipped; with none playable nothing plays.
    void playNext();
    // Closes all three players.
    void close();

    // The window the players report a song's end to.
    void setCallBackWnd(QObject* window) { m_window = window; }
    void setSongList(std::vector<std::string> songs) { m_songList = std::move(songs); }
    const std::vector<std::string>& songList() const { return m_songList; }
    int currentSong() const { return m_currentSong; }
    int pendingPlayer() const { return m_pendingPlayer; }
    void setCurrentSong(int index) { m_currentSong = index; }

private:
    Players m_players;
    std::vector<std::string> m_songList;
    int m_currentSong = -1;
    int m_pendingPlayer = music::kNone;
    QObject* m_window = nullptr;
};
