#pragma once

#include <QString>

// One version of a file, told without reading it: which file the path names (device
// and inode), its size and its times. Files the player may change while the game runs
// (pictures, the tune, the results file) are looked at again through it.
struct FileStamp
{
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;

    // What stat() says of the path now, following links; `exists` false when nothing is there.
    static FileStamp of(const QString &path);
    // The same file, though it may have been written since.
    bool isSameFile(const FileStamp &other) const
    {
        return exists && other.exists && device == other.device && inode == other.inode;
    }
    bool operator==(const FileStamp &) const = default;
};
