#include "results/pendingresults.h"

#include "results/playerwording.h"
#include "results/resultslog.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QUuid>

#include <cerrno>
#include <cstdio>

namespace {

// The window's thread waits for it: other copies hold it only while they rewrite a few lines.
constexpr int LockWaitMs = 50;
// Far more rows than years of refused games; a larger file is not read past it.
constexpr qint64 MaxBytes = 8 << 20;

const QString &fileName()
{
    static const QString name = QStringLiteral("pending-results.jsonl");
    return name;
}

QByteArray line(const PendingResults::Row &row)
{
    const QJsonObject object {{QStringLiteral("id"), row.id},
                              {QStringLiteral("file"), row.file},
                              {QStringLiteral("row"), QJsonArray::fromStringList(row.values)}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

bool parse(const QByteArray &text, PendingResults::Row *row)
{
    const QJsonObject object = QJsonDocument::fromJson(text).object();
    row->id = object.value(QStringLiteral("id")).toString();
    row->file = object.value(QStringLiteral("file")).toString();
    row->values.clear();
    for (const QJsonValue &value : object.value(QStringLiteral("row")).toArray())
        row->values << value.toString();
    return !row->id.isEmpty() && row->values.size() == 4;
}

// The file open and locked, still the one the path names (a rewrite renames a new file over it).
bool openLocked(RegularFile::Mode mode, RegularFile *file, PendingResults::Problem *problem)
{
    const QString path = PendingResults::filePath();
    for (int attempt = 0; attempt < 5; ++attempt) {
        *file = RegularFile(path, mode);
        if (!file->isOpen()) {
            if (problem)
                *problem = {file->refusedKind(), file->error(), file->problem()};
            return false;
        }
        // A copy of the game stopped while it held the lock must not cost the row: it is
        // appended unlocked then, which only a rewrite at that very moment could undo.
        if (!file->lock(LockWaitMs))
            qCWarning(lcResults).noquote() << path << "stays locked; written without the lock";
        if (file->isStillAtPath())
            return true;
    }
    if (problem)
        *problem = {RegularFile::Kind::Regular, EBUSY, path + QStringLiteral(" keeps changing")};
    return false;
}

} // namespace

QString PendingResults::filePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder.isEmpty() ? QString() : QDir(folder).filePath(fileName());
}

QString PendingResults::newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

bool PendingResults::add(const QList<Row> &rows, Problem *problem)
{
    const QString path = filePath();
    int error = ENOENT;
    if (path.isEmpty() || !RegularFile::makeFolder(QFileInfo(path).path(), &error)) {
        if (problem)
            *problem = {RegularFile::Kind::Regular, error,
                        QStringLiteral("no folder for %1").arg(path.isEmpty() ? fileName() : path)};
        return false;
    }
    RegularFile file;
    if (!openLocked(RegularFile::Mode::Append, &file, problem))
        return false;
    QByteArray bytes;
    // A line cut short by a crash must not swallow the first row written after it.
    const qint64 size = file.size();
    if (size > 0 && file.read(size - 1, 1) != "\n")
        bytes += '\n';
    for (const Row &row : rows)
        bytes += line(row);
    if (!file.writeAll(bytes) || !file.sync()) {
        if (problem)
            *problem = {RegularFile::Kind::Regular, file.error(), file.problem()};
        file.resize(size); // no half row stays behind
        return false;
    }
    if (file.created())
        RegularFile::syncFolder(QFileInfo(path).path());
    return true;
}

QList<PendingResults::Row> PendingResults::rows()
{
    QList<Row> rows;
    RegularFile file(filePath(), RegularFile::Mode::Read);
    if (!file.isOpen())
        return rows;
    for (const QByteArray &text : file.read(0, MaxBytes).split('\n')) {
        Row row;
        if (parse(text, &row))
            rows << row;
    }
    return rows;
}

bool PendingResults::remove(const QSet<QString> &ids)
{
    RegularFile file;
    if (!openLocked(RegularFile::Mode::Read, &file, nullptr))
        return false;
    QByteArray kept;
    for (const QByteArray &text : file.read(0, MaxBytes).split('\n')) {
        Row row;
        if (parse(text, &row) && !ids.contains(row.id))
            kept += text + '\n';
    }
    return rewrite(file, kept);
}

bool PendingResults::rewrite(RegularFile &file, const QByteArray &kept)
{
    const QString folder = QFileInfo(file.path()).path();
    if (kept.isEmpty()) {
        if (!QFile::remove(file.path()))
            return false;
        return RegularFile::syncFolder(folder);
    }
    // The rows that stay go to a new file that takes the name only when it is whole.
    RegularFile fresh = RegularFile::createUnique(folder, fileName());
    if (!fresh.isOpen() || !fresh.writeAll(kept) || !fresh.sync()
        || std::rename(QFile::encodeName(fresh.path()).constData(),
                       QFile::encodeName(file.path()).constData())
            != 0) {
        QFile::remove(fresh.path());
        return false;
    }
    return RegularFile::syncFolder(folder);
}

void PendingResults::tidyUp(const QString &storeFile)
{
    const QString path = filePath();
    if (path.isEmpty())
        return;
    const QDir folder = QFileInfo(path).dir();
    // A rewrite's new file that never took the name: an hour is far beyond any rewrite.
    const QDateTime stale = QDateTime::currentDateTime().addSecs(-3600);
    for (const QFileInfo &part :
         folder.entryInfoList({fileName() + QStringLiteral(".??????")}, QDir::Files)) {
        if (part.lastModified() < stale)
            QFile::remove(part.filePath());
    }

    // Tab-separated rows an earlier version wrote when the program ended. Their ids come from
    // the text itself, so taking them over twice (cut short before the old file went) moves
    // each row once all the same.
    const QString oldPath = folder.filePath(QStringLiteral("unsaved-results.txt"));
    RegularFile old(oldPath, RegularFile::Mode::Read);
    if (!old.isOpen())
        return;
    const QByteArray text = old.read(0, MaxBytes);
    const QString stem = QString::fromLatin1(
        QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex().left(16));
    QList<Row> rows;
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList values = QString::fromUtf8(lines[i]).split(QLatin1Char('\t'));
        if (values.size() == 4)
            rows << Row {QStringLiteral("unsaved-%1-%2").arg(stem).arg(i), storeFile, values};
    }
    if (!rows.isEmpty() && !add(rows))
        return;
    if (QFile::remove(oldPath))
        RegularFile::syncFolder(folder.path());
    qCInfo(lcResults).noquote() << rows.size() << "result(s) of" << oldPath << "are now kept in"
                                << path;
}

QString PendingResults::Problem::forPlayer() const
{
    if (kind != RegularFile::Kind::Regular && kind != RegularFile::Kind::Missing)
        return QStringLiteral("на его месте находится ") + PlayerWording::fileKind(kind);
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("в его папку нельзя записать");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("на диске не осталось места");
    case ENOTDIR:
    case EEXIST:
        return QStringLiteral("его папку нельзя создать");
    case ENOENT:
        return QStringLiteral("у игры нет папки для своих данных");
    default:
        return QStringLiteral("ошибка записи на диск");
    }
}
