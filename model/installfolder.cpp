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

bool InstallFolder::isSystemWide()
{
    return false;
}

QString InstallFolder::program(const QString &name)
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

QString InstallFolder::file(const QString &name)
{
    return QDir(path()).filePath(name);
}

void InstallFolder::setPathForTesting(const QString &path)
{
    overridePath() = path;
}
