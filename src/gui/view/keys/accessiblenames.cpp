#include "view/keys/accessiblenames.h"

#include "model/field.h"

namespace {
QString coordinate(int index)
{
    return AccessibleNames::columnLetter(Field::columnOf(index))
        + QString::number(Field::rowOf(index)) + QStringLiteral(": ");
}
} // namespace

QString AccessibleNames::columnLetter(int column)
{
    static const char16_t letters[] = u"АБВГДЕЖЗИК";
    if (column < 1 || column > 10)
        return QString();
    return QString(QChar(letters[column - 1]));
}

QString AccessibleNames::cell(int index, CellState state)
{
    const bool own = Field::sideOf(index) == Side::Player;
    QString known;
    switch (state) {
    case CellState::Empty:
        known = own ? QStringLiteral("вода") : QStringLiteral("не обстреляна");
        break;
    case CellState::Ship:
        known = own ? QStringLiteral("корабль") : QStringLiteral("не обстреляна");
        break;
    case CellState::Miss:
        known = QStringLiteral("мимо");
        break;
    case CellState::Hit:
        known = QStringLiteral("попадание");
        break;
    }
    return coordinate(index) + known;
}

QString AccessibleNames::field(int index)
{
    return Field::sideOf(index) == Side::Player ? QStringLiteral("ваше поле")
                                                : QStringLiteral("поле противника");
}

QString AccessibleNames::shot(const Shot &shot)
{
    QString outcome;
    switch (shot.result) {
    case Shot::Result::Refused:
        return QString();
    case Shot::Result::Miss:
        outcome = QStringLiteral("мимо");
        break;
    case Shot::Result::Hit:
        outcome = QStringLiteral("попадание");
        break;
    case Shot::Result::Sunk:
        outcome = QStringLiteral("корабль потоплен");
        break;
    }
    const QString where = coordinate(shot.cell) + outcome;
    return shot.shooter == Side::Player ? where : QStringLiteral("Выстрел противника, ") + where;
}

QString AccessibleNames::turn(Game::Turn turn)
{
    switch (turn) {
    case Game::Turn::Player:
        return QStringLiteral("Ваш ход");
    case Game::Turn::Computer:
        return QStringLiteral("Ход компьютера");
    case Game::Turn::None:
        break;
    }
    return QString();
}
