#pragma once

#include <QSet>
#include <QString>

// Says each trouble once under "seabattle.sound": the game repeats its sound commands every few
// seconds, and a missing file must not flood stderr. clear() forgets, once things work again.
class OnceWarning
{
public:
    void warn(const QString &message);
    void clear() { m_said.clear(); }

private:
    QSet<QString> m_said;
};
