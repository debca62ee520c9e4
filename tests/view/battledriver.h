#pragma once

#include "windowdriver.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QTimer>

// Brings the real window into the battle and reads what it stored.
namespace BattleDriver {

using namespace WindowDriver;

inline void layOutAndChooseLevel(frmMain &w, int level)
{
    WindowDriver::click(find<TextButton>(w, "lblSetAuto"));
    WindowDriver::click(find<TextButton>(w, "lblAgree"));
    WindowDriver::click(find<QPushButton>(w, QStringLiteral("rbL(%1)").arg(level - 1)));
}

// Cells of the computer's field in one state, in index order.
inline QList<int> compCells(frmMain &w, CellState state)
{
    QList<int> cells;
    for (int index = 100; index < 200; ++index)
        if (w.game().board().state(index) == state)
            cells << index;
    return cells;
}

// Drives the computer's moves the way its timer would, as long as the timer runs.
inline int tickComputer(frmMain &w, int maxTicks = 200)
{
    int ticks = 0;
    while (timer(w, "tmrI")->isActive() && ticks < maxTicks) {
        w.tmrI_Timer();
        ++ticks;
    }
    return ticks;
}

// Every row of tBase, oldest first, as "a|b|c|d"; of the pending rows' table, with `first`
// the column of the first value.
inline QStringList storedRows(const QString &file, const char *table = "tBase", int first = 0)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "battle-test-reader");
        db.setDatabaseName(file);
        if (db.open()) {
            QSqlQuery query(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table), db);
            while (query.next()) {
                QStringList values;
                for (int column = 0; column < 4; ++column)
                    values << query.value(first + column).toString();
                rows << values.join('|');
            }
        }
    }
    QSqlDatabase::removeDatabase("battle-test-reader");
    return rows;
}

// The rows waiting in the pending file, as storedRows() gives them.
inline QStringList waitingRows(const QString &file)
{
    return storedRows(file, "tPending", 1);
}

} // namespace BattleDriver
