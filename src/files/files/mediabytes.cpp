#include "files/mediabytes.h"

#include "files/installfolder.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool fail(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return false;
}

// What kind of thing a stat() found, for the reason given to the player.
QString describedKind(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder, not a file");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe, not a file");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket, not a file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device, not a file");
    return QStringLiteral("not a regular file");
}

// Reads to the end or to the limit, whichever comes first; EINTR is retried.
bool readAll(int fd, qint64 size, QByteArray &bytes)
{
    bytes.resize(size);
    qint64 done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, bytes.data() + done, size_t(size - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += got;
    }
    bytes.resize(done);
    return done == size;
}

} // namespace

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
    const QByteArray native = QFile::encodeName(filePath);
    // O_NONBLOCK: opening a pipe without a writer would otherwise wait for ever.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        fail(why,
             errno == ENOENT ? QStringLiteral("no such file")
                             : QString::fromLocal8Bit(std::strerror(errno)));
        return std::nullopt;
    }
    struct stat info
    {
    };
    std::optional<QByteArray> result;
    QByteArray bytes;
    if (::fstat(fd, &info) != 0)
        fail(why, QString::fromLocal8Bit(std::strerror(errno)));
    else if (!S_ISREG(info.st_mode))
        fail(why, describedKind(info.st_mode));
    else if (info.st_size > maxBytes)
        fail(why,
             QStringLiteral("%1 bytes, more than the %2 such a file may have")
                 .arg(info.st_size)
                 .arg(maxBytes));
    else if (!readAll(fd, info.st_size, bytes))
        fail(why, QStringLiteral("the file could not be read to its end"));
    else
        result = std::move(bytes);
    ::close(fd);
    return result;
}
