#include "tunedeck/Players.h"

#include <QCoreApplication>
#include <QFile>
#include <QObject>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <mutex>

namespace {

// What the audio thread reads when a song ends, under its own lock; never
// held around a mixer call, which may take the mixer's lock and call back.
// A song that is stopped (closed, or replaced by another) is no longer
// the playing one, so its end is not reported.
QObject* g_notifyTarget = nullptr;
Mix_Music* g_playing = nullptr;
std::mutex g_lock;

// Runs on the audio thread (or inside Mix_HaltMusic): only posts.
void songFinished()
{
    const std::lock_guard<std::mutex> hold(g_lock);
    if (!g_playing)
        return;
    g_playing = nullptr;
    if (g_notifyTarget)
        QCoreApplication::postEvent(g_notifyTarget, new MciNotifyEvent(MciNotifyEvent::kNotifySuccessful));
}

void setPlaying(Mix_Music* music, QObject* target)
{
    const std::lock_guard<std::mutex> hold(g_lock);
    g_playing = music;
    g_notifyTarget = target;
}

void forget(Mix_Music* music)
{
    const std::lock_guard<std::mutex> hold(g_lock);
    if (g_playing == music) {
        g_playing = nullptr;
        g_notifyTarget = nullptr;
    }
}

const char* const kSoundFonts[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
};

bool openDevice()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0
        && Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 2048) == 0)
        return true;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

// The mixer, opened on first use and kept for the run. Without a sound
// card the dummy driver takes over, which keeps real time in silence.
class AudioDevice {
public:
    static bool ready()
    {
        static AudioDevice device;
        return device.m_open;
    }

    ~AudioDevice()
    {
        if (!m_open)
            return;
        Mix_HookMusicFinished(nullptr);
        Mix_HaltMusic();
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

private:
    AudioDevice()
    {
        if (!std::getenv("SDL_SOUNDFONTS")) {
            for (const char* font : kSoundFonts) {
                if (QFile::exists(QString::fromLatin1(font))) {
                    Mix_SetSoundFonts(font);
                    break;
                }
            }
        }
        m_open = openDevice();
        if (!m_open) {
            SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
            m_open = openDevice();
        }
        if (!m_open)
            return;
        Mix_Init(MIX_INIT_MID | MIX_INIT_MP3);
        Mix_HookMusicFinished(songFinished);
    }

    bool m_open = false;
};

}  // namespace

struct SdlPlayer::Song {
    Mix_Music* music = nullptr;
    ~Song() { Mix_FreeMusic(music); }
};

SdlPlayer::SdlPlayer(int musicType) : m_musicType(musicType) {}

SdlPlayer::~SdlPlayer()
{
    Close();
}

bool SdlPlayer::Load(const QString& path)
{
    Close();
    if (!AudioDevice::ready())
        return false;
    SDL_RWops* file = SDL_RWFromFile(QFile::encodeName(path).constData(), "rb");
    if (!file)
        return false;
    Mix_Music* music = Mix_LoadMUSType_RW(file, static_cast<Mix_MusicType>(m_musicType), 1);
    if (!music)
        return false;
    m_song = std::make_unique<Song>();
    m_song->music = music;
    return true;
}

bool SdlPlayer::Play()
{
    if (!m_song)
        return false;
    setPlaying(nullptr, nullptr);
    Mix_HaltMusic();
    // Marked before starting: a song shorter than one audio buffer may end
    // before Mix_PlayMusic returns.
    setPlaying(m_song->music, m_window);
    if (Mix_PlayMusic(m_song->music, 1) != 0) {
        forget(m_song->music);
        return false;
    }
    return true;
}

bool SdlPlayer::Play(const QString& path)
{
    return Load(path) && Play();
}

void SdlPlayer::Close()
{
    if (!m_song)
        return;
    forget(m_song->music);
    // Freeing a playing song stops the channel; another player's song plays on.
    m_song.reset();
}

void SdlPlayer::SetCallBackWnd(QObject* window)
{
    m_window = window;
}

CWave::CWave() : SdlPlayer(MUS_WAV) {}
CMidi::CMidi() : SdlPlayer(MUS_MID) {}
CMp3::CMp3() : SdlPlayer(MUS_MP3) {}
