#pragma once

#include <QLoggingCategory>
#include <QSet>
#include <QString>

// The tune's and the hit sound's warnings, and FluidSynth's few words.
Q_DECLARE_LOGGING_CATEGORY(lcSound)

// Says each trouble once under "seabattle.sound": the game repeats its sound commands every few
// seconds, and a missing file must not flood stderr.
class OnceWarning
{
public:
    void warn(const QString &message);

private:
    QSet<QString> m_said;
};
