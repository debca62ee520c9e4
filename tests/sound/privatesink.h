#pragma once

#include <QAudioDevice>
#include <QString>

// A null sink of the test's own on the PulseAudio server: sound that other programs send to the
// shared default sink stays out of the recording, and ours stays out of theirs.
class PrivateSink
{
public:
    PrivateSink();
    // Unloads the sink's module again.
    ~PrivateSink();

    bool isValid() const { return !m_device.isNull(); }
    // Why there is no sink, when there is none.
    QString error() const { return m_error; }
    QString monitor() const { return m_name + QStringLiteral(".monitor"); }
    QAudioDevice device() const { return m_device; }

private:
    QString m_name;
    QString m_module;
    QString m_error;
    QAudioDevice m_device;
};
