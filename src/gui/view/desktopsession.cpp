#include "view/desktopsession.h"

#include "files/installfolder.h"
#include "files/playerfolders.h"
#include "view/prompter.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QIcon>

namespace {

// The desktop names a window after the menu entry its application id (Wayland) or its class
// (X11, "seabattle") leads to. The entry is hidden from the menus and names the copy last
// run, which the desktop checks is there; rewritten only when another copy runs.
const QString folderRunId = QStringLiteral("seabattle");

void leaveHiddenEntry(const QIcon &icon)
{
    if (PlayerFolders::data().isEmpty())
        return;
    const QDir data(PlayerFolders::dataHome());
    const QString iconFile = PlayerFolders::data() + "/seabattle.png";
    const QByteArray entry
        = QStringLiteral("[Desktop Entry]\nType=Application\n"
                         "Name=Морской бой\nName[en]=Sea Battle\nExec=\"%1\"\nIcon=%2\n"
                         "NoDisplay=true\n")
              .arg(QCoreApplication::applicationFilePath(), iconFile)
              .toUtf8();
    const QString entryFile = data.filePath("applications/" + folderRunId + ".desktop");
    QFile old(entryFile);
    if (QFileInfo::exists(iconFile) && old.open(QIODevice::ReadOnly) && old.readAll() == entry)
        return;
    if (!QDir().mkpath(QFileInfo(iconFile).path()) || !QDir().mkpath(QFileInfo(entryFile).path())
        || !icon.pixmap(256).save(iconFile))
        return;
    QFile file(entryFile);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(entry);
}

} // namespace

void DesktopSession::preferXServer()
{
    const bool chosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || qgetenv("XDG_SESSION_TYPE") == "wayland";
    const bool xServer = !qEnvironmentVariableIsEmpty("DISPLAY");
    // Qt tries the platforms in order: Wayland still serves when the X server cannot be
    // reached after all.
    if (!chosen && wayland && xServer)
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

void DesktopSession::dressApplication()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icon/%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    // Without a desktop session (a test's own X server) there is no one to read the entry.
    if (!InstallFolder::isSystemWide() && !qEnvironmentVariableIsEmpty("XDG_CURRENT_DESKTOP")) {
        leaveHiddenEntry(icon);
        QGuiApplication::setDesktopFileName(folderRunId);
    }
}

void DesktopSession::tellProblems(Prompter &prompter)
{
    // The font system may still name its generic families with no file behind them: what
    // counts is whether a letter of the game's words, in the language it speaks, can be drawn.
    const QString title = QCoreApplication::translate("MissingFonts", "Морской бой: нет шрифтов");
    if (!QFontMetrics(QApplication::font()).inFont(title.at(0))) {
        qWarning("no installed font draws Cyrillic letters: every text of the game is drawn as "
                 "empty boxes; install one, such as the package fonts-dejavu-core");
        prompter.inform(nullptr,
                        QCoreApplication::translate("MissingFonts",
                                                    "В системе нет шрифта с русскими буквами, "
                                                    "поэтому надписи игры не видны. Установите "
                                                    "шрифт, например пакет fonts-dejavu-core."),
                        title);
    }
    const QString words = PlayerFolders::homeNotice();
    if (words.isEmpty())
        return;
    qWarning().noquote() << QStringLiteral("%1: the game keeps no data of the player's, and "
                                           "results only in a writable installation folder")
                                .arg(PlayerFolders::homeProblem());
    prompter.inform(nullptr, words);
}
