#include "files/regularfile.h"

#include "files/oncelog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcFiles, "seabattle.files")

namespace {

RegularFile::Kind fileKindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return RegularFile::Kind::Regular;
    if (S_ISLNK(mode))
        return RegularFile::Kind::Link;
    if (S_ISDIR(mode))
        return RegularFile::Kind::Folder;
    if (S_ISFIFO(mode))
        return RegularFile::Kind::Pipe;
    if (S_ISSOCK(mode))
        return RegularFile::Kind::Socket;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return RegularFile::Kind::Device;
    return RegularFile::Kind::Other;
}

// A path keeps its warning for the whole run: a retry every few seconds must not repeat it.
OnceLog &filesLog()
{
    static OnceLog log(lcFiles);
    return log;
}

} // namespace

RegularFile::RegularFile(const QString &path, Mode mode) : m_path(path)
{
    if (mode == Mode::CreateUnique) {
        // mkostemp opens with O_CREAT | O_EXCL, which fails on anything already at the name, a
        // link included.
        QByteArray name = QFile::encodeName(path + QStringLiteral(".XXXXXX"));
        m_fd = ::mkostemp(name.data(), O_CLOEXEC);
        m_path = QFile::decodeName(name);
        m_created = m_fd >= 0 || fail(errno);
        return;
    }
    // O_NONBLOCK: opening a pipe without a reader or a device must not wait; O_NOFOLLOW: a link
    // at the path fails with ELOOP instead of sending the write to the link's target.
    int flags = (mode == Mode::ReadMedia ? 0 : O_NOFOLLOW) | O_NONBLOCK | O_CLOEXEC;
    flags |= mode == Mode::Append ? O_RDWR | O_APPEND | O_CREAT : O_RDONLY;
    m_quiet = mode == Mode::ReadMedia;
    const bool existed = kindAt(path) != Kind::Missing;
    m_fd = ::open(QFile::encodeName(path).constData(), flags, 0644);
    if (m_fd < 0) {
        const int error = errno;
        const Kind there = kindAt(path);
        if (error == ELOOP || error == EISDIR || error == ENXIO || error == EWOULDBLOCK)
            refuse(there == Kind::Regular ? Kind::Other : there);
        else
            fail(error);
        return;
    }
    struct stat info = {};
    if (::fstat(m_fd, &info) != 0) {
        fail(errno);
        close();
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        close();
        refuse(fileKindOf(info.st_mode));
        return;
    }
    m_created = !existed;
}

RegularFile::~RegularFile()
{
    close();
}

void RegularFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool RegularFile::fail(int error)
{
    m_error = error;
    m_refusedKind = Kind::Regular;
    return false;
}

void RegularFile::refuse(Kind kind)
{
    m_refusedKind = kind;
    m_error = 0;
    if (!m_quiet)
        filesLog().say(problem());
}

QString RegularFile::problem() const
{
    if (m_refusedKind != Kind::Regular)
        return QStringLiteral("%1 is %2, not a regular file: it is left alone")
            .arg(m_path, describe(m_refusedKind));
    return QStringLiteral("%1: %2").arg(m_path, QString::fromLocal8Bit(std::strerror(m_error)));
}

QByteArray RegularFile::read(qint64 offset, qint64 count)
{
    QByteArray bytes;
    char buffer[65536];
    for (qint64 end = offset + count; m_fd >= 0 && offset < end;) {
        const auto want = size_t(qMin<qint64>(sizeof buffer, end - offset));
        const ssize_t got = ::pread(m_fd, buffer, want, off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        bytes.append(buffer, got);
        offset += got;
    }
    return bytes;
}

qint64 RegularFile::size() const
{
    struct stat info = {};
    return m_fd >= 0 && ::fstat(m_fd, &info) == 0 ? qint64(info.st_size) : 0;
}

bool RegularFile::sync()
{
    return ::fsync(m_fd) == 0 || fail(errno);
}

bool RegularFile::tryLock()
{
    return ::flock(m_fd, LOCK_EX | LOCK_NB) == 0 || fail(errno);
}

RegularFile::Kind RegularFile::kindAt(const QString &path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return Kind::Missing;
    return fileKindOf(info.st_mode);
}

QString RegularFile::describe(Kind kind)
{
    static const char *const words[]
        = {"missing",      "a regular file", "a symbolic link", "a folder",
           "a named pipe", "a socket",       "a device",        "not a regular file"};
    static_assert(std::size(words) == std::size_t(Kind::Other) + 1, "one for each Kind, in order");
    return QString::fromLatin1(words[int(kind)]);
}

bool RegularFile::makeFolder(const QString &path, int *error)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (QFileInfo(absolute).isDir())
        return true;
    const QString parent = QFileInfo(absolute).path();
    if (parent != absolute && !makeFolder(parent, error))
        return false;
    if (::mkdir(QFile::encodeName(absolute).constData(), 0755) != 0 && errno != EEXIST) {
        if (error)
            *error = errno;
        return false;
    }
    if (!QFileInfo(absolute).isDir()) {
        if (error)
            *error = ENOTDIR;
        return false;
    }
    syncFolder(parent);
    return true;
}

bool RegularFile::syncFolder(const QString &folder)
{
    const int fd
        = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}
