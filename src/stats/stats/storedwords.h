#pragma once

#include <QCoreApplication>
#include <QString>

// The results file keeps its words in Russian whatever language the game speaks, so that
// rows stay alike from one run to the next: the winner, the level and the column names are
// translated only where they are shown. Any other text shows as it is stored.
namespace StoredWords {

inline QString shown(const QString &stored)
{
    return QCoreApplication::translate("StoredWords", stored.toUtf8().constData());
}

} // namespace StoredWords
