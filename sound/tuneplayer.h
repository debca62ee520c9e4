#pragma once

#include "sound/oncewarning.h"

#include <QAudio>
#include <QAudioDevice>
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class QAudioSink;
class QFile;
class TuneRendering;
class TuneStream;

// The tune player mmc1: a MIDI file with the commands "Open", "Play", "Stop" and "Close".
// "Open" renders the tune through FluidSynth in the background, or reuses the last rendering
// when the file's bytes have not changed; "Play" sends the audio to the sound server as soon as
// the first second is ready; "Stop" pauses the server's stream, which keeps the position.
// Nothing is checked by the caller: a missing file, SoundFont or server gives one warning, and
// the commands of a player that could not open do nothing.
//
// One audio sink serves every "Open" and "Close" (a new one only for another output). Qt's
// sink destructor runs the thread's pending events, so sinks are destroyed only with the
// player, stopped, while the stream they read still lives.
class TunePlayer : public QObject
{
    Q_OBJECT
public:
    explicit TunePlayer(QObject *parent = nullptr);
    ~TunePlayer() override;

    void setFile(const QString &path);
    // Empty: the system's General MIDI SoundFont, looked up at each "Open".
    void setSoundFont(const QString &path);
    // Null: the server's default output, looked up at each start of playback.
    void setOutputDevice(const QAudioDevice &device);

    void open();
    void play();
    void stop();
    void close();

    bool isOpen() const { return m_open; }
    bool isPlaying() const { return m_playing; }
    // Milliseconds of the tune heard since "Open" (what is still buffered at the server excluded).
    qint64 position() const;

private:
    QByteArray readTune(QFile &file);
    void startOrResume();
    QAudioSink *sinkFor(const QAudioDevice &device);
    void stopSink();
    void onSinkStateChanged(QAudioSink *sink);
    qint64 bufferedBytes() const;

    QString m_path;
    QString m_soundFont;
    QAudioDevice m_device;
    bool m_open = false;
    bool m_playing = false;
    QByteArray m_renderingKey;
    std::shared_ptr<TuneRendering> m_rendering;
    std::unique_ptr<TuneStream> m_stream;
    QAudioSink *m_sink = nullptr;
    QAudioDevice m_sinkDevice;
    QList<QAudioSink *> m_oldSinks; // stopped, kept until the player goes
    bool m_sinkRunning = false; // m_sink reads m_stream: active, idle or suspended
    bool m_starting = false;
    qint64 m_heldBufferedBytes = 0;
    OnceWarning m_fileWarning;
    OnceWarning m_outputWarning;
};
