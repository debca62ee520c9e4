#include "view/missingfonts.h"

#include "view/prompter.h"

#include <QApplication>
#include <QDebug>
#include <QFontMetrics>

void MissingFonts::tell(Prompter &prompter)
{
    // The font system may still name its generic families with no file behind them: what
    // counts is whether a letter of the game's words, in the language it speaks, can be drawn.
    const QString title = QCoreApplication::translate("MissingFonts", "Морской бой: нет шрифтов");
    if (QFontMetrics(QApplication::font()).inFont(title.at(0)))
        return;
    qWarning("no installed font draws Cyrillic letters: every text of the game is drawn as "
             "empty boxes; install one, such as the package fonts-dejavu-core");
    prompter.inform(nullptr,
                    QCoreApplication::translate("MissingFonts",
                                                "В системе нет шрифта с русскими буквами, поэтому "
                                                "надписи игры не видны. Установите шрифт, "
                                                "например пакет fonts-dejavu-core."),
                    title);
}
