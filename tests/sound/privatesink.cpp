#include "privatesink.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>

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
    qputenv("PULSE_SINK", m_name.toUtf8());
}

PrivateSink::~PrivateSink()
{
    if (m_module.isEmpty())
        return;
    qunsetenv("PULSE_SINK");
    bool ok = false;
    pactl({QStringLiteral("unload-module"), m_module}, &ok);
}

int PrivateSink::streams() const
{
    bool ok = false;
    const QStringList sinks
        = pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sinks")}, &ok)
              .split('\n');
    const QStringList ours = sinks.filter(QRegularExpression("\\s" + m_name + "\\s"));
    const QStringList inputs
        = pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")},
                &ok)
              .split('\n', Qt::SkipEmptyParts);
    if (!ok || ours.size() != 1)
        return -1;
    const QString index = ours.first().section('\t', 0, 0);
    int count = 0;
    for (const QString &input : inputs)
        count += input.section('\t', 1, 1) == index;
    return count;
}
