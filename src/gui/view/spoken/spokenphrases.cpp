#include "view/spoken/spokenwords.h"

// The whole phrases of the spoken news, made of the words of spokenwords.cpp.
namespace SpokenWords {

QString turnReturns(const QString &shot)
{
    return translated(QT_TRANSLATE_NOOP("SpokenWords", "%1, ваш ход")).arg(shot);
}

QString computerTurn(const QString &shots)
{
    return translated(QT_TRANSLATE_NOOP("SpokenWords", "Компьютер %1")).arg(shots);
}

QString playerTurn(const QString &shots)
{
    return translated(QT_TRANSLATE_NOOP("SpokenWords", "Ваши выстрелы %1")).arg(shots);
}

QString battleOpens(bool withKeys)
{
    return withKeys ? translated(QT_TRANSLATE_NOOP("SpokenWords", "Ваш ход. R повтор, S счёт"))
                    : turn(Game::Turn::Player);
}

QString state(const Game &game)
{
    if (game.phase() != Game::Phase::Battle)
        return phase(game);
    const Score &score = game.score();
    const QString turnNow = game.isOver() ? refusal(Refusal::GameOver) : turn(game.turn());
    return translated(QT_TRANSLATE_NOOP("SpokenWords",
                                        "%1. Попадания, ваши %2, компьютера %3. "
                                        "У противника %4. У вас %5"))
        .arg(turnNow)
        .arg(score.userHits)
        .arg(score.compHits)
        .arg(ships(score.compAfloat), ships(score.playerAfloat));
}

QString score(const Score &score)
{
    return translated(QT_TRANSLATE_NOOP("SpokenWords",
                                        "Счёт. Ваши попадания %1, промахи %2. "
                                        "Попадания компьютера %3, промахи %4"))
        .arg(score.userHits)
        .arg(score.userMisses)
        .arg(score.compHits)
        .arg(score.compMisses);
}

QString chosenShip(int size, bool horizontal)
{
    return ship(size) + QLatin1Char(' ')
        + (horizontal ? translated(QT_TRANSLATE_NOOP("SpokenWords", "горизонтально"))
                      : translated(QT_TRANSLATE_NOOP("SpokenWords", "вертикально")));
}

QString preview(int from, int to)
{
    return from == to ? QString()
                      : translated(QT_TRANSLATE_NOOP("SpokenWords", "до %1")).arg(coordinate(to));
}

QString placed(int size, int from, int to)
{
    const QString cells
        = from == to ? coordinate(from) : coordinate(from) + QStringLiteral(", ") + coordinate(to);
    return translated(QT_TRANSLATE_NOOP("SpokenWords", "Поставлен %1 %2")).arg(ship(size), cells);
}

QString fleetStands()
{
    return translated(QT_TRANSLATE_NOOP("SpokenWords", "Флот расставлен. Выберите уровень"));
}

QString laidOutAgain()
{
    return translated(QT_TRANSLATE_NOOP("SpokenWords", "Расставлено заново"));
}

QString phase(const Game &game)
{
    switch (game.phase()) {
    case Game::Phase::ChoosingWay:
        return translated(
            QT_TRANSLATE_NOOP("SpokenWords", "Расстановка. Автоматически или вручную"));
    case Game::Phase::PlacingByHand:
        return translated(QT_TRANSLATE_NOOP("SpokenWords",
                                            "Расстановка вручную, ставится %1. Ctrl "
                                            "горизонтально"))
            .arg(chosenShip(game.picker().selectedSize(), game.isCtrlHeld()));
    case Game::Phase::AutoLayoutShown:
        return translated(
            QT_TRANSLATE_NOOP("SpokenWords", "Расстановка готова. Поменять или согласиться"));
    case Game::Phase::ChoosingLevel:
        return translated(QT_TRANSLATE_NOOP("SpokenWords", "Выберите уровень"));
    case Game::Phase::Battle:
        break;
    }
    return state(game);
}

} // namespace SpokenWords
