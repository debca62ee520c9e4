#include "sound/tunecache.h"

#include "files/playerfolders.h"
#include "tune/tunewav.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
constexpr int ReadFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray nameOf(const QString &name)
{
    return QFile::encodeName(name);
}

QStringList entries(const QString &folder, const QString &pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::System | QDir::Hidden);
}
} // namespace

qint64 TuneFile::read(qint64 offset, char *into, qint64 bytes) const
{
    bytes = std::min(bytes, dataBytes - offset);
    if (bytes <= 0)
        return 0;
    const ssize_t got = pread(file.fd(), into, size_t(bytes), TuneWav::HeaderBytes + offset);
    return std::max<qint64>(0, got);
}

std::optional<TuneFile> TuneCache::open(const QString &name)
{
    QString unused;
    if (!openFolder(&unused))
        return std::nullopt;
    FileHandle file(openat(m_dir.fd(), nameOf(name).constData(), ReadFlags));
    const std::optional<qint64> bytes = soundBytes(file.fd());
    if (!bytes)
        return std::nullopt;
    return TuneFile {std::move(file), *bytes};
}

std::optional<qint64> TuneCache::soundBytes(int fd)
{
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    const qint64 bytes = qint64(status.st_size) - TuneWav::HeaderBytes;
    if (bytes < TuneWav::BytesPerFrame || bytes > TuneWav::MaxDataBytes
        || bytes % TuneWav::BytesPerFrame != 0)
        return std::nullopt;
    TuneWav::Header header;
    if (pread(fd, header.data(), header.size(), 0) != ssize_t(header.size())
        || header != TuneWav::header(std::uint32_t(bytes)))
        return std::nullopt;
    return bytes;
}

TuneCache::Scratch TuneCache::scratch(QString *why)
{
    if (openFolder(why)) {
        FileHandle file(openat(m_dir.fd(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
        if (file.isOpen())
            return {std::move(file), {}, false};
        // A file system without O_TMPFILE: a part file, locked for as long as this game runs.
        QByteArray path = nameOf(m_folder + QStringLiteral("/tune-XXXXXX.part"));
        file = FileHandle(mkostemps(path.data(), 5, O_CLOEXEC));
        const int error = errno; // before anything else changes it
        if (file.isOpen()) {
            flock(file.fd(), LOCK_EX | LOCK_NB);
            return {std::move(file), QFileInfo(QFile::decodeName(path)).fileName(), false};
        }
        *why = QStringLiteral("no file can be made in %1 (%2)").arg(m_folder, reason(error));
    }
    return {FileHandle(memfd_create("seabattle-tune", MFD_CLOEXEC)), {}, true};
}

QString TuneCache::keep(Scratch &scratch, const QString &name)
{
    const QByteArray target = nameOf(name);
    const QByteArray part = nameOf(std::exchange(scratch.partName, {}));
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(scratch.file.fd());
    // What is at the name was no rendering when this one began; should another game's have come
    // since, that game plays on from its open file.
    QString why;
    if (remove(name, &why)) {
        const int kept = part.isEmpty()
            ? linkat(AT_FDCWD, self.constData(), m_dir.fd(), target.constData(), AT_SYMLINK_FOLLOW)
            : renameat(m_dir.fd(), part.constData(), m_dir.fd(), target.constData());
        if (kept == 0 || errno == EEXIST) // EEXIST: another game's came first
            return {};
        why = reason(errno);
    }
    if (!part.isEmpty())
        unlinkat(m_dir.fd(), part.constData(), 0);
    return why;
}

void TuneCache::discard(Scratch &scratch)
{
    if (!scratch.partName.isEmpty())
        unlinkat(m_dir.fd(), nameOf(scratch.partName).constData(), 0);
    scratch = {};
}

void TuneCache::removeOthers(const QString &name)
{
    for (const QString &other : entries(m_folder, QStringLiteral("tune-*.wav"))) {
        if (other != name)
            unlinkat(m_dir.fd(), nameOf(other).constData(), 0);
    }
}

bool TuneCache::openFolder(QString *why)
{
    if (m_dir.isOpen())
        return true;
    if (m_folder.isEmpty()) {
        *why = QStringLiteral("no cache folder: %1").arg(PlayerFolders::homeProblem());
        return false;
    }
    QDir().mkpath(m_folder);
    m_dir = FileHandle(::open(nameOf(m_folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    int error = errno;
    // Missing: why it could not be made (its parent refuses it, say).
    if (!m_dir.isOpen() && error == ENOENT && ::mkdir(nameOf(m_folder).constData(), 0700) != 0)
        error = errno;
    if (!m_dir.isOpen()) {
        *why = QStringLiteral("the folder %1 cannot be used (%2)").arg(m_folder, reason(error));
        return false;
    }
    // A part's game holds its lock until it ends, however it ends.
    for (const QString &part : entries(m_folder, QStringLiteral("tune-*.part"))) {
        const QByteArray name = nameOf(part);
        const FileHandle file(openat(m_dir.fd(), name.constData(), ReadFlags));
        struct stat status;
        if (file.isOpen() && fstat(file.fd(), &status) == 0 && S_ISREG(status.st_mode)
            && flock(file.fd(), LOCK_EX | LOCK_NB) == 0)
            unlinkat(m_dir.fd(), name.constData(), 0);
    }
    return true;
}

bool TuneCache::remove(const QString &name, QString *why)
{
    const QByteArray entry = nameOf(name);
    if (unlinkat(m_dir.fd(), entry.constData(), 0) == 0 || errno == ENOENT)
        return true;
    if (errno == EISDIR && unlinkat(m_dir.fd(), entry.constData(), AT_REMOVEDIR) == 0)
        return true;
    *why = errno == ENOTEMPTY || errno == EEXIST
        ? QStringLiteral("a folder that is not empty is there")
        : reason(errno);
    return false;
}
