#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh installation folder and a fresh player's data folder for one test,
// both under a temporary folder that is removed afterwards.
class ResultsSandbox
{
public:
    ResultsSandbox();
    ~ResultsSandbox();

    bool isValid() const { return m_root.isValid(); }
    QString root() const { return m_root.path(); }
    QString installDir() const; // created
    QString dataHome() const; // XDG_DATA_HOME; not created
    QString installFile() const; // Base.mdb in the installation folder
    QString userFile() const; // Base.mdb in the player's data folder

private:
    QTemporaryDir m_root;
    QByteArray m_oldDataHome;
};
