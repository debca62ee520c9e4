#include "sound/oncewarning.h"

#include "sound/soundlog.h"

void OnceWarning::warn(const QString &message)
{
    if (m_said.contains(message))
        return;
    m_said.insert(message);
    qCWarning(lcSound).noquote() << message;
}
