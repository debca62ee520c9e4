#include "results/fileidentity.h"

#include <QFile>

#include <sys/stat.h>

void FileIdentity::remember(const QString &path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        m_device = info.st_dev;
        m_inode = info.st_ino;
    }
}

bool FileIdentity::matches(const QString &path) const
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && info.st_dev == m_device
        && info.st_ino == m_inode;
}
