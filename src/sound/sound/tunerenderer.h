#pragma once

#include "sound/tunecache.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class QProcess;

// Renders a MIDI tune to a WAV with seabattle-tune, a program of its own run in the background,
// so that FluidSynth's 50 MB and any fault of a MIDI file stay out of the game. The rendering is
// kept in the user's cache under a hash of all it was made of, and found there at the next start.
// Every game renders into a file of its own, so two games starting together both get their tune.
class TuneRenderer
{
public:
    using Take = std::function<void(TuneFile tune)>; // a rendering ready to be played
    using Warn = std::function<void(const QString &message)>;

    // program: the renderer; by default seabattle-tune in the game's folder.
    TuneRenderer(const QString &program, Take take, Warn warn);
    ~TuneRenderer() { stop(); } // a rendering still running is stopped, its file gone with it

    // What a rendering of the tune is made of: the same key, the same WAV.
    QByteArray keyOf(const QByteArray &midi) const;
    static QString fileName(const QByteArray &key); // in the cache
    // Offers the rendering cached under the key, or renders it anew; tuneName names it in
    // warnings.
    void render(const QString &tuneName, const QByteArray &midi, const QByteArray &key);

private:
    void start(const QByteArray &midi);
    void stop();
    void ended(int exitCode, bool crashed);
    void fail(const QString &why);

    QString m_program;
    Take m_take;
    Warn m_warn;
    QProcess *m_process = nullptr; // deleted later, as it ends inside its own signal
    std::optional<TuneCache> m_cache;
    TuneCache::Scratch m_scratch;
    QString m_soundFont;
    QString m_tuneName;
    QString m_wavName;
    QByteArray m_log;
    bool m_timedOut = false; // asked to stop as it took too long
};
