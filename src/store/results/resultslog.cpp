#include "results/resultslog.h"

Q_LOGGING_CATEGORY(lcResults, "seabattle.results")

void ResultsOnceLog::say(const QString &message, QtMsgType type)
{
    if (m_said.contains(message))
        return;
    m_said.insert(message);
    if (type == QtWarningMsg)
        qCWarning(lcResults).noquote() << message;
    else
        qCInfo(lcResults).noquote() << message;
}
