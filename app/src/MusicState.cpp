#include "app/MusicState.h"

#include "tunedeck/Players.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cctype>

namespace music {

Player playerForSong(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return kNone;
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "wav" || extension == "wave")
        return kWave;
    if (extension == "mid" || extension == "midi")
        return kMidi;
    if (extension == "mp3")
        return kMp3;
    return kNone;
}

std::vector<std::string> songsInFolder(const std::string& folder)
{
    std::vector<std::string> songs;
    const QDir dir(QString::fromStdString(folder));
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const std::string path = entry.absoluteFilePath().toStdString();
        if (playerForSong(path) != kNone)
            songs.push_back(path);
    }
    return songs;
}

}  // namespace music

namespace {

MusicState::Players tunedeckPlayers()
{
    return {std::make_unique<CWave>(), std::make_unique<CMidi>(), std::make_unique<CMp3>()};
}

}  // namespace

MusicState::MusicState() : MusicState(tunedeckPlayers()) {}

MusicState::MusicState(Players players) : m_players(std::move(players)) {}

MusicState::~MusicState()
{
    close();
}

void MusicState::load(const std::string& folder)
{
    m_songList = music::songsInFolder(folder);
    if (m_songList.empty()) {
        m_pendingPlayer = music::kNone;
        m_currentSong = -1;
        return;
    }
    const music::Player player = music::playerForSong(m_songList.front());
    m_players[static_cast<size_t>(player)]->Load(QString::fromStdString(m_songList.front()));
    m_pendingPlayer = player;
    m_currentSong = 0;
}

void MusicState::playNext()
{
    for (auto& player : m_players)
        player->SetCallBackWnd(m_window);
    if (m_pendingPlayer >= music::kWave && m_pendingPlayer <= music::kMp3) {
        const bool started = m_players[static_cast<size_t>(m_pendingPlayer)]->Play();
        m_pendingPlayer = music::kNone;
        if (started)
            return;
        // The prepared song does not decode: go on to the next one.
    }
    const int count = static_cast<int>(m_songList.size());
    // Each song is tried at most once, so a folder of broken files ends quietly.
    for (int attempt = 0; attempt < count; ++attempt) {
        close();
        m_currentSong = ((m_currentSong % count) + count + 1) % count;
        const std::string& path = m_songList[static_cast<size_t>(m_currentSong)];
        const music::Player player = music::playerForSong(path);
        if (player != music::kNone && m_players[static_cast<size_t>(player)]->Play(QString::fromStdString(path)))
            return;
    }
}

void MusicState::close()
{
    for (auto& player : m_players)
        player->Close();
}
