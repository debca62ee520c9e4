#include "resultssandbox.h"

#include "files/installfolder.h"
#include "store/resultsstore.h"

#include <QDir>

ResultsSandbox::ResultsSandbox() : m_oldDataHome(qgetenv("XDG_DATA_HOME"))
{
    QDir().mkpath(installDir());
    InstallFolder::setPathForTesting(installDir());
    // QStandardPaths reads it at each call, so the store's fallback lands in here.
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome()));
}

ResultsSandbox::~ResultsSandbox()
{
    qputenv("XDG_DATA_HOME", m_oldDataHome);
    InstallFolder::setPathForTesting({});
}

QString ResultsSandbox::installDir() const
{
    return m_root.filePath(QStringLiteral("game"));
}

QString ResultsSandbox::dataHome() const
{
    return m_root.filePath(QStringLiteral("data"));
}

QString ResultsSandbox::installFile() const
{
    return QDir(installDir()).filePath(QStringLiteral("Base.mdb"));
}

QString ResultsSandbox::userFile() const
{
    return ResultsStore::userFilePath();
}
