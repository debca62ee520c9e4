#include "view/accessiblenames.h"

#include "model/field.h"

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
    return columnLetter(Field::columnOf(index)) + QString::number(Field::rowOf(index))
        + QStringLiteral(": ") + known;
}

QString AccessibleNames::field(int index)
{
    return Field::sideOf(index) == Side::Player ? QStringLiteral("ваше поле")
                                                : QStringLiteral("поле противника");
}
