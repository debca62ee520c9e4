#pragma once

#include <QLoggingCategory>
#include <QMutex>
#include <QSet>
#include <QString>

// Says each message once under its category. What fails is tried again (a results file every
// few seconds, a picture at each use, a sound at each hit), and the log must say it only the
// first time. A log shared by the whole program is a static one; any thread may use it.
class OnceLog
{
public:
    using Category = const QLoggingCategory &(*)();

    explicit OnceLog(Category category) : m_category(category) { }

    // False when the message was said before, and nothing is said now.
    bool say(const QString &message, QtMsgType type = QtWarningMsg);

private:
    Category m_category;
    QMutex m_lock;
    QSet<QString> m_said;
};
