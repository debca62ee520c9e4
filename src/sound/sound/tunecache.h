#pragma once

#include <QString>

#include <optional>
#include <utility>

// An open file, closed with its owner.
class FileHandle
{
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : m_fd(fd) { }
    FileHandle(FileHandle &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) { }
    FileHandle &operator=(FileHandle &&other) noexcept;
    ~FileHandle();

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
// rendering is made in a file that vanishes with the game however the game ends (O_TMPFILE, or
// where the folder's file system refuses that, a locked part file that the next game removes)
// and is put in place only when complete. Nothing is trusted at a tune's name: it is taken only
// when it is a regular file holding exactly the tune's WAV format for its size, and anything else
// there is replaced. Files are opened with O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC and checked with
// fstat before a byte is read, so a link, pipe or device at a name neither blocks nor misleads.
class TuneCache
{
public:
    // A file to render into and its part name (empty: it has no name until it is kept).
    struct Scratch
    {
        FileHandle file;
        QString partName;
        bool inMemory = false; // the folder could not hold it
    };

    explicit TuneCache(const QString &folder); // empty: the player has none

    QString folder() const { return m_folder; }
    // The tune's WAV at the name in the folder, when it is one.
    std::optional<TuneFile> open(const QString &name);
    // Checks an open file as open() does; its sound's length.
    static std::optional<qint64> soundBytes(int fd);
    // A file to render into. When the folder cannot hold one, an anonymous file in memory and
    // the reason in *why.
    Scratch scratch(QString *why);
    // Puts a complete rendering at the name, in place of whatever is there; why not, when it
    // cannot be (then the rendering is left without a name, to vanish with the game).
    QString keep(Scratch &scratch, const QString &name);
    // Drops a rendering not to be kept, its part file too.
    void discard(Scratch &scratch);
    // Removes the renderings of other tunes (files only, never a folder).
    void removeOthers(const QString &name);

private:
    // Opens the folder, making it when missing, and removes the parts of games that ended.
    bool openFolder(QString *why);
    void removeStaleParts();
    // Removes whatever is at the name, but never a folder that is not empty; false with why.
    bool remove(const QString &name, QString *why);

    QString m_folder;
    FileHandle m_dir;
};
