#include "monitorrecorder.h"
#include "soundlevels.h"
#include "soundwarnings.h"
#include "testmedia.h"

#include "sound/gamesound.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <memory>

using namespace SoundLevels;

namespace {
constexpr int RenderTimeoutMs = 60000;

// The process's own CPU time so far, in ms.
qint64 cpuMs()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return (qint64(usage.ru_utime.tv_sec) + usage.ru_stime.tv_sec) * 1000
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000;
}
} // namespace

// The game where the sound server is missing, and where it goes away and comes back: every
// command is issued as usual, nothing breaks, each cause is told once, and the sound comes back
// by itself. The server is a PulseAudio daemon of the test's own, at a socket of its own.
class NoServerTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void aWholeGameIsSilentWithOneWarningPerCause();
    void theTuneComesBackWithTheServer();

private:
    QString tune() const { return m_dir.filePath("seasound.mid"); }
    bool startServer();
    void stopServer();
    qint64 heardWithin(int ms);

    QTemporaryDir m_dir;
    QProcess m_server;
    std::unique_ptr<MonitorRecorder> m_recorder;
};

void NoServerTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(m_dir.filePath("native")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_dir.filePath("cache")));
    QVERIFY(TestMedia::write(tune(), TestMedia::organTune(30000)));
}

void NoServerTest::cleanupTestCase()
{
    stopServer();
}

bool NoServerTest::startServer()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"HOME", "XDG_RUNTIME_DIR", "PULSE_RUNTIME_PATH", "PULSE_STATE_PATH"})
        environment.insert(name, m_dir.path());
    m_server.setProcessEnvironment(environment);
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server.start(
        "pulseaudio",
        {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=false", "-L",
         "module-native-protocol-unix socket=" + m_dir.filePath("native") + " auth-anonymous=1",
         "-L", "module-null-sink sink_name=test_null rate=44100 channels=2"});
    if (!m_server.waitForStarted())
        return false;
    // The recorder waits for the server's first samples.
    m_recorder = std::make_unique<MonitorRecorder>("test_null.monitor");
    const QDeadlineTimer deadline(30000);
    while (!m_recorder->start() && !deadline.hasExpired())
        m_recorder = std::make_unique<MonitorRecorder>("test_null.monitor");
    return m_server.state() == QProcess::Running && !deadline.hasExpired();
}

void NoServerTest::stopServer()
{
    m_recorder.reset();
    m_server.kill();
    m_server.waitForFinished();
}

qint64 NoServerTest::heardWithin(int ms)
{
    return m_recorder->firstLouderAfter(m_recorder->frames(), Silence, ms);
}

void NoServerTest::aWholeGameIsSilentWithOneWarningPerCause()
{
    // Start-up, hits, the music switch, the repeats and the end of the program: one warning for
    // the output and one naming the missing hit sound.
    const SoundWarnings warnings;
    {
        GameSound sound(qEnvironmentVariable("SEABATTLE_GAME_DIR") + "/seabattle-tune");
        sound.setTuneFile(tune());
        for (int repeat = 0; repeat < 3; ++repeat) {
            sound.closeTune();
            sound.openTune();
            sound.playTune();
            for (int hit = 0; hit < 3; ++hit) {
                sound.startHitSound(m_dir.filePath("Boom.wav"));
                sound.stopHitSound();
            }
            sound.stopTune();
            sound.playTune();
        }
        QTRY_COMPARE(warnings.count("no sound: the sound server cannot be reached ("), 1);
    }
    QCOMPARE(warnings.messages().size(), 2);
    QCOMPARE(warnings.count("Boom.wav cannot be read (no such file)"), 1);
}

void NoServerTest::theTuneComesBackWithTheServer()
{
    // The tune is on while the server is missing, then comes, goes and comes back: the tune is
    // heard each time the server is there, without a command of the game's; meanwhile the game
    // calls the server on a timer, not in a loop, and says each loss once.
    const SoundWarnings warnings;
    GameSound sound(qEnvironmentVariable("SEABATTLE_GAME_DIR") + "/seabattle-tune");
    sound.setTuneFile(tune());
    sound.openTune();
    sound.playTune();
    QTRY_COMPARE(warnings.messages().size(), 1);
    for (int round = 0; round < 2; ++round) {
        QVERIFY2(startServer(), "no PulseAudio daemon of the test's own");
        QVERIFY2(heardWithin(RenderTimeoutMs) >= 0, "the tune did not come back");
        stopServer();
        const qint64 cpuBefore = cpuMs();
        QTest::qWait(3000); // the server is away: the game calls it again two or three times
        const qint64 cpu = cpuMs() - cpuBefore;
        QVERIFY2(cpu < 300, qPrintable(QStringLiteral("%1 ms of CPU in 3 s").arg(cpu)));
    }
    QCOMPARE(warnings.messages().size(), 2);
    QCOMPARE(warnings.count("the sound server cannot be reached (Connection terminated)"), 1);
}

QTEST_GUILESS_MAIN(NoServerTest)
#include "tst_sound_noserver.moc"
