#pragma once

#include <QCoreApplication>
#include <QString>

#include <optional>

// The options answered in the terminal before any window, so that they need no display:
// --help (or -h) and --version. The game takes no other options and ignores any other
// argument. The texts are the player's language and go through Qt's translations.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    // What to print for main's arguments, or nothing when the game is to start.
    static std::optional<QString> answer(int argc, char *argv[]);

private:
    static QString help(const QString &program);
    static QString version();
};
