#include "results/resultsnotice.h"

#include "files/filestamp.h"
#include "results/playerwording.h"

#include <QDir>

namespace {

QString whereResultsGo(const QString &resultsFile)
{
    return QStringLiteral("\nРезультаты игр сохраняются в файле %1.")
        .arg(PlayerWording::path(resultsFile));
}

} // namespace

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

ResultsNotice::Notice ResultsNotice::refusedFile(const QString &path, ResultsFile::Kind kind,
                                                 RegularFile::Kind standing,
                                                 const QString &resultsFile)
{
    // Only what is known: a file that is no SQLite database may as well be ours, damaged.
    QString found;
    switch (kind) {
    case ResultsFile::Kind::NotAFile:
        found = QStringLiteral("На месте файла результатов %1 находится %2.")
                    .arg(PlayerWording::path(path), PlayerWording::fileKind(standing));
        break;
    case ResultsFile::Kind::OtherTable:
        found = QStringLiteral("Файл %1 не является файлом результатов этой игры.")
                    .arg(PlayerWording::path(path));
        break;
    case ResultsFile::Kind::Damaged:
        found = QStringLiteral("Файл результатов %1 поврежден.").arg(PlayerWording::path(path));
        break;
    default:
        found = QStringLiteral("Файл %1 не является файлом результатов этой игры или поврежден.")
                    .arg(PlayerWording::path(path));
    }
    const FileStamp stamp = FileStamp::of(path);
    return {found + QStringLiteral(" Игра оставляет его без изменений.")
                + whereResultsGo(resultsFile),
            QStringLiteral("refused %1 %2 %3:%4")
                .arg(path)
                .arg(int(kind))
                .arg(stamp.device)
                .arg(stamp.inode)};
}

ResultsNotice::Notice ResultsNotice::readOnlyFolder(const QString &folder,
                                                    const QString &resultsFile)
{
    return {QStringLiteral("Папка игры %1 закрыта для записи.").arg(PlayerWording::path(folder))
                + whereResultsGo(resultsFile),
            QStringLiteral("read-only folder %1").arg(folder)};
}
