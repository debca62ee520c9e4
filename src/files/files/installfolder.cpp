#include "files/installfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The installed layout's folders relative to the program folder, set by the build from the
// folders it installs into, so that a prefix moved as a whole still finds them.
const QString mediaFromProgram = QStringLiteral(SEABATTLE_MEDIA_FROM_PROGRAM);
const QString helpersFromProgram = QStringLiteral(SEABATTLE_HELPERS_FROM_PROGRAM);

// Set by tests only.
QString overridePath;
bool overrideSystemWide = false;

// The executable's own layout does not change while it runs: looked up once.
const InstallFolder::Layout &ownLayout()
{
    static const InstallFolder::Layout layout
        = InstallFolder::layoutOf(QCoreApplication::applicationDirPath());
    return layout;
}

} // namespace

InstallFolder::Layout InstallFolder::layoutOf(const QString &programFolder)
{
    const QDir program(programFolder);
    const QString installedMedia = QDir::cleanPath(program.filePath(mediaFromProgram));
    if (QFileInfo(installedMedia).isDir())
        return {installedMedia, QDir::cleanPath(program.filePath(helpersFromProgram)), true};
    return {programFolder, programFolder, false};
}

QString InstallFolder::path()
{
    return overridePath.isEmpty() ? ownLayout().media : overridePath;
}

bool InstallFolder::isSystemWide()
{
    return overridePath.isEmpty() ? ownLayout().systemWide : overrideSystemWide;
}

QString InstallFolder::program(const QString &name)
{
    return QDir(ownLayout().helpers).filePath(name);
}

QString InstallFolder::file(const QString &name)
{
    return QDir(path()).filePath(name);
}

void InstallFolder::setPathForTesting(const QString &path, bool systemWide)
{
    overridePath = path;
    overrideSystemWide = systemWide;
}
