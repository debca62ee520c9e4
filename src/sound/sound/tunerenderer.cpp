#include "sound/tunerenderer.h"

#include "files/filestamp.h"
#include "files/installfolder.h"
#include "files/playerfolders.h"
#include "files/soundfontpath.h"
#include "tune/tunewav.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>

namespace {
// The renderer's own messages kept: its reason is the last line.
constexpr int MaxLogBytes = 4096;
// seabattle-tune's exit status, besides 0 for a WAV written.
enum Status { CannotPlay = 1, Silent = 2, Stopped = 3 };
// No renderer writes more than the longest tune, whatever it is given: the limit is the kernel's,
// so a file in memory is bounded as a file on disk is.
constexpr rlim_t MaxFileBytes = TuneWav::HeaderBytes + TuneWav::MaxDataBytes;
// The CPU time a rendering may take, counted by the kernel whatever else the machine does: the
// game's tune takes about a second, a dense five-minute arrangement for sixteen instruments
// about 35 s. A renderer that neither spins nor ends is asked to stop after twice as long of wall
// time (one sharing a core gets half of it), and killed a few seconds later.
// SEABATTLE_TUNE_CPU_SECONDS and SEABATTLE_TUNE_WALL_SECONDS set other limits.
constexpr int CpuSeconds = 120;
constexpr int WallSeconds = 2 * CpuSeconds;
constexpr int GraceMs = 5000;

int secondsFrom(const char *variable, int otherwise)
{
    const int set = qEnvironmentVariableIntValue(variable);
    return set > 0 ? set : otherwise;
}

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
    const QByteArray made = midi + '\0' + fileStamp(SoundFontPath::find()) + fileStamp(m_program);
    return QCryptographicHash::hash(made, QCryptographicHash::Sha256);
}

QString TuneRenderer::fileName(const QByteArray &key)
{
    return QStringLiteral("tune-%1.wav").arg(QString::fromLatin1(key.toHex().left(32)));
}

void TuneRenderer::render(const QString &tuneName, const QByteArray &midi, const QByteArray &key)
{
    stop(); // a rendering of another tune would be offered on top of this one
    m_soundFont = SoundFontPath::find();
    if (m_soundFont.isEmpty()) {
        return m_warn(QStringLiteral("no General MIDI SoundFont is installed (%1): no music")
                          .arg(SoundFontPath::candidates().join(QStringLiteral(" or "))));
    }
    m_tuneName = tuneName;
    m_wavName = fileName(key);
    m_cache.emplace(PlayerFolders::cache());
    if (std::optional<TuneFile> cached = m_cache->open(m_wavName))
        return m_take(std::move(*cached));
    QString why;
    m_scratch = m_cache->scratch(&why);
    if (!why.isEmpty()) {
        m_warn(QStringLiteral("the tune %1 cannot be kept once rendered (%2): it is rendered "
                              "at each start")
                   .arg(tuneName, why));
    }
    if (!m_scratch.file.isOpen()) {
        return m_warn(
            QStringLiteral("the tune %1 has no file to be rendered into: no music").arg(tuneName));
    }
    start(midi);
}

void TuneRenderer::start(const QByteArray &midi)
{
    QProcess *process = m_process = new QProcess;
    m_log.clear();
    // The rendering goes straight into the scratch file, the renderer's standard output.
    process->setStandardOutputFile(QProcess::nullDevice());
    const int output = m_scratch.file.fd();
    const pid_t game = getpid();
    const rlim_t cpu = rlim_t(secondsFrom("SEABATTLE_TUNE_CPU_SECONDS", CpuSeconds));
    process->setChildProcessModifier([output, game, cpu] {
        dup2(output, STDOUT_FILENO);
        // Bounded whatever program it is: SIGXCPU, then SIGKILL, for a rendering that spins;
        // SIGXFSZ for one that writes without end.
        const rlimit time {cpu, cpu + 10};
        const rlimit size {MaxFileBytes, MaxFileBytes};
        setrlimit(RLIMIT_CPU, &time);
        setrlimit(RLIMIT_FSIZE, &size);
        // The renderer dies with the game, however it ends, even before the renderer's own code
        // runs (the signal is kept across exec); a game already gone gets no renderer at all.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != game)
            _exit(1);
    });
    QObject::connect(process, &QProcess::readyReadStandardError, process, [this, process] {
        m_log += process->readAllStandardError().left(qMax(0, MaxLogBytes - int(m_log.size())));
    });
    QObject::connect(process, &QProcess::finished, process,
                     [this](int code, QProcess::ExitStatus status) {
                         ended(code, status == QProcess::CrashExit);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process, [this](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) { // no finished() follows
            fail(QStringLiteral("cannot be played (the renderer %1 cannot be started (%2))")
                     .arg(m_program, m_process->errorString()));
            std::exchange(m_process, nullptr)->deleteLater();
        }
    });
    m_timedOut = false;
    auto *deadline = new QTimer(process);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, process, [this, process, deadline] {
        if (std::exchange(m_timedOut, true))
            return process->kill(); // it would not stop
        process->terminate(); // seabattle-tune keeps the tune as far as it got
        deadline->start(GraceMs);
    });
    deadline->start(1000
                    * std::min(secondsFrom("SEABATTLE_TUNE_WALL_SECONDS", WallSeconds), 86400));
    process->start(m_program, {m_soundFont});
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
    m_cache->discard(m_scratch);
}

void TuneRenderer::ended(int exitCode, bool crashed)
{
    m_log += m_process->readAllStandardError().left(qMax(0, MaxLogBytes - int(m_log.size())));
    std::exchange(m_process, nullptr)->deleteLater();
    const QStringList log = QString::fromLocal8Bit(m_log).split('\n', Qt::SkipEmptyParts);
    const QString reason = log.isEmpty() ? QString() : log.last().left(200);
    const std::optional<qint64> bytes = TuneCache::soundBytes(m_scratch.file.fd());
    struct stat output;
    const bool full
        = fstat(m_scratch.file.fd(), &output) == 0 && rlim_t(output.st_size) >= MaxFileBytes;
    QString why; // the renderer's trouble, or the tune's
    if (crashed && m_timedOut)
        why = QStringLiteral("did not end when it was due");
    else if (crashed)
        why = full ? QStringLiteral("wrote more than the longest tune")
                   : QStringLiteral("crashed or used up its CPU time");
    else if (exitCode == Silent)
        return fail(QStringLiteral("holds nothing to play"));
    else if (exitCode != 0 && !reason.isEmpty() && (exitCode != Stopped || !bytes))
        return fail(QStringLiteral("cannot be played (%1)").arg(reason));
    else if (exitCode != 0 && (exitCode != Stopped || !bytes))
        why = QStringLiteral("failed with exit status %1").arg(exitCode);
    else if (!bytes)
        why = QStringLiteral("wrote no WAV of the game's format");
    if (!why.isEmpty())
        return fail(QStringLiteral("cannot be played (the renderer %1 %2)").arg(m_program, why));
    // A rendering cut short is kept, so that the next start does not render it again in vain.
    if (exitCode == Stopped) {
        m_warn(QStringLiteral("the tune %1 takes too long to render: %2, and that much is played")
                   .arg(m_tuneName, reason));
    }
    if (!m_scratch.inMemory) {
        const QString unkept = m_cache->keep(m_scratch, m_wavName);
        if (unkept.isEmpty()) {
            m_cache->removeOthers(m_wavName); // made of another tune, SoundFont or renderer
        } else {
            m_warn(QStringLiteral("the rendered tune cannot be kept as %1/%2 (%3): it is "
                                  "rendered again at each start")
                       .arg(m_cache->folder(), m_wavName, unkept));
        }
    }
    m_take({std::exchange(m_scratch, {}).file, *bytes});
}

void TuneRenderer::fail(const QString &why)
{
    m_cache->discard(m_scratch);
    m_warn(QStringLiteral("the tune %1 %2: no music").arg(m_tuneName, why));
}
