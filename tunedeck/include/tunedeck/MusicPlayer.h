// The music players: a wave, a MIDI and an MP3 player with one small
// interface. A player prepares or starts one song and tells a chosen object,
// on that object's thread, when the song has ended. A missing sound device
// never stops the program: the songs then play silently in real time.
#pragma once

#include <QEvent>
#include <QString>

class QObject;

// The end-of-song notification posted to the callback object. Its value is
// kNotifySuccessful when a song played to its end.
class MciNotifyEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 0x3B9);
    static constexpr int kNotifySuccessful = 1;

    explicit MciNotifyEvent(int value) : QEvent(kType), m_value(value) {}
    int value() const { return m_value; }

private:
    int m_value;
};

class MusicPlayer {
public:
    virtual ~MusicPlayer() = default;
    // Prepares the song for a later Play(); false when it cannot be decoded.
    virtual bool Load(const QString& path) = 0;
    // Starts the prepared song; false when nothing is prepared.
    virtual bool Play() = 0;
    // Opens and starts that song; false when it cannot be decoded.
    virtual bool Play(const QString& path) = 0;
    // Stops and releases the song; safe when the player holds nothing.
    virtual void Close() = 0;
    // The object that receives MciNotifyEvent when a song ends (may be null).
    virtual void SetCallBackWnd(QObject* window) = 0;
};
