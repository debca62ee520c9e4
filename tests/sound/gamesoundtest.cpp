#include "gamesoundtest.h"

#include "monitorrecorder.h"
#include "privatesink.h"
#include "soundlevels.h"
#include "soundwarnings.h"
#include "testmedia.h"

#include "sound/gamesound.h"
#include "sound/tunerendering.h"

#include <QTest>
#include <QThread>

using namespace SoundLevels;

namespace {
constexpr int RenderTimeoutMs = 60000;
}

GameSoundTest::GameSoundTest() = default;
GameSoundTest::~GameSoundTest() = default;

void GameSoundTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (TuneRendering::defaultSoundFont().isEmpty())
        QSKIP("no General MIDI SoundFont installed (fluid-soundfont-gm)");
    QVERIFY(TestMedia::write(file("Boom.wav"), TestMedia::levelWav(Wav, 200)));
    QVERIFY(TestMedia::write(file("seasound.mid"), TestMedia::organTune(20000)));
    QVERIFY(TestMedia::write(file("long.mid"), TestMedia::busyTune(120)));
    QVERIFY(TestMedia::write(file("short.mid"), TestMedia::organTune(3000)));
    const QString unheard = listenOnPrivateSink(m_sink, m_recorder);
    if (!unheard.isEmpty())
        QSKIP(qPrintable(unheard));
}

void GameSoundTest::init()
{
    m_sound = std::make_unique<GameSound>();
    m_sound->setOutputDevice(m_sink->device());
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

void GameSoundTest::soundGoesOnWhileTheWindowIsBusy_data()
{
    QTest::addColumn<bool>("hit");
    QTest::addColumn<int>("level");
    QTest::newRow("hit sound") << true << Wav / 2;
    QTest::newRow("tune") << false << Silence;
}

void GameSoundTest::soundGoesOnWhileTheWindowIsBusy()
{
    // The window draws an explosion without returning to its event loop for a good while; the
    // hit sound and the tune play on without a gap all the same.
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
    QVERIFY(m_recorder->quietestWindowAfter(busyFrom, 1500) > level);
}

void GameSoundTest::musicSwitchLeavesTheHitSoundAlone()
{
    // Switching the music off does not silence a hit sound, the hit sound plays while the music
    // is off, and stopping the hit sound leaves the tune playing. The hit sound holds one level,
    // so the average of what is heard tells it apart from the music.
    m_sound->openTune();
    m_sound->playTune();
    m_sound->startHitSound(file("Boom.wav"));
    QVERIFY(waitUntilHeard() >= 0);
    m_sound->stopTune();
    const qint64 musicOffAt = m_recorder->frames() + MonitorRecorder::framesIn(SettleMs);
    QVERIFY(m_recorder->quietestWindowAfter(musicOffAt, 600) > Wav / 2);
    QVERIFY(m_recorder->meanAfter(musicOffAt, 600) > Wav / 2);

    m_sound->stopHitSound();
    m_sound->startHitSound(file("Boom.wav"));
    m_sound->playTune();
    m_sound->stopHitSound();
    const qint64 hitOffAt = m_recorder->frames() + MonitorRecorder::framesIn(SettleMs);
    QVERIFY(m_recorder->quietestWindowAfter(hitOffAt, 600) > Silence);
    QVERIFY(qAbs(m_recorder->meanAfter(hitOffAt, 600)) < Wav / 4);
}

void GameSoundTest::lastCommandDecides()
{
    // Commands posted in a burst are carried out in order: what is heard is the last one's doing.
    for (int i = 0; i < 5; ++i) {
        m_sound->startHitSound(file("Boom.wav"));
        m_sound->stopHitSound();
        m_sound->openTune();
        m_sound->playTune();
        m_sound->stopTune();
        m_sound->closeTune();
    }
    m_sound->sync();
    QCOMPARE(m_sound->tunePosition(), 0);
    const qint64 from = m_recorder->frames();
    QCOMPARE(m_recorder->peakAfter(from + MonitorRecorder::framesIn(SettleMs), 1000), 0);

    m_sound->startHitSound(file("Boom.wav"));
    m_sound->stopHitSound();
    m_sound->startHitSound(file("Boom.wav"));
    QVERIFY(waitUntilHeard() >= 0);
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
    // The game may end at any moment: destroying the sound stops a rendering in progress, joins
    // every thread, and leaves nothing playing.
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

void GameSoundTest::manyGamesWithRepeatsAndHitsEndCleanly()
{
    // Forty games' worth of sound, each with the tune playing, a burst of hits, a repeat of the
    // tune and the music switched off, destroyed while all of it may still be busy: no crash,
    // the audio thread always answers, and nothing plays on after the last one.
    m_sound.reset();
    for (int game = 0; game < 40; ++game) {
        GameSound sound;
        sound.setOutputDevice(m_sink->device());
        sound.setTuneFile(file("short.mid"));
        sound.openTune();
        sound.playTune();
        QTRY_VERIFY_WITH_TIMEOUT(sound.tunePosition() > 0, RenderTimeoutMs);
        for (int hit = 0; hit < 5; ++hit) {
            sound.startHitSound(file("Boom.wav"));
            QTest::qWait(5);
        }
        sound.closeTune();
        sound.openTune();
        sound.playTune();
        QTest::qWait(game % 5 * 60);
        sound.stopTune();
        sound.stopHitSound();
        QVERIFY(sound.sync());
        m_recorder->frames(); // keeps parec from stalling on a full pipe
    }
    const qint64 from = m_recorder->frames();
    QCOMPARE(m_recorder->peakAfter(from + MonitorRecorder::framesIn(SettleMs), 500), 0);
}

void GameSoundTest::cutShortHitSoundLeavesLaterHitsAlone()
{
    // Qt's loader waits for ever for the rest of a WAV file cut short, and then blocks every
    // effect that lets go of its sound. Such a file is refused with one warning, and the hits
    // of this game and of the next are heard, replaced and stopped as usual.
    const QByteArray whole = TestMedia::levelWav(Wav, 200);
    QVERIFY(TestMedia::write(file("half.wav"), whole.left(whole.size() / 2)));
    const SoundWarnings warnings;
    for (int game = 0; game < 2; ++game) {
        m_sound->startHitSound(file("half.wav"));
        m_sound->startHitSound(file("Boom.wav"));
        QVERIFY2(waitUntilHeard() >= 0, "the hit sound is not heard");
        QVERIFY(TestMedia::write(file("changing.wav"), TestMedia::levelWav(Wav, 250 + game)));
        m_sound->startHitSound(file("changing.wav"));
        m_sound->stopHitSound();
        QVERIFY(m_sound->sync());
        cleanup();
        init();
    }
    QCOMPARE(warnings.count("half.wav is cut short"), 2);
}
