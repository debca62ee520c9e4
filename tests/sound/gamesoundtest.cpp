#include "gamesoundtest.h"

#include "monitorrecorder.h"
#include "privatesink.h"
#include "soundlevels.h"
#include "soundwarnings.h"
#include "testmedia.h"

#include "files/mediabytes.h"
#include "files/soundfontpath.h"
#include "sound/gamesound.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>
#include <QThread>
#include <QtEndian>

#include <sys/stat.h>

using namespace SoundLevels;

namespace {
constexpr int RenderTimeoutMs = 60000;
// The longest drop in a sound that plays on: far short of the whole second or more that a sound
// stopped by mistake (or waiting for a busy window) is silent for, and long enough for the
// scheduler of a machine whose cores are both busy, sanitizers included, to starve the player.
constexpr int MaxDropMs = 300;

QString renderer()
{
    return qEnvironmentVariable("SEABATTLE_GAME_DIR") + QStringLiteral("/seabattle-tune");
}

// A 16-bit WAV whose last sample is cut in half: the data chunk has an odd length.
QByteArray cutMidSample()
{
    QByteArray wav = TestMedia::levelWav(Wav, 200);
    wav.chop(1);
    const qsizetype data = wav.indexOf("data");
    const quint32 length = qFromLittleEndian<quint32>(wav.constData() + data + 4) - 1;
    qToLittleEndian<quint32>(length, wav.data() + data + 4);
    qToLittleEndian<quint32>(quint32(wav.size() - 8), wav.data() + 4);
    return wav;
}

// A type 1 MIDI file of many tracks, each holding a note.
QByteArray manyTracks(int count)
{
    QByteArray file("MThd\0\0\0\6\0\1", 10);
    file += char(count >> 8);
    file += char(count & 0xff);
    file += QByteArray("\x01\xf4", 2);
    const QByteArray track("\x00\x90\x3c\x64\x83\x60\x80\x3c\x40\x00\xff\x2f\x00", 13);
    for (int i = 0; i < count; ++i)
        file += QByteArray("MTrk\0\0\0\x0d", 8) + track;
    return file;
}

// A valid tune behind a text event of over a megabyte.
QByteArray bigTune()
{
    const QByteArray tune = TestMedia::organTune(3000);
    QByteArray text(1100 * 1024, 'x');
    QByteArray event("\x00\xff\x01", 3);
    for (int shift = 14; shift > 0; shift -= 7)
        event += char(0x80 | ((text.size() >> shift) & 0x7f));
    event += char(text.size() & 0x7f);
    QByteArray file = tune.left(22) + event + text + tune.mid(22);
    qToBigEndian<quint32>(quint32(file.size() - 22), file.data() + 18);
    return file;
}
} // namespace

GameSoundTest::GameSoundTest() = default;
GameSoundTest::~GameSoundTest() = default;

void GameSoundTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // Renderings are kept in the user's cache: this run's own starts empty.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(file("cache")));
    QVERIFY(QFileInfo(renderer()).isExecutable());
    if (SoundFontPath::find().isEmpty())
        QSKIP("no General MIDI SoundFont installed (fluid-soundfont-gm)");
    QVERIFY(TestMedia::write(file("Boom.wav"), TestMedia::levelWav(Wav, 200)));
    QVERIFY(TestMedia::write(file("seasound.mid"), TestMedia::organTune(20000)));
    QVERIFY(TestMedia::write(file("two.mid"), TestMedia::organTune(2000)));
    QVERIFY(TestMedia::write(file("long.mid"), TestMedia::busyTune(120)));
    const QString unheard = listenOnPrivateSink(m_sink, m_recorder);
    if (!unheard.isEmpty())
        QSKIP(qPrintable(unheard));
}

void GameSoundTest::init()
{
    m_sound = std::make_unique<GameSound>(renderer());
    m_sound->setTuneFile(file("seasound.mid"));
}

void GameSoundTest::cleanup()
{
    m_sound.reset();
    m_recorder->waitFor(m_recorder->frames() + MonitorRecorder::framesIn(SettleMs));
}

void GameSoundTest::cleanupTestCase()
{
    m_recorder.reset();
    m_sink.reset();
}

qint64 GameSoundTest::waitUntilHeard()
{
    return m_recorder->firstLouderAfter(m_recorder->frames(), Silence, RenderTimeoutMs);
}

int GameSoundTest::heardMs(qint64 from, qint64 to)
{
    // Counted in 20 ms steps that are not silent: a player starved by a busy machine leaves gaps
    // in what is heard, and those are no part of the tune.
    const qint64 step = MonitorRecorder::framesIn(20);
    int heard = 0;
    for (qint64 at = from; at + step <= to; at += step)
        heard += m_recorder->peakAfter(at, 20) > Silence ? 20 : 0;
    return heard;
}

int GameSoundTest::heardUntilQuietMs(qint64 from)
{
    // Until a whole second is silent: longer than any gap a starved player leaves.
    const qint64 step = MonitorRecorder::framesIn(20);
    qint64 lastHeard = m_recorder->firstLouderAfter(from, Silence, 5000);
    if (lastHeard < 0)
        return -1;
    int heard = 0;
    for (qint64 at = lastHeard; at - lastHeard < MonitorRecorder::framesIn(1000); at += step) {
        if (m_recorder->peakAfter(at, 20) > Silence) {
            heard += 20;
            lastHeard = at;
        }
    }
    return heard;
}

void GameSoundTest::soundGoesOnWhileTheWindowIsBusy_data()
{
    QTest::addColumn<bool>("hit");
    QTest::addColumn<int>("level");
    QTest::newRow("hit sound") << true << Wav / 2;
    QTest::newRow("tune") << false << Silence;
}

void GameSoundTest::soundGoesOnWhileTheWindowIsBusy()
{
    // The window draws an explosion without returning to its event loop; the hit sound (looping
    // its 0.2 s) and the tune play on all the same. A sound that waited for the window would
    // stop for the whole time; a loaded machine may at most drop a few milliseconds.
    QFETCH(bool, hit);
    QFETCH(int, level);
    if (hit) {
        m_sound->startHitSound(file("Boom.wav"));
    } else {
        m_sound->openTune();
        m_sound->playTune();
    }
    QVERIFY2(waitUntilHeard() >= 0, "nothing is heard");
    const qint64 busyFrom = m_recorder->frames();
    QThread::msleep(1500);
    const int drop = m_recorder->longestDropAfter(busyFrom, 1500, level);
    QVERIFY2(drop < MaxDropMs, qPrintable(QStringLiteral("silent for %1 ms").arg(drop)));
}

void GameSoundTest::tuneCommandsKeepTheirPlace_data()
{
    QTest::addColumn<bool>("reopen");
    QTest::newRow("Stop, Play: the rest") << false;
    QTest::newRow("Stop, Close, Open, Play: from the top") << true;
}

void GameSoundTest::tuneCommandsKeepTheirPlace()
{
    // "Stop" holds the tune's place and "Play" goes on from there; "Close" and "Open" start it
    // again from its beginning. Nothing is heard while it is stopped, and no stream to the
    // sound server is open then, nor once the tune has ended. The tune's chords sound for 2 s
    // and its reverb for about 1.5 s more; it is stopped after 1 s of it.
    QFETCH(bool, reopen);
    m_sound->setTuneFile(file("two.mid"));
    m_sound->openTune();
    m_sound->playTune();
    const qint64 heard = waitUntilHeard();
    QVERIFY(heard >= 0);
    m_recorder->waitFor(heard + MonitorRecorder::framesIn(1000));
    QCOMPARE(m_sink->streams(), 1);
    m_sound->stopTune();
    const qint64 stopped = m_recorder->frames() + MonitorRecorder::framesIn(SettleMs);
    QCOMPARE(m_recorder->peakAfter(stopped, 600), 0);
    QTRY_COMPARE(m_sink->streams(), 0);
    const int before = heardMs(heard, stopped);
    if (reopen) {
        m_sound->closeTune();
        m_sound->openTune();
    }
    const qint64 from = m_recorder->frames();
    m_sound->playTune();
    const int after = heardUntilQuietMs(from);
    // Going on from its place, the tune is heard once over both parts; from the top, once
    // after the part before the stop (about 3.5 s either way; 1 s more when "Play" starts it
    // again where it should go on).
    const int whole = reopen ? after : before + after;
    QVERIFY2(before >= 500 && whole >= 3100 && whole <= 4100,
             qPrintable(QStringLiteral("heard for %1 ms before the stop and %2 ms after")
                            .arg(before)
                            .arg(after)));
    QTRY_COMPARE(m_sink->streams(), 0);
}

void GameSoundTest::musicSwitchLeavesTheHitSoundAlone()
{
    // Switching the music off does not silence a hit sound, the hit sound plays while the music
    // is off, and stopping the hit sound leaves the tune playing. The hit sound holds one level,
    // so the average of what is heard tells it apart from the music.
    m_sound->openTune();
    m_sound->playTune();
    QVERIFY(waitUntilHeard() >= 0);
    m_sound->startHitSound(file("Boom.wav"));
    m_sound->stopTune();
    const qint64 musicOffAt = m_recorder->frames() + MonitorRecorder::framesIn(SettleMs);
    const int hitDrop = m_recorder->longestDropAfter(musicOffAt, 1000, Wav / 2);
    QVERIFY2(hitDrop < MaxDropMs,
             qPrintable(QStringLiteral("the hit sound fell silent for %1 ms").arg(hitDrop)));
    QVERIFY(m_recorder->meanAfter(musicOffAt, 1000) > Wav / 2);

    m_sound->playTune();
    m_sound->stopHitSound();
    // The recording may lag behind a loaded machine: the hit sound is looked for to end within
    // 3 s, and the tune must be heard on from then.
    qint64 hitGone = m_recorder->frames();
    const qint64 lastLook = hitGone + MonitorRecorder::framesIn(3000);
    while (hitGone < lastLook && qAbs(m_recorder->meanAfter(hitGone, 600)) >= Wav / 4)
        hitGone += MonitorRecorder::framesIn(100);
    QVERIFY2(hitGone < lastLook, "the hit sound went on for 3 s after it was stopped");
    const int tuneDrop = m_recorder->longestDropAfter(hitGone, 600, Silence);
    QVERIFY2(tuneDrop < MaxDropMs,
             qPrintable(QStringLiteral("the tune fell silent for %1 ms").arg(tuneDrop)));
}

void GameSoundTest::everyMediaFileIsPlayedOrToldOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind"); // file, pipe, folder or missing
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("warning"); // empty: the sound is heard
    const QByteArray random = QByteArray(4096, '\x5a');
    QTest::newRow("WAV, 8 bits, data of odd length")
        << "odd.wav"
        << "file" << TestMedia::levelWav(Wav, 250, 1, 8) << "";
    QTest::newRow("WAV, data cut in a sample") << "cut.wav"
                                               << "file" << cutMidSample() << "";
    QTest::newRow("WAV, stereo with a chunk of odd length")
        << "chunk.wav"
        << "file" << TestMedia::levelWav(Wav, 200, 2, 16, "LIST" + random.left(5)) << "";
    // The formats the server is told of, each at the level it holds.
    QTest::newRow("WAV, 24 bits") << "24.wav"
                                  << "file" << TestMedia::levelWav(Wav, 200, 2, 24) << "";
    QTest::newRow("WAV, 32 bits") << "32.wav"
                                  << "file" << TestMedia::levelWav(Wav, 200, 1, 32) << "";
    QTest::newRow("WAV, float") << "float.wav"
                                << "file"
                                << TestMedia::levelWav(Wav, 200, 2, 32, {}, TestMedia::Float) << "";
    QTest::newRow("WAV, extensible, 22.05 kHz")
        << "extensible.wav"
        << "file" << TestMedia::levelWav(Wav, 200, 1, 16, {}, TestMedia::Extensible, 22050) << "";
    QTest::newRow("WAV, 12 bits")
        << "12.wav"
        << "file" << TestMedia::levelWav(Wav, 200, 1, 16).replace(34, 1, "\x0c")
        << "12.wav cannot be played (WAV format 1 with 1 channels of 12 bits at 44100 Hz";
    QTest::newRow("WAV, empty") << "empty.wav"
                                << "file" << QByteArray()
                                << "empty.wav cannot be played (not a WAV";
    QTest::newRow("WAV at 4 GHz")
        << "fast.wav"
        << "file" << TestMedia::levelWav(Wav, 200, 1, 16).replace(24, 4, "\xff\xff\xff\xff")
        << "fast.wav cannot be played (WAV format 1 with 1 channels of 16 bits at 4294967295 Hz";
    QTest::newRow("WAV of random bytes") << "random.wav"
                                         << "file" << random << "random.wav cannot be played (";
    QTest::newRow("WAV, a named pipe")
        << "pipe.wav"
        << "pipe" << QByteArray() << "pipe.wav cannot be read (a named pipe";
    QTest::newRow("WAV, a folder")
        << "folder.wav"
        << "folder" << QByteArray() << "folder.wav cannot be read (a folder";
    QTest::newRow("WAV, missing") << "gone.wav"
                                  << "missing" << QByteArray()
                                  << "gone.wav cannot be read (no such file)";
    QTest::newRow("MIDI of over a megabyte") << "big.mid"
                                             << "file" << bigTune() << "";
    QTest::newRow("MIDI of random bytes") << "random.mid"
                                          << "file" << random << "random.mid is not a MIDI file";
    QTest::newRow("MIDI, a header only")
        << "header.mid"
        << "file" << QByteArray("MThd\0\0\0\6\0\0\0\1\1\xe0", 14)
        << "header.mid cannot be played (FluidSynth plays none of its events)";
    QTest::newRow("MIDI of 200 tracks")
        << "tracks.mid"
        << "file" << manyTracks(200) << "tracks.mid cannot be played (FluidSynth plays none";
    QTest::newRow("MIDI of silent notes")
        << "silent.mid"
        << "file" << TestMedia::midi({{0, 1000, 60, 0}}) << "silent.mid holds nothing to play";
    QTest::newRow("MIDI, a named pipe")
        << "pipe.mid"
        << "pipe" << QByteArray() << "pipe.mid cannot be read (a named pipe";
    QTest::newRow("MIDI, too large") << "huge.mid"
                                     << "file" << QByteArray(MediaBytes::MaxTuneBytes + 1, 'M')
                                     << "huge.mid cannot be read (4194305 bytes";
}

void GameSoundTest::everyMediaFileIsPlayedOrToldOnce()
{
    // A player's file is played when it can be, else named in one warning with the true
    // cause, however often the game asks for it; nothing blocks on a pipe.
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, warning);
    const QString path = file(name);
    if (kind == "file")
        QVERIFY(TestMedia::write(path, bytes));
    else if (kind == "pipe")
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == "folder")
        QVERIFY(QDir().mkpath(path));
    const SoundWarnings warnings;
    const qint64 from = m_recorder->frames();
    const bool tune = name.endsWith(".mid");
    m_sound->setTuneFile(path);
    for (int repeat = 0; repeat < 3; ++repeat) {
        if (tune) {
            m_sound->closeTune();
            m_sound->openTune();
            m_sound->playTune();
        } else {
            m_sound->startHitSound(path);
        }
    }
    if (warning.isEmpty()) {
        const qint64 heard = m_recorder->firstLouderAfter(from, Silence, RenderTimeoutMs);
        QVERIFY2(heard >= 0, "nothing is heard");
        QCOMPARE(warnings.messages(), QStringList());
        // The server was told the file's format: it plays the level the file holds.
        const int mean = m_recorder->meanAfter(heard + MonitorRecorder::framesIn(300), 200);
        QVERIFY2(tune || qAbs(mean - Wav) < Wav / 10, qPrintable(QString::number(mean)));
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(!warnings.messages().isEmpty(), RenderTimeoutMs);
        QCOMPARE(m_recorder->peakAfter(from, 1000), 0);
        QCOMPARE(warnings.messages().size(), 1);
        QVERIFY2(warnings.count(warning) == 1, qPrintable(warnings.messages().join('\n')));
    }
}

void GameSoundTest::destroyingAtAnyMomentIsClean_data()
{
    QTest::addColumn<QString>("tune");
    QTest::addColumn<bool>("waitForSound");
    QTest::addColumn<bool>("hit");
    QTest::newRow("while rendering a long tune") << "long.mid" << false << false;
    QTest::newRow("while the tune plays") << "seasound.mid" << true << false;
    QTest::newRow("while the hit sound loops") << "" << true << true;
    QTest::newRow("with both playing") << "seasound.mid" << true << true;
}

void GameSoundTest::destroyingAtAnyMomentIsClean()
{
    // The game may end at any moment: destroying the sound cancels a rendering in progress,
    // closes the mixer and leaves nothing playing.
    QFETCH(QString, tune);
    QFETCH(bool, waitForSound);
    QFETCH(bool, hit);
    if (!tune.isEmpty()) {
        m_sound->setTuneFile(file(tune));
        m_sound->openTune();
        m_sound->playTune();
    }
    if (hit)
        m_sound->startHitSound(file("Boom.wav"));
    if (waitForSound)
        QVERIFY(waitUntilHeard() >= 0);
    m_sound.reset();
    const qint64 from = m_recorder->frames();
    QCOMPARE(m_recorder->peakAfter(from + MonitorRecorder::framesIn(SettleMs), 500), 0);
}

void GameSoundTest::rendererTroubleLeavesTheGameSilentWithOneWarning_data()
{
    QTest::addColumn<QByteArray>("script"); // empty: no renderer at all
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QByteArray>("limit"); // set to 1 s for the row
    QTest::newRow("missing") << QByteArray() << "bad-renderer cannot be started (" << QByteArray();
    QTest::newRow("killed") << QByteArray("kill -9 $$") << "bad-renderer crashed" << QByteArray();
    QTest::newRow("failing with a reason")
        << QByteArray("echo chatter >&2; echo the SoundFont is gone >&2; exit 3")
        << "seasound.mid cannot be played (the SoundFont is gone)" << QByteArray();
    QTest::newRow("writing garbage") << QByteArray("printf 'RIFF\\0\\0\\0\\0WAVEjunk'")
                                     << "seasound.mid cannot be played (the renderer "
            + file("bad-renderer") + " wrote no WAV of the game's format)"
                                     << QByteArray();
    QTest::newRow("spinning") << QByteArray("while :; do :; done")
                              << "bad-renderer crashed or used up its CPU time"
                              << QByteArray("SEABATTLE_TUNE_CPU_SECONDS");
    QTest::newRow("hanging, deaf to SIGTERM")
        << QByteArray("trap '' TERM; exec sleep 100000")
        << "bad-renderer did not end when it was due" << QByteArray("SEABATTLE_TUNE_WALL_SECONDS");
    QTest::newRow("writing without end")
        << QByteArray("exec cat /dev/zero") << "bad-renderer wrote more than the longest tune"
        << QByteArray();
}

void GameSoundTest::rendererTroubleLeavesTheGameSilentWithOneWarning()
{
    // A renderer that is missing, dies or writes no WAV costs the tune and nothing else: one
    // warning naming the cause however often the tune is opened, and the hit sound still plays.
    QFETCH(QByteArray, script);
    QFETCH(QString, warning);
    QFETCH(QByteArray, limit);
    const QString bad = file("bad-renderer");
    if (!limit.isEmpty())
        qputenv(limit.constData(), "1");
    const auto unset = qScopeGuard([&limit] {
        if (!limit.isEmpty())
            qunsetenv(limit.constData());
    });
    QFile::remove(bad);
    if (!script.isEmpty()) {
        QVERIFY(TestMedia::write(bad, "#!/bin/sh\ncat >/dev/null\n" + script + "\n"));
        QVERIFY(QFile::setPermissions(bad, QFile::ReadOwner | QFile::ExeOwner));
    }
    m_sound.reset(); // the mixer is the process's one
    m_sound = std::make_unique<GameSound>(bad);
    m_sound->setTuneFile(file("seasound.mid"));
    const SoundWarnings warnings;
    const qint64 from = m_recorder->frames();
    for (int repeat = 0; repeat < 3; ++repeat) {
        m_sound->closeTune();
        m_sound->openTune();
        m_sound->playTune();
    }
    QTRY_VERIFY_WITH_TIMEOUT(!warnings.messages().isEmpty(), RenderTimeoutMs);
    QCOMPARE(m_recorder->peakAfter(from, 1000), 0);
    QCOMPARE(warnings.messages().size(), 1);
    QVERIFY2(warnings.count(warning) == 1, qPrintable(warnings.messages().join('\n')));
    m_sound->startHitSound(file("Boom.wav"));
    QVERIFY(waitUntilHeard() >= 0);
}
