#include "commandline.h"

#include <QFileInfo>

std::optional<QString> CommandLine::answer(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--help" || argument == "-h")
            return help(QFileInfo(QString::fromLocal8Bit(argv[0])).fileName());
        if (argument == "--version")
            return version();
    }
    return std::nullopt;
}

QString CommandLine::help(const QString &program)
{
    return tr("Использование: %1 [ПАРАМЕТР]\n"
              "Морской бой для одного игрока против компьютера: без параметров открывается "
              "окно игры.\n"
              "\n"
              "  -h, --help     показать эту справку и выйти\n"
              "      --version  показать версию и выйти\n"
              "\n"
              "Результаты игр хранятся в ~/.local/share/seabattle/Base.mdb.\n")
        .arg(program);
}

QString CommandLine::version()
{
    // The copyright holders as AUTHORS names them.
    return tr("seabattle (Морской бой) %1\n"
              "© 2026 Разработчики игры «Морской бой»\n"
              "Лицензия GPLv3+: GNU GPL версии 3 или более поздней "
              "<https://gnu.org/licenses/gpl.html>.\n"
              "Это свободная программа: вы можете изменять и распространять ее.\n"
              "Никаких гарантий в пределах, допускаемых законом.\n")
        .arg(QStringLiteral(PROJECT_VERSION));
}
