#pragma once

#include "files/regularfile.h"
#include "store/resultsfile.h"

#include <QString>

// What the player should know from the opening when the results cannot live in the
// installation's Base.mdb: what was found there and where the results go instead, with the key
// under which the notice is remembered as given (one per file or folder: another file put in
// its place is told about again).
struct ResultsNotice
{
    enum class Kind {
        ReadOnlyFolder, // the installation folder `path` refuses writes
        RefusedFile, // the installation's file `path` is `found` (a `standing`)
    };
    Kind kind = Kind::ReadOnlyFolder;
    QString path;
    ResultsFile::Kind found = ResultsFile::Kind::Missing;
    RegularFile::Kind standing = RegularFile::Kind::Regular;
    QString resultsFile; // where the results go
    QString key;
};
