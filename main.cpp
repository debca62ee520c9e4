#include "model/randomsource.h"
#include "sound/gamesound.h"
#include "view/desktopsession.h"
#include "view/frmmain.h"
#include "view/prompter.h"
#include "view/quitsignals.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

int main(int argc, char *argv[])
{
    // The game takes no arguments and ignores any it is given, Qt's own options too.
    Q_UNUSED(argc);
    int noArguments = 1;
    DesktopSession::preferXServer();
    QApplication app(noArguments, argv);
    QApplication::setApplicationName(QStringLiteral("seabattle"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.seabattle.SeaBattle"));
    DesktopSession::dressApplication();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    // Every text the player sees is Russian, the standard buttons' "Да" and "Нет" too.
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"),
                            QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    QuitSignals quitSignals;
    MessageBoxPrompter prompter;
    // The notice is the only window while it is open; closing it must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    frmMain::showAuthorshipNotice(prompter, nullptr);
    if (quitSignals.received())
        return 0;
    GameSound sound;
    ClockSeededRandom random;
    frmMain window(sound, random, prompter);
    window.Form_Load(frmMain::Notice::AlreadyShown);
    window.show();
    QApplication::setQuitOnLastWindowClosed(true);
    return app.exec();
}
