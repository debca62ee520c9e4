#pragma once

#include <QString>

// A null sink of the test's own on the PulseAudio server, made the output of every mixer opened
// while it lives (through PULSE_SINK): sound that other programs send to the shared default sink
// stays out of the recording, and ours stays out of theirs.
class PrivateSink
{
public:
    PrivateSink();
    // Unloads the sink's module again.
    ~PrivateSink();

    bool isValid() const { return !m_module.isEmpty(); }
    // Why there is no sink, when there is none.
    QString error() const { return m_error; }
    QString monitor() const { return m_name + QStringLiteral(".monitor"); }
    // How many streams play into the sink now (-1: the server does not say).
    int streams() const;

private:
    QString m_name;
    QString m_module;
    QString m_error;
};
