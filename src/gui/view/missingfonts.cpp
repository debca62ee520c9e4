#include "view/missingfonts.h"

#include "view/prompter.h"

#include <QApplication>
#include <QDebug>
#include <QFontMetrics>

void MissingFonts::tell(Prompter &prompter)
{
    // The font system may still name its generic families with no file behind them: what
    // counts is whether a letter of the game's words can be drawn.
    if (QFontMetrics(QApplication::font()).inFont(QChar(u'М')))
        return;
    qWarning("no installed font draws Cyrillic letters: every text of the game is drawn as "
             "empty boxes; install one, such as the package fonts-dejavu-core");
    prompter.inform(nullptr,
                    QStringLiteral("В системе нет шрифта с русскими буквами, поэтому надписи игры "
                                   "не видны. Установите шрифт, например пакет "
                                   "fonts-dejavu-core."),
                    QStringLiteral("Морской бой: нет шрифтов"));
}
