#include "sound/oncewarning.h"

Q_LOGGING_CATEGORY(lcSound, "seabattle.sound")

void OnceWarning::warn(const QString &message)
{
    if (m_said.contains(message))
        return;
    m_said.insert(message);
    qCWarning(lcSound).noquote() << message;
}
