#include "privatesink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMediaDevices>
#include <QProcess>
#include <QThread>

namespace {

QString pactl(const QStringList &arguments, bool *ok)
{
    QProcess process;
    process.start(QStringLiteral("pactl"), arguments);
    *ok = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    return QString::fromLocal8Bit(*ok ? process.readAllStandardOutput()
                                      : process.readAllStandardError())
        .trimmed();
}

} // namespace

PrivateSink::PrivateSink()
    : m_name(QStringLiteral("seabattle_soundtest_%1").arg(QCoreApplication::applicationPid()))
{
    bool ok = false;
    pactl({QStringLiteral("info")}, &ok);
    if (!ok) {
        m_error
            = QStringLiteral("no PulseAudio server is reachable (tools/start-audio.sh starts one)");
        return;
    }
    m_module = pactl({QStringLiteral("load-module"), QStringLiteral("module-null-sink"),
                      QStringLiteral("sink_name=") + m_name, QStringLiteral("rate=44100"),
                      QStringLiteral("channels=2")},
                     &ok);
    if (!ok) {
        m_error = QStringLiteral("the PulseAudio server refused a null sink: ") + m_module;
        m_module.clear();
        return;
    }
    // Qt learns of new sinks from the server's notifications, a moment later.
    const QDeadlineTimer deadline(10000);
    while (m_device.isNull() && !deadline.hasExpired()) {
        for (const QAudioDevice &device : QMediaDevices::audioOutputs()) {
            if (device.id() == m_name.toUtf8())
                m_device = device;
        }
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    if (m_device.isNull())
        m_error = QStringLiteral("Qt does not list the null sink ") + m_name;
}

PrivateSink::~PrivateSink()
{
    if (m_module.isEmpty())
        return;
    bool ok = false;
    pactl({QStringLiteral("unload-module"), m_module}, &ok);
}
