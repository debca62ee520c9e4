#include "monitorrecorder.h"
#include "privatesink.h"
#include "soundlevels.h"
#include "soundwarnings.h"
#include "testmedia.h"

#include "files/playerfolders.h"
#include "files/soundfontpath.h"
#include "sound/gamesound.h"
#include "sound/tunecache.h"
#include "sound/tunerenderer.h"
#include "tests/results/writeblock.h"
#include "tune/tunewav.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace SoundLevels;

namespace {

QString renderer()
{
    return qEnvironmentVariable("SEABATTLE_GAME_DIR") + QStringLiteral("/seabattle-tune");
}

// The processes a process has started, from the kernel's list.
QStringList childrenOf(qint64 pid)
{
    QFile list(QStringLiteral("/proc/%1/task/%1/children").arg(pid));
    if (!list.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(list.readAll()).split(' ', Qt::SkipEmptyParts);
}

bool hasEnded(const QString &pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return !stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z ");
}

ino_t inodeOf(const QString &path)
{
    struct stat status;
    return stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

// A regular file holding the tune's WAV: its header's sizes are those of the file.
bool isWholeWav(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || QFileInfo(path).isSymLink() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(44);
    return header.size() == 44 && header.startsWith("RIFF") && header.mid(8, 4) == "WAVE"
        && qFromLittleEndian<quint32>(header.constData() + 40) == quint32(file.size() - 44);
}

// Set in a game started with --part-files: its cache is on a file system without O_TMPFILE.
bool withoutTmpfile = false;

// A game that only starts its tune, until it is killed: `tst_tunecache --render-and-wait MIDI
// [--part-files]`.
int renderAndWait(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    withoutTmpfile = argc > 3;
    GameSound sound(renderer());
    sound.setTuneFile(QString::fromLocal8Bit(argv[2]));
    sound.openTune();
    sound.playTune();
    return app.exec();
}

} // namespace

// The C library's openat, as the program's own, so that a game of this test can be on a file
// system that refuses O_TMPFILE (NFS, for one) as the kernel refuses it there.
extern "C" int openat(int folder, const char *path, int flags, ...)
{
    mode_t mode = 0;
    if (flags & (O_CREAT | __O_TMPFILE)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    if (withoutTmpfile && (flags & __O_TMPFILE) == __O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return int(syscall(SYS_openat, folder, path, flags, mode));
}

// The rendered tune's cache, tried as a hostile user would, with the real renderer and the real
// sound: whatever was at the cache's name and however the games that rendered before ended,
// every game plays its tune, says once what it could not do, and leaves nothing behind but the
// rendering.
class TuneCacheTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void everyCacheTroubleEndsInMusicAndLeavesOnlyTheRendering_data();
    void everyCacheTroubleEndsInMusicAndLeavesOnlyTheRendering();

private:
    QString cache() const { return PlayerFolders::cache(); }
    bool heardAlone(GameSound &game);
    void killWhileRendering(const QString &tune, bool partFiles);

    QTemporaryDir m_dir;
    const QByteArray m_home = qgetenv("HOME");
    QString m_tune; // rendered in a second or so
    QString m_longTune; // seconds of CPU time to render
    std::unique_ptr<PrivateSink> m_sink;
    std::unique_ptr<MonitorRecorder> m_recorder;
};

void TuneCacheTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QFileInfo(renderer()).isExecutable());
    if (SoundFontPath::find().isEmpty())
        QSKIP("no General MIDI SoundFont installed (fluid-soundfont-gm)");
    m_tune = m_dir.filePath("seasound.mid");
    m_longTune = m_dir.filePath("long.mid");
    QVERIFY(TestMedia::write(m_tune, TestMedia::organTune(10000)));
    // Five minutes for five instruments.
    QVERIFY(TestMedia::write(m_longTune, TestMedia::busyTune(300)));
    const QString unheard = listenOnPrivateSink(m_sink, m_recorder);
    if (!unheard.isEmpty())
        QSKIP(qPrintable(unheard));
}

void TuneCacheTest::cleanup()
{
    qunsetenv("SEABATTLE_TUNE_CPU_SECONDS");
    qputenv("HOME", m_home);
}

bool TuneCacheTest::heardAlone(GameSound &game)
{
    const qint64 from = m_recorder->frames();
    game.playTune();
    const bool heard = m_recorder->firstLouderAfter(from, Silence, 60000) >= 0;
    game.stopTune();
    m_recorder->waitFor(m_recorder->frames() + MonitorRecorder::framesIn(SettleMs));
    return heard;
}

void TuneCacheTest::killWhileRendering(const QString &tune, bool partFiles)
{
    QProcess game;
    QStringList arguments {QStringLiteral("--render-and-wait"), tune};
    if (partFiles)
        arguments << QStringLiteral("--part-files");
    game.start(QCoreApplication::applicationFilePath(), arguments);
    QVERIFY(game.waitForStarted());
    QStringList renderers;
    QTRY_VERIFY_WITH_TIMEOUT(!(renderers = childrenOf(game.processId())).isEmpty(), 30000);
    game.kill();
    QVERIFY(game.waitForFinished());
    // A renderer reading its SoundFont from a busy disk may take seconds to die.
    QTRY_VERIFY_WITH_TIMEOUT(hasEnded(renderers.first()), 60000);
    // O_TMPFILE leaves nothing; a part file is left for the next game to remove.
    const QStringList left = QDir(cache()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QCOMPARE(left.size(), partFiles ? 1 : 0);
    if (partFiles)
        QVERIFY2(left.first().endsWith(".part"), qPrintable(left.first()));
}

void TuneCacheTest::everyCacheTroubleEndsInMusicAndLeavesOnlyTheRendering_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("warning"); // empty: none
    QTest::newRow("an empty cache") << "none"
                                    << "";
    QTest::newRow("two games at once") << "two games"
                                       << "";
    QTest::newRow("a game killed while rendering") << "killed"
                                                   << "";
    QTest::newRow("a game killed while rendering into a part file") << "killed, part file"
                                                                    << "";
    QTest::newRow("an empty folder at the name") << "empty folder"
                                                 << "";
    QTest::newRow("a folder of files at the name")
        << "folder"
        << "cannot be kept as %1 (a folder that is not empty is there): it is rendered again";
    QTest::newRow("a link at the name") << "link"
                                        << "";
    QTest::newRow("a header claiming 4 GB of sound") << "lying header"
                                                     << "";
    QTest::newRow("a file where the cache's folder belongs")
        << "cache is a file"
        << "seasound.mid cannot be kept once rendered (the folder %2 cannot be used (Not a "
           "directory)): it is rendered at each start";
    QTest::newRow("a rendering cut by its CPU time")
        << "cut"
        << "long.mid takes too long to render: its rendering used up its 1 s of CPU time at ";
    // Played from memory, the real reason told.
    QTest::newRow("a cache folder that refuses writes")
        << "read-only cache"
        << "seasound.mid cannot be kept once rendered (no file can be made in %2 (%3)): it is "
           "rendered at each start";
    QTest::newRow("a cache home that refuses the cache's folder")
        << "read-only home"
        << "seasound.mid cannot be kept once rendered (the folder %2 cannot be used (%3)): it is "
           "rendered at each start";
    QTest::newRow("no home") << "no home"
                             << "seasound.mid cannot be kept once rendered (no cache folder: HOME "
                                "is not set): it is rendered at each start";
}

void TuneCacheTest::everyCacheTroubleEndsInMusicAndLeavesOnlyTheRendering()
{
    QFETCH(QString, trouble);
    QFETCH(QString, warning);
    QTemporaryDir home(m_dir.filePath("home-XXXXXX"));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.path()));
    const QString tune = trouble == "cut" ? m_longTune : m_tune;
    QFile midi(tune);
    QVERIFY(midi.open(QIODevice::ReadOnly));
    const QString wavName
        = TuneRenderer::fileName(TuneRenderer(renderer(), {}, {}).keyOf(midi.readAll()));
    const QString wav = cache() + '/' + wavName;
    QVERIFY(QDir().mkpath(cache()));
    const auto entries = [](const QString &folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    };
    const QStringList rootBefore = entries("/"), hereBefore = entries(QDir::currentPath());
    std::optional<WriteBlock> block;
    const QString outside = home.filePath("outside.wav");
    const TuneWav::Header claim = TuneWav::header(0xfffffff0);
    if (trouble == "killed" || trouble == "killed, part file")
        killWhileRendering(m_longTune, trouble.endsWith("part file"));
    else if (trouble == "empty folder")
        QVERIFY(QDir().mkpath(wav));
    else if (trouble == "folder")
        QVERIFY(QDir().mkpath(wav) && TestMedia::write(wav + "/keep.txt", "the player's"));
    else if (trouble == "link")
        QVERIFY(TestMedia::write(outside, "not ours") && QFile::link(outside, wav));
    else if (trouble == "lying header")
        QVERIFY(
            TestMedia::write(wav, QByteArray(reinterpret_cast<const char *>(claim.data()), 44)));
    else if (trouble == "cut")
        qputenv("SEABATTLE_TUNE_CPU_SECONDS", "1");
    else if (trouble == "cache is a file")
        QVERIFY(QDir().rmdir(cache()) && TestMedia::write(cache(), "the player's"));
    else if (trouble == "read-only cache")
        block.emplace(cache());
    else if (trouble == "read-only home" && QDir().rmdir(cache()))
        block.emplace(home.path());
    else if (trouble == "no home") {
        qunsetenv("HOME");
        qunsetenv("XDG_CACHE_HOME");
    }
    if (block && !block->isActive())
        QSKIP("the folder cannot be made to refuse writes here");
    if (QTest::currentTestFailed())
        return;

    const SoundWarnings warnings;
    GameSound first(renderer());
    first.setTuneFile(tune);
    first.openTune();
    std::optional<GameSound> second;
    if (trouble == "two games") {
        second.emplace(renderer());
        second->setTuneFile(tune);
        second->openTune(); // renders at the same time as the first
    }
    QVERIFY2(heardAlone(first), "the game plays no tune");
    if (second)
        QVERIFY2(heardAlone(*second), "the second game plays no tune");
    const QString refused = QString::fromLocal8Bit(std::strerror(geteuid() == 0 ? EPERM : EACCES));
    const QString expected
        = QString(warning).replace("%1", wav).replace("%2", cache()).replace("%3", refused);
    QCOMPARE(warnings.messages().size(), expected.isEmpty() ? 0 : 1);
    QVERIFY2(warnings.count(expected) == (expected.isEmpty() ? 0 : 1),
             qPrintable(warnings.messages().join('\n')));

    if (trouble == "cache is a file") { // the tune was played from memory
        QFile player(cache());
        QVERIFY(player.open(QIODevice::ReadOnly));
        QCOMPARE(player.readAll(), "the player's");
        return;
    }
    if (trouble == "read-only cache" || trouble == "read-only home" || trouble == "no home") {
        QVERIFY(cache().isEmpty() || entries(cache()).isEmpty());
        QCOMPARE(entries("/"), rootBefore);
        QCOMPARE(entries(QDir::currentPath()), hereBefore);
        return;
    }
    const QStringList left = QDir(cache()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot
                                                     | QDir::System | QDir::Hidden);
    QCOMPARE(left, QStringList {wavName});
    if (trouble == "folder") {
        QCOMPARE(QDir(wav).entryList(QDir::Files), QStringList {"keep.txt"});
        return;
    }
    QVERIFY2(isWholeWav(wav), "the rendering is not in the cache");
    if (trouble == "link")
        QCOMPARE(QFileInfo(outside).size(), 8); // what the link pointed to is left alone
    if (trouble == "cut") {
        // Kept as far as it got: the next game plays it and renders nothing.
        const ino_t inode = inodeOf(wav);
        GameSound next(renderer());
        next.setTuneFile(tune);
        next.openTune();
        QVERIFY2(heardAlone(next), "the next game plays no tune");
        QCOMPARE(inodeOf(wav), inode);
        QCOMPARE(warnings.messages().size(), 1);
    }
}

int main(int argc, char *argv[])
{
    if (argc > 2 && qstrcmp(argv[1], "--render-and-wait") == 0)
        return renderAndWait(argc, argv);
    QCoreApplication app(argc, argv);
    TuneCacheTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tunecache.moc"
