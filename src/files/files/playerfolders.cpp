#include "files/playerfolders.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

enum class Home { Usable, Unset, NotUtf8, Relative, NotAFolder };

// The variable's value as a path, when its bytes are UTF-8 that names it exactly: anything
// else, turned into a name and back, would name another place (a folder beside the home).
QString exactPath(const char *variable, bool *valid = nullptr)
{
    const QByteArray bytes = qgetenv(variable);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString path = utf8(bytes);
    const bool exact = !utf8.hasError() && QFile::encodeName(path) == bytes;
    if (valid)
        *valid = exact;
    return exact ? path : QString();
}

Home home(QString *path)
{
    if (qEnvironmentVariableIsEmpty("HOME"))
        return Home::Unset;
    bool valid = false;
    *path = exactPath("HOME", &valid);
    if (!valid)
        return Home::NotUtf8;
    if (!path->startsWith(QLatin1Char('/')))
        return Home::Relative;
    // The root as home is no home of the player's: the game would write under it.
    if (!QFileInfo(*path).isDir() || QFileInfo(*path).canonicalFilePath() == QLatin1String("/"))
        return Home::NotAFolder;
    return Home::Usable;
}

QString base(const char *variable, const char *inHome)
{
    const QString chosen = exactPath(variable);
    if (chosen.startsWith(QLatin1Char('/')))
        return chosen;
    QString homePath;
    return home(&homePath) == Home::Usable ? homePath + QLatin1String(inHome) : QString();
}

QString gameFolder(const QString &base)
{
    if (base.isEmpty())
        return {};
    // Named as Qt names the application's folders.
    QString folder = base;
    for (const QString &part :
         {QCoreApplication::organizationName(), QCoreApplication::applicationName()}) {
        if (!part.isEmpty())
            folder += QLatin1Char('/') + part;
    }
    return folder;
}

} // namespace

QString PlayerFolders::dataHome()
{
    return base("XDG_DATA_HOME", "/.local/share");
}

QString PlayerFolders::data()
{
    return gameFolder(dataHome());
}

QString PlayerFolders::cache()
{
    return gameFolder(base("XDG_CACHE_HOME", "/.cache"));
}

QString PlayerFolders::homeProblem()
{
    QString path;
    switch (home(&path)) {
    case Home::Usable:
        return {};
    case Home::Unset:
        return QStringLiteral("HOME is not set");
    case Home::NotUtf8:
        return QStringLiteral("HOME is not valid UTF-8");
    case Home::Relative:
        return QStringLiteral("HOME (%1) is not an absolute path").arg(path);
    case Home::NotAFolder:
        return QStringLiteral("HOME (%1) is not a folder of the player's").arg(path);
    }
    return {};
}

QString PlayerFolders::homeNotice()
{
    QString path;
    QString why;
    switch (data().isEmpty() ? home(&path) : Home::Usable) {
    case Home::Usable:
        return {};
    case Home::Unset:
        why = QCoreApplication::translate("PlayerFolders", "переменная HOME не задана");
        break;
    case Home::NotUtf8:
        why = QCoreApplication::translate("PlayerFolders",
                                          "имя домашней папки (HOME) не в кодировке UTF-8");
        break;
    case Home::Relative:
        why = QCoreApplication::translate("PlayerFolders", "HOME (%1) не является полным путем")
                  .arg(path);
        break;
    case Home::NotAFolder:
        why = QCoreApplication::translate("PlayerFolders", "HOME (%1) не является домашней папкой")
                  .arg(path);
        break;
    }
    return QCoreApplication::translate("PlayerFolders",
                                       "Домашняя папка недоступна: %1. Результаты игр сохраняются, "
                                       "только если папка игры открыта для записи.")
        .arg(why);
}
