// The three players on SDL2_mixer. They share the one music channel of the
// mixer: starting a song on one player stops what another was playing.
#pragma once

#include "tunedeck/MusicPlayer.h"

#include <memory>

class SdlPlayer : public MusicPlayer {
public:
    ~SdlPlayer() override;
    bool Load(const QString& path) override;
    bool Play() override;
    bool Play(const QString& path) override;
    void Close() override;
    void SetCallBackWnd(QObject* window) override;

protected:
    // The decoder the player insists on (an SDL_mixer Mix_MusicType).
    explicit SdlPlayer(int musicType);

private:
    struct Song;
    int m_musicType;
    std::unique_ptr<Song> m_song;
    QObject* m_window = nullptr;
};

class CWave : public SdlPlayer {
public:
    CWave();
};

class CMidi : public SdlPlayer {
public:
    CMidi();
};

class CMp3 : public SdlPlayer {
public:
    CMp3();
};
