#pragma once

#include "files/regularfile.h"
#include "results/resultsfile.h"

#include <QString>

// What is said when the results cannot live in the installation's Base.mdb: what was found
// there, for the log, and for the player where the results go instead, with the key under
// which that notice is remembered as given.
namespace ResultsNotice {

struct Notice
{
    QString text; // in Russian
    QString key; // one per file or folder: another file put in its place is told about again
};

// "<path> is damaged (<why>)", ...
QString refusedForLog(const QString &path, ResultsFile::Kind kind, const QString &why);
Notice refusedFile(const QString &path, ResultsFile::Kind kind, RegularFile::Kind standing,
                   const QString &resultsFile);
Notice readOnlyFolder(const QString &folder, const QString &resultsFile);

} // namespace ResultsNotice
