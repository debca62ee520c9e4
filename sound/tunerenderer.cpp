#include "sound/tunerenderer.h"

#include "model/filestamp.h"
#include "model/installfolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

// The game's sound category, under a name of this file's own.
Q_LOGGING_CATEGORY(lcTuneRenderer, "seabattle.sound")

namespace {
// Debian's choice among the General MIDI SoundFonts installed.
constexpr char SoundFont[] = "/usr/share/sounds/sf2/default-GM.sf2";
// The game's tune renders in about a second; a MIDI file that keeps FluidSynth busy for longer
// than this is given up.
constexpr int TimeoutMs = 20000;
// The renderer's own messages kept: FluidSynth's first few warnings and its reason.
constexpr int MaxLogBytes = 4096;
constexpr int MaxLogLines = 6;

QByteArray fileStamp(const QString &path)
{
    const FileStamp stamp = FileStamp::of(path);
    return QFile::encodeName(path) + '\0' + QByteArray::number(stamp.size) + '\0'
        + QByteArray::number(stamp.modifiedNs) + '\0';
}
} // namespace

TuneRenderer::TuneRenderer(const QString &program, Take take, Warn warn)
    : m_program(program.isEmpty() ? InstallFolder::program(QStringLiteral("seabattle-tune"))
                                  : program)
    , m_take(std::move(take))
    , m_warn(std::move(warn))
{ }

QByteArray TuneRenderer::keyOf(const QByteArray &midi) const
{
    const QByteArray made = midi + '\0' + fileStamp(SoundFont) + fileStamp(m_program);
    return QCryptographicHash::hash(made, QCryptographicHash::Sha256);
}

void TuneRenderer::render(const QString &tuneName, const QByteArray &midi, const QByteArray &key)
{
    stop(); // a rendering of another tune would be offered on top of this one
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!QDir().mkpath(cache))
        return m_warn(QStringLiteral("no folder for the rendered tune (%1): no music").arg(cache));
    const QString wavPath = cache + QStringLiteral("/tune-%1.wav").arg(key.toHex().left(32));
    if (QFileInfo(wavPath).isFile() && m_take(wavPath).isEmpty())
        return;
    QFile::remove(wavPath);
    m_tuneName = tuneName;
    m_wavPath = wavPath;
    start(midi);
}

void TuneRenderer::waitForFinished()
{
    QProcess *process = m_process;
    if (process && !process->waitForFinished(TimeoutMs) && m_process == process) {
        m_timedOut = true;
        process->kill();
        process->waitForFinished(1000);
    }
}

void TuneRenderer::start(const QByteArray &midi)
{
    QProcess *process = m_process = new QProcess;
    m_partPath = m_wavPath + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid());
    m_log.clear();
    m_timedOut = false;
    process->setStandardOutputFile(m_partPath, QIODevice::Truncate);
    QObject::connect(process, &QProcess::readyReadStandardError, process, [this, process] {
        m_log += process->readAllStandardError().left(qMax(0, MaxLogBytes - int(m_log.size())));
    });
    QObject::connect(process, &QProcess::finished, process,
                     [this](int code, QProcess::ExitStatus status) {
                         ended(status == QProcess::CrashExit, code);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process, [this](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart)
            return;
        m_warn(QStringLiteral("the tune renderer %1 cannot be started (%2): no music")
                   .arg(m_program, m_process->errorString()));
        QFile::remove(m_partPath);
        std::exchange(m_process, nullptr)->deleteLater();
    });
    QTimer::singleShot(TimeoutMs, process, [this, process] {
        m_timedOut = true;
        process->kill();
    });
    process->start(m_program, {QLatin1String(SoundFont)});
    process->write(midi);
    process->closeWriteChannel();
}

void TuneRenderer::stop()
{
    if (!m_process)
        return;
    m_process->disconnect();
    m_process->kill();
    m_process->waitForFinished(1000);
    delete std::exchange(m_process, nullptr);
    QFile::remove(m_partPath);
}

void TuneRenderer::ended(bool crashed, int exitCode)
{
    m_log += m_process->readAllStandardError().left(qMax(0, MaxLogBytes - int(m_log.size())));
    std::exchange(m_process, nullptr)->deleteLater();
    const QStringList log = QString::fromLocal8Bit(m_log).split('\n', Qt::SkipEmptyParts);
    for (const QString &line : log.mid(0, MaxLogLines))
        qCDebug(lcTuneRenderer).noquote() << "seabattle-tune:" << line.left(200);
    QString why;
    if (m_timedOut)
        why = QStringLiteral("its rendering took over %1 s and was stopped").arg(TimeoutMs / 1000);
    else if (crashed)
        why = QStringLiteral("the renderer %1 crashed").arg(m_program);
    else if (exitCode != 0)
        why = log.isEmpty() ? QStringLiteral("the renderer failed (exit code %1)").arg(exitCode)
                            : log.last().left(200);
    if (why.isEmpty() && QFile::rename(m_partPath, m_wavPath))
        why = m_take(m_wavPath);
    if (!why.isEmpty()) {
        QFile::remove(m_partPath);
        QFile::remove(m_wavPath);
        return m_warn(QStringLiteral("the tune %1 stays silent: %2").arg(m_tuneName, why));
    }
    // One rendering is kept: the older ones were made of another tune, SoundFont or renderer.
    const QDir cache = QFileInfo(m_wavPath).dir();
    for (const QString &old : cache.entryList({QStringLiteral("tune-*.wav")}, QDir::Files)) {
        if (cache.filePath(old) != m_wavPath)
            QFile::remove(cache.filePath(old));
    }
}
