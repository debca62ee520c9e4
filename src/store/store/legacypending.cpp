#include "store/legacypending.h"

#include "files/regularfile.h"
#include "store/pendingrows.h"
#include "store/resultsfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace {

// The four values of a line, or nothing when any of them is not text.
bool parse(const QByteArray &line, bool json, QString *file, QStringList *values)
{
    values->clear();
    if (!json) {
        *values = QString::fromUtf8(line).split(QLatin1Char('\t'));
        return values->size() == 4;
    }
    const QJsonObject object = QJsonDocument::fromJson(line).object();
    *file = object.value(QStringLiteral("file")).toString();
    const QJsonArray row = object.value(QStringLiteral("row")).toArray();
    for (const QJsonValue &value : row) {
        if (!value.isString())
            return false;
        *values << value.toString();
    }
    return !file->isEmpty() && values->size() == 4;
}

void takeOverFile(const QString &path, bool json, const QString &resultsFile)
{
    RegularFile old(path, RegularFile::Mode::Read);
    if (!old.isOpen())
        return;
    const QByteArray text = old.read(0, old.size());
    const QString digest
        = QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex());
    QList<QString> files; // in the order first met
    QHash<QString, QList<QStringList>> rows;
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString file = resultsFile;
        QStringList values;
        if (lines[i].trimmed().isEmpty())
            continue;
        if (!parse(lines[i], json, &file, &values)) {
            qCWarning(lcResults).noquote() << "line" << i + 1 << "of" << path
                                           << "is damaged and is not taken over:" << lines[i];
            continue;
        }
        if (!rows.contains(file))
            files << file;
        rows[file] << values;
    }
    int count = 0;
    for (const QString &file : std::as_const(files)) {
        if (!PendingRows::add(file, rows[file], nullptr, {digest + QLatin1Char(' ') + file}))
            return; // tried again at the next start; what was added stays added once
        count += int(rows[file].size());
    }
    if (QFile::remove(path))
        RegularFile::syncFolder(QFileInfo(path).path());
    qCInfo(lcResults).noquote() << count << "result(s) of" << path << "are now kept in"
                                << PendingRows::filePath();
}

} // namespace

void LegacyPending::takeOver(const QString &folder, const QString &resultsFile)
{
    const QDir dir(folder);
    takeOverFile(dir.filePath(QStringLiteral("pending-results.jsonl")), true, resultsFile);
    takeOverFile(dir.filePath(QStringLiteral("unsaved-results.txt")), false, resultsFile);
    // Parts of the JSON file's rewrites that never took its name.
    for (const QFileInfo &part :
         dir.entryInfoList({QStringLiteral("pending-results.jsonl.??????")}, QDir::Files))
        QFile::remove(part.filePath());
}

void LegacyPending::takeOverNotices(const QString &folder)
{
    // A percent-encoded key a line; no real file comes near the megabyte read.
    RegularFile shown(QDir(folder).filePath(QStringLiteral("notices-shown")),
                      RegularFile::Mode::Read);
    if (!shown.isOpen())
        return;
    QStringList keys;
    for (const QByteArray &line : shown.read(0, 1 << 20).split('\n')) {
        if (!line.isEmpty())
            keys << QUrl::fromPercentEncoding(line);
    }
    keys.removeDuplicates();
    if (PendingRows::add({}, {}, nullptr, keys))
        QFile::remove(shown.path());
}
