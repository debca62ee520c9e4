#include "monitorrecorder.h"
#include "soundlevels.h"
#include "soundwarnings.h"
#include "testmedia.h"

#include "sound/gamesound.h"

#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <memory>

using namespace SoundLevels;

namespace {
constexpr int RenderTimeoutMs = 60000;

// How often the game calls a server that answers no call, in the given time: a socket of the
// test's own at the server's path closes each connection at once.
int callsIn(const QString &path, int ms)
{
    const int listening = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path);
    unlink(address.sun_path);
    if (bind(listening, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || listen(listening, 64) != 0)
        return -1;
    int calls = 0;
    QSocketNotifier notifier(listening, QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
        for (int call; (call = accept4(listening, nullptr, nullptr, SOCK_CLOEXEC)) >= 0; ++calls)
            close(call);
    });
    QTest::qWait(ms);
    close(listening);
    unlink(address.sun_path);
    return calls;
}
} // namespace

// The game whose sound server goes away and comes back, as when it is restarted: the sound comes
// back by itself. The server is a PulseAudio daemon of the test's own, at a socket of its own.
class RestartTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void theTuneComesBackWithTheServer();

private:
    QString tune() const { return m_dir.filePath("seasound.mid"); }
    bool startServer();
    void stopServer();

    QTemporaryDir m_dir;
    pid_t m_server = 0;
    std::unique_ptr<MonitorRecorder> m_recorder;
};

void RestartTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(m_dir.filePath("native")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_dir.filePath("cache")));
    QVERIFY(TestMedia::write(tune(), TestMedia::organTune(30000)));
}

void RestartTest::cleanupTestCase()
{
    stopServer();
}

bool RestartTest::startServer()
{
    // The e2e tests' own daemon, at the socket the game was pointed to; its id comes on output.
    QProcess shell;
    shell.start("bash",
                {"-c", R"(source "$0" && start_private_pulse "$1" && echo $PRIVATE_PULSE_PID)",
                 qEnvironmentVariable("SEABATTLE_SOURCE_DIR") + "/tools/private-servers.sh",
                 m_dir.path()});
    if (!shell.waitForFinished(60000) || shell.exitCode() != 0)
        return false;
    m_server = shell.readAllStandardOutput().trimmed().toInt();
    m_recorder = std::make_unique<MonitorRecorder>("seabattle_null.monitor");
    return m_recorder->start();
}

void RestartTest::stopServer()
{
    m_recorder.reset();
    if (m_server > 0)
        kill(std::exchange(m_server, 0), SIGKILL);
}

void RestartTest::theTuneComesBackWithTheServer()
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
        QVERIFY2(m_recorder->firstLouderAfter(m_recorder->frames(), Silence, RenderTimeoutMs) >= 0,
                 "the tune did not come back");
        stopServer();
        // Meanwhile the game calls again on a timer: two or three times in 3 s, not in a loop.
        const int calls = callsIn(m_dir.filePath("native"), 3000);
        QVERIFY2(calls >= 1 && calls <= 6,
                 qPrintable(QStringLiteral("%1 calls in 3 s").arg(calls)));
    }
    QCOMPARE(warnings.messages().size(), 2);
    QCOMPARE(warnings.count("the sound server cannot be reached (Connection terminated)"), 1);
}

QTEST_GUILESS_MAIN(RestartTest)
#include "tst_sound_restart.moc"
