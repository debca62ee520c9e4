#pragma once

#include <QStringList>
#include <QtGlobal>

// Collects the warnings of the "seabattle.sound" category while it lives, from any thread;
// everything else goes on to the usual handler.
class SoundWarnings
{
public:
    SoundWarnings();
    ~SoundWarnings();

    QStringList messages() const;
    // How many warnings mention the text.
    int count(const QString &text) const;

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message);
};
