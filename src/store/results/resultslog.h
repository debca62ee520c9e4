#pragma once

#include <QLoggingCategory>
#include <QSet>
#include <QString>

// Every complaint about the results file goes here, on standard error.
Q_DECLARE_LOGGING_CATEGORY(lcResults)

// Says each message once: a file that stays busy must not repeat itself at every retry.
class ResultsOnceLog
{
public:
    void say(const QString &message, QtMsgType type = QtWarningMsg);

private:
    QSet<QString> m_said;
};
