#pragma once

#include <QString>

#include <unistd.h>

#include <optional>
#include <utility>

// An open file, closed with its owner.
class FileHandle
{
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : m_fd(fd) { }
    FileHandle(FileHandle &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) { }
    FileHandle &operator=(FileHandle other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ~FileHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int fd() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// A rendered tune's sound: 16-bit stereo PCM at 44.1 kHz after the 44-byte header of its file.
struct TuneFile
{
    FileHandle file;
    qint64 dataBytes = 0;

    // Reads up to `bytes` of the sound from `offset` into it; what was read, 0 at its end.
    qint64 read(qint64 offset, char *into, qint64 bytes) const;
};

// The folder of rendered tunes in the user's cache, the one place the game's sound writes. A
// rendering is made in a file that vanishes with the game however it ends (O_TMPFILE, or where
// the file system refuses that, a locked part file that the next game removes) and is put in
// place only when complete. A file at a tune's name is taken only when it is a regular file
// holding exactly the tune's WAV format for its size; anything else there is replaced. Files are
// opened with O_NOFOLLOW | O_NONBLOCK and checked with fstat before a byte is read, so a link,
// pipe or device at a name neither blocks nor misleads.
class TuneCache
{
public:
    struct Scratch // a file to render into
    {
        FileHandle file;
        QString partName; // empty: it has no name until it is kept
        bool inMemory = false; // the folder could not hold it
    };

    explicit TuneCache(const QString &folder) : m_folder(folder) { } // empty: the player has none

    QString folder() const { return m_folder; }
    std::optional<TuneFile> open(const QString &name);
    // Checks an open file as open() does: its sound's length.
    static std::optional<qint64> soundBytes(int fd);
    // A file to render into; where the folder cannot hold one, a file in memory and *why.
    Scratch scratch(QString *why);
    // Puts a complete rendering, not in memory, at the name in place of whatever is there; why
    // not, when it cannot be (the rendering is then left to vanish with the game).
    QString keep(Scratch &scratch, const QString &name);
    void discard(Scratch &scratch);
    void removeOthers(const QString &name); // the renderings of other tunes

private:
    // Opens the folder, making it when missing, and removes the parts of games that ended.
    bool openFolder(QString *why);
    // Removes whatever is at the name, but never a folder that is not empty; false with why.
    bool remove(const QString &name, QString *why);

    QString m_folder;
    FileHandle m_dir;
};
