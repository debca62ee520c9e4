#include "model/installfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString &overridePath()
{
    static QString path;
    return path;
}
} // namespace

QString InstallFolder::path()
{
    if (!overridePath().isEmpty())
        return overridePath();
    return QCoreApplication::applicationDirPath();
}

QString InstallFolder::file(const QString &name)
{
    return QDir(path()).filePath(name);
}

void InstallFolder::setPathForTesting(const QString &path)
{
    overridePath() = path;
}
