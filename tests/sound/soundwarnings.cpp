#include "soundwarnings.h"

#include <QMutex>

namespace {
QMutex mutex;
QStringList collected;
QtMessageHandler previous = nullptr;
} // namespace

SoundWarnings::SoundWarnings()
{
    const QMutexLocker lock(&mutex);
    collected.clear();
    previous = qInstallMessageHandler(handle);
}

SoundWarnings::~SoundWarnings()
{
    qInstallMessageHandler(previous);
}

QStringList SoundWarnings::messages() const
{
    const QMutexLocker lock(&mutex);
    return collected;
}

int SoundWarnings::count(const QString &text) const
{
    const QMutexLocker lock(&mutex);
    return int(collected.filter(text).size());
}

void SoundWarnings::handle(QtMsgType type, const QMessageLogContext &context,
                           const QString &message)
{
    if (type == QtWarningMsg && qstrcmp(context.category, "seabattle.sound") == 0) {
        const QMutexLocker lock(&mutex);
        collected.append(message);
    }
    if (previous)
        previous(type, context, message);
}
