#pragma once

#include <QString>

// Which file a path named when it was remembered (device and inode), so that a
// results file deleted or swapped while the game runs is noticed.
class FileIdentity
{
public:
    void remember(const QString &path);
    bool matches(const QString &path) const;

private:
    quint64 m_device = 0;
    quint64 m_inode = 0;
};
