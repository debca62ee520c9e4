#include "store/resultsnotice.h"

#include "files/filestamp.h"

ResultsNotice ResultsNotice::refusedFile(const QString &path, ResultsFile::Kind found,
                                         RegularFile::Kind standing, const QString &resultsFile)
{
    const FileStamp stamp = FileStamp::of(path);
    return {Kind::RefusedFile,
            path,
            found,
            standing,
            resultsFile,
            QStringLiteral("refused %1 %2 %3:%4")
                .arg(path)
                .arg(int(found))
                .arg(stamp.device)
                .arg(stamp.inode)};
}

ResultsNotice ResultsNotice::readOnlyFolder(const QString &folder, const QString &resultsFile)
{
    return {
        Kind::ReadOnlyFolder,       folder,      ResultsFile::Kind::Missing,
        RegularFile::Kind::Regular, resultsFile, QStringLiteral("read-only folder %1").arg(folder)};
}

QString ResultsNotice::refusedForLog(const QString &path, ResultsFile::Kind kind,
                                     const QString &why)
{
    switch (kind) {
    case ResultsFile::Kind::NotAFile:
        return QStringLiteral("%1 is %2, not a regular file").arg(path, why);
    case ResultsFile::Kind::Damaged:
        return QStringLiteral("%1 is damaged (%2)").arg(path, why);
    case ResultsFile::Kind::NotSqlite:
        return QStringLiteral("%1 is not a results file of this game, or it is damaged (%2)")
            .arg(path, why);
    default:
        return QStringLiteral("%1 is not a results file of this game (%2)").arg(path, why);
    }
}
