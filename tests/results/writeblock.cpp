#include "writeblock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <unistd.h>

WriteBlock::WriteBlock(const QString &path) : m_path(path), m_permissions(QFile::permissions(path))
{
    if (::geteuid() == 0) {
        m_immutable
            = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
        return;
    }
    QFile::setPermissions(path,
                          m_permissions
                              & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser
                                  | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

WriteBlock::~WriteBlock()
{
    if (m_immutable)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
    else
        QFile::setPermissions(m_path, m_permissions);
}

bool WriteBlock::isActive() const
{
    if (QFileInfo(m_path).isDir()) {
        QFile probe(QDir(m_path).filePath(QStringLiteral(".write-probe")));
        if (!probe.open(QIODevice::WriteOnly))
            return true;
        probe.remove();
        return false;
    }
    QFile file(m_path);
    return !file.open(QIODevice::WriteOnly | QIODevice::Append);
}
