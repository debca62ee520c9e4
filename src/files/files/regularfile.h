#pragma once

#include <QByteArray>
#include <QString>

// A file the game writes, opened so that nothing put at its path can take the write elsewhere
// or stall the game: a symbolic link there is not followed, a pipe or a device does not block
// the opening, and anything but a regular file is refused at once, with one warning naming the
// path. The descriptor closes with the object.
class RegularFile
{
public:
    enum class Mode {
        Read, // an existing file, read only
        ReadMedia, // the same through a link, refused without a warning: the caller tells why
        Append, // read and appended to; created when missing
        CreateUnique, // a new file "<path>.XXXXXX", never one that existed
    };
    // What lies at a path, as lstat() tells it without following a link.
    enum class Kind { Missing, Regular, Link, Folder, Pipe, Socket, Device, Other };

    RegularFile(const QString &path, Mode mode);
    ~RegularFile();
    RegularFile(const RegularFile &) = delete;
    RegularFile &operator=(const RegularFile &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int descriptor() const { return m_fd; }
    QString path() const { return m_path; }
    // Whether the opening made the file, so that its folder must be synced too.
    bool created() const { return m_created; }
    // Why the file is not open: what stands at the path instead of a regular file (Regular
    // when it was an error of the system, then error() holds errno).
    Kind refusedKind() const { return m_refusedKind; }
    int error() const { return m_error; }
    // The same in English for the log, naming the path.
    QString problem() const;

    // Up to `count` bytes from `offset` on.
    QByteArray read(qint64 offset, qint64 count);
    qint64 size() const;
    bool sync();
    // Takes the file's exclusive lock (flock) if nobody holds it.
    bool tryLock();
    void close();

    static Kind kindAt(const QString &path);
    // "a symbolic link", "a folder", ...
    static QString describe(Kind kind);
    // Makes the folder and any missing parent, syncing each parent that got a new entry.
    static bool makeFolder(const QString &path, int *error = nullptr);
    // Makes a new or removed entry of the folder survive a power cut.
    static bool syncFolder(const QString &folder);

private:
    bool fail(int error); // keeps errno, returns false
    void refuse(Kind kind);

    QString m_path;
    int m_fd = -1;
    bool m_created = false;
    bool m_quiet = false;
    Kind m_refusedKind = Kind::Regular;
    int m_error = 0;
};
