#pragma once

#include <QFileDevice>
#include <QString>

// Makes a file or folder refuse writes for as long as it lives. Write bits are
// no barrier to root, so as root the path is made immutable (chattr +i) instead.
class WriteBlock
{
public:
    explicit WriteBlock(const QString &path);
    ~WriteBlock();
    WriteBlock(const WriteBlock &) = delete;
    WriteBlock &operator=(const WriteBlock &) = delete;

    // Whether a real write attempt is refused now; tests skip when it is not.
    bool isActive() const;

private:
    QString m_path;
    bool m_immutable = false;
    QFileDevice::Permissions m_permissions;
};
