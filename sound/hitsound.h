#pragma once

#include "sound/oncewarning.h"

#include <QAudioDevice>
#include <QObject>
#include <QPointer>
#include <QString>

class QSoundEffect;

// The hit sound: a WAV file looping until stopped. Every start reads the file afresh (a new
// QSoundEffect drops Qt's cached copy), so a replaced file is heard at the next hit.
class HitSound : public QObject
{
    Q_OBJECT
public:
    explicit HitSound(QObject *parent = nullptr);
    ~HitSound() override;

    // Null: the server's default output, looked up at each start.
    void setOutputDevice(const QAudioDevice &device);

    // Replaces a sound still playing; a missing or unreadable file gives one warning and silence.
    void start(const QString &wavPath);
    // Silences at once; does nothing when nothing plays.
    void stop();
    bool isPlaying() const;

private:
    bool isUsable(const QString &wavPath);

    QAudioDevice m_device;
    QPointer<QSoundEffect> m_effect;
    OnceWarning m_warning;
};
