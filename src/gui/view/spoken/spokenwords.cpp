#include "view/spoken/spokenwords.h"

#include "model/field.h"

#include <QCoreApplication>
#include <QStringList>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("SpokenWords", text);
}

// espeak-ng's Russian voice says "Б5" as "бы пять" and "В5" as "ф пять": those two are
// spelled as the letters' names; the others it says right.
const char *const columnNames[] = {
    QT_TRANSLATE_NOOP("SpokenWords", "А"),  QT_TRANSLATE_NOOP("SpokenWords", "бэ"),
    QT_TRANSLATE_NOOP("SpokenWords", "вэ"), QT_TRANSLATE_NOOP("SpokenWords", "Г"),
    QT_TRANSLATE_NOOP("SpokenWords", "Д"),  QT_TRANSLATE_NOOP("SpokenWords", "Е"),
    QT_TRANSLATE_NOOP("SpokenWords", "Ж"),  QT_TRANSLATE_NOOP("SpokenWords", "З"),
    QT_TRANSLATE_NOOP("SpokenWords", "И"),  QT_TRANSLATE_NOOP("SpokenWords", "К"),
};

// By size 1 to 4: one ship, and two to four of them.
const char *const shipNames[][2] = {
    {QT_TRANSLATE_NOOP("SpokenWords", "однопалубный"),
     QT_TRANSLATE_NOOP("SpokenWords", "однопалубных")},
    {QT_TRANSLATE_NOOP("SpokenWords", "двухпалубный"),
     QT_TRANSLATE_NOOP("SpokenWords", "двухпалубных")},
    {QT_TRANSLATE_NOOP("SpokenWords", "трёхпалубный"),
     QT_TRANSLATE_NOOP("SpokenWords", "трёхпалубных")},
    {QT_TRANSLATE_NOOP("SpokenWords", "четырёхпалубный"),
     QT_TRANSLATE_NOOP("SpokenWords", "четырёхпалубных")},
};

// In the order of SpokenWords::Refusal.
const char *const refusals[] = {
    QT_TRANSLATE_NOOP("SpokenWords", "Не используется. Tab, стрелки, Enter, R повтор, S счёт"),
    QT_TRANSLATE_NOOP("SpokenWords", "Ход компьютера"),
    QT_TRANSLATE_NOOP("SpokenWords", "Игра окончена"),
    QT_TRANSLATE_NOOP("SpokenWords", "Только для чтения"),
    QT_TRANSLATE_NOOP("SpokenWords", "Уже стреляли"),
    QT_TRANSLATE_NOOP("SpokenWords", "Нельзя, не помещается"),
    QT_TRANSLATE_NOOP("SpokenWords", "Нельзя, рядом корабль"),
    QT_TRANSLATE_NOOP("SpokenWords", "Нельзя, поле противника"),
};

// The captions the window draws with "е" for "ё".
const char *const captions[][2] = {
    {"Легкий", QT_TRANSLATE_NOOP("SpokenWords", "Лёгкий")},
    {"Счет", QT_TRANSLATE_NOOP("SpokenWords", "Счёт")},
    {"Объемный вид", QT_TRANSLATE_NOOP("SpokenWords", "Объёмный вид")},
};
} // namespace

QString SpokenWords::refusal(Refusal reason)
{
    return tr(refusals[int(reason)]);
}

QString SpokenWords::columnName(int column)
{
    return column >= 1 && column <= 10 ? tr(columnNames[column - 1]) : QString();
}

QString SpokenWords::coordinate(int index)
{
    return columnName(Field::columnOf(index)) + QLatin1Char(' ')
        + QString::number(Field::rowOf(index));
}

QString SpokenWords::cell(int index, CellState state, Fate fate)
{
    const bool own = Field::sideOf(index) == Side::Player;
    const char *known = QT_TRANSLATE_NOOP("SpokenWords", "не обстреляна");
    if (state == CellState::Empty && own)
        known = QT_TRANSLATE_NOOP("SpokenWords", "вода");
    else if (state == CellState::Ship && own)
        known = QT_TRANSLATE_NOOP("SpokenWords", "корабль");
    else if (state == CellState::Miss)
        known = fate == Fate::Ring ? QT_TRANSLATE_NOOP("SpokenWords", "пусто, рядом убитый")
                                   : QT_TRANSLATE_NOOP("SpokenWords", "мимо");
    else if (state == CellState::Hit)
        known = fate == Fate::Sunk ? QT_TRANSLATE_NOOP("SpokenWords", "убит")
                                   : QT_TRANSLATE_NOOP("SpokenWords", "ранен");
    return coordinate(index) + QLatin1Char(' ') + tr(known);
}

QString SpokenWords::field(int index)
{
    return Field::sideOf(index) == Side::Player
        ? tr(QT_TRANSLATE_NOOP("SpokenWords", "ваше поле"))
        : tr(QT_TRANSLATE_NOOP("SpokenWords", "поле противника"));
}

QString SpokenWords::shot(const Shot &shot)
{
    switch (shot.result) {
    case Shot::Result::Refused:
        return refusal(Refusal::AlreadyFired);
    case Shot::Result::Miss:
        return tr(QT_TRANSLATE_NOOP("SpokenWords", "%1 мимо")).arg(coordinate(shot.cell));
    case Shot::Result::Hit:
        return tr(QT_TRANSLATE_NOOP("SpokenWords", "%1 ранил")).arg(coordinate(shot.cell));
    case Shot::Result::Sunk:
        return tr(QT_TRANSLATE_NOOP("SpokenWords", "%1 убил %2"))
            .arg(coordinate(shot.cell), ship(shot.length));
    }
    return QString();
}

QString SpokenWords::turn(Game::Turn turn)
{
    switch (turn) {
    case Game::Turn::Player:
        return tr(QT_TRANSLATE_NOOP("SpokenWords", "Ваш ход"));
    case Game::Turn::Computer:
        return tr(QT_TRANSLATE_NOOP("SpokenWords", "Ход компьютера"));
    case Game::Turn::None:
        break;
    }
    return QString();
}

QString SpokenWords::ship(int size)
{
    return size >= 1 && size <= Fleet::LargestShip ? tr(shipNames[size - 1][0]) : QString();
}

QString SpokenWords::shipsOfSize(int size)
{
    return size >= 1 && size <= Fleet::LargestShip ? tr(shipNames[size - 1][1]) : QString();
}

QString SpokenWords::ships(const Fleet::CountBySize &count)
{
    QStringList told;
    for (int size = Fleet::LargestShip; size >= 1; --size) {
        if (count[size] > 0)
            told << QStringLiteral("%1 %2")
                        .arg(count[size])
                        .arg(tr(shipNames[size - 1][count[size] == 1 ? 0 : 1]));
    }
    return told.isEmpty() ? tr(QT_TRANSLATE_NOOP("SpokenWords", "кораблей нет"))
                          : told.join(QStringLiteral(", "));
}

QString SpokenWords::caption(const QString &drawn)
{
    for (const auto &pair : captions) {
        if (drawn == QString::fromUtf8(pair[0]))
            return tr(pair[1]);
    }
    return drawn;
}

QString SpokenWords::computerTurn(const QString &shots)
{
    return tr(QT_TRANSLATE_NOOP("SpokenWords", "Компьютер %1")).arg(shots);
}

QString SpokenWords::playerTurn(const QString &shots)
{
    return tr(QT_TRANSLATE_NOOP("SpokenWords", "Ваши выстрелы %1")).arg(shots);
}

QString SpokenWords::battleOpens(bool withKeys)
{
    return withKeys ? tr(QT_TRANSLATE_NOOP("SpokenWords", "Ваш ход. R повтор, S счёт"))
                    : turn(Game::Turn::Player);
}

QString SpokenWords::state(const Game &game)
{
    if (game.phase() != Game::Phase::Battle)
        return phase(game);
    const Score &score = game.score();
    const QString turnNow = game.isOver() ? refusal(Refusal::GameOver) : turn(game.turn());
    return tr(QT_TRANSLATE_NOOP("SpokenWords",
                                "%1. Попадания, ваши %2, компьютера %3. "
                                "У противника %4. У вас %5"))
        .arg(turnNow)
        .arg(score.userHits)
        .arg(score.compHits)
        .arg(ships(score.compAfloat), ships(score.playerAfloat));
}

QString SpokenWords::score(const Score &score)
{
    return tr(QT_TRANSLATE_NOOP("SpokenWords",
                                "Счёт. Ваши попадания %1, промахи %2. "
                                "Попадания компьютера %3, промахи %4"))
        .arg(score.userHits)
        .arg(score.userMisses)
        .arg(score.compHits)
        .arg(score.compMisses);
}

QString SpokenWords::chosenShip(int size, bool horizontal)
{
    return ship(size) + QLatin1Char(' ')
        + (horizontal ? tr(QT_TRANSLATE_NOOP("SpokenWords", "горизонтально"))
                      : tr(QT_TRANSLATE_NOOP("SpokenWords", "вертикально")));
}

QString SpokenWords::preview(int from, int to)
{
    return from == to ? QString()
                      : tr(QT_TRANSLATE_NOOP("SpokenWords", "до %1")).arg(coordinate(to));
}

QString SpokenWords::placed(int size, int from, int to)
{
    const QString cells
        = from == to ? coordinate(from) : coordinate(from) + QStringLiteral(", ") + coordinate(to);
    return tr(QT_TRANSLATE_NOOP("SpokenWords", "Поставлен %1 %2")).arg(ship(size), cells);
}

QString SpokenWords::fleetStands()
{
    return tr(QT_TRANSLATE_NOOP("SpokenWords", "Флот расставлен. Выберите уровень"));
}

QString SpokenWords::laidOutAgain()
{
    return tr(QT_TRANSLATE_NOOP("SpokenWords", "Расставлено заново"));
}

QString SpokenWords::phase(const Game &game)
{
    switch (game.phase()) {
    case Game::Phase::ChoosingWay:
        return tr(QT_TRANSLATE_NOOP("SpokenWords", "Расстановка. Автоматически или вручную"));
    case Game::Phase::PlacingByHand:
        return tr(QT_TRANSLATE_NOOP("SpokenWords",
                                    "Расстановка вручную, ставится %1. Ctrl "
                                    "горизонтально"))
            .arg(chosenShip(game.picker().selectedSize(), game.isCtrlHeld()));
    case Game::Phase::AutoLayoutShown:
        return tr(QT_TRANSLATE_NOOP("SpokenWords", "Расстановка готова. Поменять или согласиться"));
    case Game::Phase::ChoosingLevel:
        return tr(QT_TRANSLATE_NOOP("SpokenWords", "Выберите уровень"));
    case Game::Phase::Battle:
        break;
    }
    return state(game);
}
