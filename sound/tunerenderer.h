#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QProcess;

// Renders a MIDI tune to a WAV with seabattle-tune, a program of its own run in the background,
// so that FluidSynth's 50 MB and any fault of a MIDI file stay out of the game. The WAV is kept in
// the user's cache under a hash of all it was made of; a rendering past 20 s is given up.
class TuneRenderer
{
public:
    // Offered a finished WAV; answers why it cannot be played, or nothing when it is taken.
    using Take = std::function<QString(const QString &wavPath)>;
    using Warn = std::function<void(const QString &message)>; // each trouble, in a sentence

    // program: the renderer; by default seabattle-tune in the game's folder.
    TuneRenderer(const QString &program, Take take, Warn warn);
    ~TuneRenderer() { stop(); } // a rendering still running is stopped, its output removed

    // What a rendering of the tune is made of: the same key, the same WAV.
    QByteArray keyOf(const QByteArray &midi) const;
    // Offers the WAV cached under the key, or renders it anew. tuneName names it in warnings.
    void render(const QString &tuneName, const QByteArray &midi, const QByteArray &key);
    // Waits until a rendering running has ended and its WAV has been offered.
    void waitForFinished();

private:
    void start(const QByteArray &midi);
    void stop(); // kills a rendering still running
    void ended(bool crashed, int exitCode);

    QString m_program;
    Take m_take;
    Warn m_warn;
    QProcess *m_process = nullptr; // deleted later, as it ends inside its own signal
    QString m_tuneName;
    QString m_wavPath;
    QString m_partPath; // its output until it has succeeded; one per game running
    QByteArray m_log;
    bool m_timedOut = false;
};
