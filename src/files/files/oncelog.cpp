#include "files/oncelog.h"

bool OnceLog::say(const QString &message, QtMsgType type)
{
    {
        const QMutexLocker locker(&m_lock);
        if (m_said.contains(message))
            return false;
        m_said.insert(message);
    }
    if (type == QtWarningMsg)
        qCWarning(m_category).noquote() << message;
    else
        qCInfo(m_category).noquote() << message;
    return true;
}
