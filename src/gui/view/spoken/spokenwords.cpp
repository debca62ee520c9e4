#include "view/spoken/spokenwords.h"

#include "model/field.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

// espeak-ng's Russian voice says "Б5" as "бы пять" and "В5" as "ф пять": those two are
// spelled as the letters' names; the others it says right. A translation does the same where
// its voice misreads a letter (English: a lone "A" is read as the article, so "eh").
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

QString SpokenWords::translated(const char *sourceText)
{
    return QCoreApplication::translate("SpokenWords", sourceText);
}

QString SpokenWords::refusal(Refusal reason)
{
    return translated(refusals[int(reason)]);
}

QString SpokenWords::coordinate(int index)
{
    return translated(columnNames[Field::columnOf(index) - 1]) + QLatin1Char(' ')
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
    return coordinate(index) + QLatin1Char(' ') + translated(known);
}

QString SpokenWords::field(int index)
{
    return Field::sideOf(index) == Side::Player
        ? translated(QT_TRANSLATE_NOOP("SpokenWords", "ваше поле"))
        : translated(QT_TRANSLATE_NOOP("SpokenWords", "поле противника"));
}

QString SpokenWords::shot(const Shot &shot)
{
    // The player's hits as what the player did ("ранил"), the computer's as what befell the
    // player's ship ("ранен"), as the player's cells are named: told apart without a name.
    const bool own = shot.shooter == Side::Player;
    switch (shot.result) {
    case Shot::Result::Refused:
        return refusal(Refusal::AlreadyFired);
    case Shot::Result::Miss:
        return translated(QT_TRANSLATE_NOOP("SpokenWords", "%1 мимо")).arg(coordinate(shot.cell));
    case Shot::Result::Hit:
        return translated(own ? QT_TRANSLATE_NOOP("SpokenWords", "%1 ранил")
                              : QT_TRANSLATE_NOOP("SpokenWords", "%1 ранен"))
            .arg(coordinate(shot.cell));
    case Shot::Result::Sunk:
        return translated(own ? QT_TRANSLATE_NOOP("SpokenWords", "%1 убил %2")
                              : QT_TRANSLATE_NOOP("SpokenWords", "%1 убит %2"))
            .arg(coordinate(shot.cell), ship(shot.length));
    }
    return QString();
}

QString SpokenWords::turn(Game::Turn turn)
{
    switch (turn) {
    case Game::Turn::Player:
        return translated(QT_TRANSLATE_NOOP("SpokenWords", "Ваш ход"));
    case Game::Turn::Computer:
        return translated(QT_TRANSLATE_NOOP("SpokenWords", "Ход компьютера"));
    case Game::Turn::None:
        break;
    }
    return QString();
}

QString SpokenWords::ship(int size, int count)
{
    return size >= 1 && size <= Fleet::LargestShip ? translated(shipNames[size - 1][count != 1])
                                                   : QString();
}

QString SpokenWords::ships(const Fleet::CountBySize &count)
{
    QStringList told;
    for (int size = Fleet::LargestShip; size >= 1; --size) {
        if (count[size] > 0)
            told << QStringLiteral("%1 %2").arg(count[size]).arg(ship(size, count[size]));
    }
    return told.isEmpty() ? translated(QT_TRANSLATE_NOOP("SpokenWords", "кораблей нет"))
                          : told.join(QStringLiteral(", "));
}

QString SpokenWords::caption(const QString &drawn)
{
    for (const auto &pair : captions) {
        if (drawn == QString::fromUtf8(pair[0]))
            return translated(pair[1]);
    }
    return drawn;
}

QString SpokenWords::forEar(const QString &drawn, const QString &title)
{
    QStringList sentences;
    for (QString line : drawn.split(QLatin1Char('\n'))) {
        line.remove(QChar(0x00AB)).remove(QChar(0x00BB)).remove(QChar(0x00A9));
        line = line.simplified();
        if (!line.isEmpty() && !(sentences.isEmpty() && line == title.simplified()))
            sentences << (line.endsWith(QLatin1Char('.')) ? line.chopped(1) : line);
    }
    return sentences.join(QStringLiteral(". "));
}
