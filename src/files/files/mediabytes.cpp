#include "files/mediabytes.h"

#include "files/installfolder.h"
#include "files/regularfile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

QString MediaBytes::path(const QString &name)
{
    const QString exact = InstallFolder::file(name);
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList sameName
        = QDir(InstallFolder::path())
              .entryList({name}, QDir::AllEntries | QDir::System | QDir::Hidden, QDir::Name);
    // QDir's name filters ignore letter case; more than one match is ambiguous.
    return sameName.size() == 1 ? InstallFolder::file(sameName.first()) : exact;
}

std::optional<QByteArray> MediaBytes::read(const QString &filePath, qint64 maxBytes, QString *why)
{
    RegularFile file(filePath, RegularFile::Mode::ReadMedia);
    const qint64 size = file.size();
    QString reason;
    if (file.refusedKind() != RegularFile::Kind::Regular)
        reason = RegularFile::describe(file.refusedKind()) + QStringLiteral(", not a file");
    else if (!file.isOpen())
        reason = file.error() == ENOENT ? QStringLiteral("no such file")
                                        : QString::fromLocal8Bit(std::strerror(file.error()));
    else if (size > maxBytes)
        reason = QStringLiteral("%1 bytes, more than the %2 such a file may have")
                     .arg(size)
                     .arg(maxBytes);
    else if (QByteArray bytes = file.read(0, size); bytes.size() == size)
        return bytes;
    else
        reason = QStringLiteral("the file could not be read to its end");
    if (why)
        *why = reason;
    return std::nullopt;
}
