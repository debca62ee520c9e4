#include "commandline.h"
#include "model/randomsource.h"
#include "sound/gamesound.h"
#include "view/desktopsession.h"
#include "view/frmmain.h"
#include "view/gamelanguage.h"
#include "view/prompter.h"
#include "view/quitsignals.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The game takes no arguments and ignores any it is given, Qt's own options too.
    int noArguments = 1;
    if (CommandLine::answer(argc, argv)) {
        // Answered in the player's language, without a display: asked again once the words are
        // in place.
        QCoreApplication terminal(noArguments, argv);
        GameLanguage::install(terminal);
        std::fputs(qPrintable(CommandLine::answer(argc, argv).value_or(QString())), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    DesktopSession::preferXServer();
    QApplication app(noArguments, argv);
    // Before any text is made.
    GameLanguage::install(app);
    QApplication::setApplicationName(QStringLiteral("seabattle"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.seabattle.SeaBattle"));
    DesktopSession::dressApplication();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    QuitSignals quitSignals;
    MessageBoxPrompter prompter;
    // The notice is the only window while it is open; closing it must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    frmMain::showAuthorshipNotice(prompter, nullptr);
    if (quitSignals.received())
        return 0;
    DesktopSession::tellProblems(prompter);
    GameSound sound;
    ClockSeededRandom random;
    frmMain window(sound, random, prompter);
    window.Form_Load(frmMain::Notice::AlreadyShown);
    window.show();
    QApplication::setQuitOnLastWindowClosed(true);
    return app.exec();
}
