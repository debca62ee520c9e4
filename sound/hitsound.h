#pragma once

#include "sound/oncewarning.h"

#include <QAudioDevice>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QSoundEffect;

// The hit sound: a WAV file looping until stopped. The file is read and checked at every start;
// each file keeps one QSoundEffect, stopped and started again at each hit, and gets a new one
// only when its bytes have changed.
//
// No QSoundEffect is destroyed before the hit sound itself: destroying one lets go of its sound
// in Qt's sample cache, which may block, and hands its audio stream to a deferred deletion whose
// destructor runs the thread's pending events in the middle of whatever is running.
class HitSound : public QObject
{
    Q_OBJECT
public:
    explicit HitSound(QObject *parent = nullptr);
    // Stops every sound and destroys the effects, the audio streams stopped first.
    ~HitSound() override;

    // Null: the server's default output, looked up at each start.
    void setOutputDevice(const QAudioDevice &device);

    // Replaces a sound still playing; a missing or unplayable file gives one warning and silence.
    void start(const QString &wavPath);
    // Silences at once; does nothing when nothing plays.
    void stop();
    bool isPlaying() const;

private:
    struct Loaded
    {
        QSoundEffect *effect = nullptr;
        QByteArray digest;
        QAudioDevice device;
    };

    QByteArray readPlayable(const QString &wavPath);
    QSoundEffect *effectFor(const QString &wavPath, const QByteArray &digest,
                            const QAudioDevice &device);

    QAudioDevice m_device;
    QHash<QString, Loaded> m_loaded;
    QList<QSoundEffect *> m_effects; // every effect made, the replaced ones included
    QSoundEffect *m_playing = nullptr;
    int m_versions = 0;
    OnceWarning m_warning;
};
