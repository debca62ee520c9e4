#include "soundwarnings.h"
#include "testmedia.h"

#include "sound/gamesound.h"
#include "sound/hitsound.h"
#include "sound/tuneplayer.h"
#include "sound/tunerendering.h"

#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTest>

// The game on a machine without a sound server (ctest points PULSE_SERVER nowhere): every
// command is issued as usual, nothing breaks, and each missing piece is told once.
class NoServerTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void hitSoundWarnsOnceAndDoesNothing();
    void tuneWarnsOnceAndDoesNothing();
    void gameSoundGoesThroughAGameAndEnds();

private:
    QTemporaryDir m_dir;
};

void NoServerTest::initTestCase()
{
    if (!QMediaDevices::audioOutputs().isEmpty())
        QSKIP("a sound server answers: run with PULSE_SERVER pointing nowhere");
    QVERIFY(m_dir.isValid());
    QVERIFY(TestMedia::write(m_dir.filePath("Boom.wav"), TestMedia::levelWav(8000, 200)));
    QVERIFY(TestMedia::write(m_dir.filePath("seasound.mid"), TestMedia::organTune(3000)));
}

void NoServerTest::hitSoundWarnsOnceAndDoesNothing()
{
    // QSoundEffect would claim to play; the hit sound knows better and says so once.
    const SoundWarnings warnings;
    HitSound hit;
    for (int i = 0; i < 3; ++i) {
        hit.start(m_dir.filePath("Boom.wav"));
        QVERIFY(!hit.isPlaying());
        hit.stop();
    }
    QCOMPARE(warnings.messages(), QStringList {"no audio output: the hit sound is not heard"});
}

void NoServerTest::tuneWarnsOnceAndDoesNothing()
{
    // The tune opens and renders, and "Play" finds no output: one warning across repeats.
    if (TuneRendering::defaultSoundFont().isEmpty())
        QSKIP("no General MIDI SoundFont installed");
    const SoundWarnings warnings;
    TunePlayer player;
    player.setFile(m_dir.filePath("seasound.mid"));
    for (int repeat = 0; repeat < 3; ++repeat) {
        player.close();
        player.open();
        player.play();
        QTRY_COMPARE_WITH_TIMEOUT(warnings.messages().size(), 1, 60000);
        player.stop();
        player.play();
        QCOMPARE(player.position(), 0);
    }
    QCOMPARE(warnings.count("no audio output: the tune"), 1);
}

void NoServerTest::gameSoundGoesThroughAGameAndEnds()
{
    // Start-up, hits, the music switch, the repeat and the end of the program, all silent.
    GameSound sound;
    sound.setTuneFile(m_dir.filePath("seasound.mid"));
    sound.openTune();
    sound.playTune();
    for (int hit = 0; hit < 5; ++hit) {
        sound.startHitSound(m_dir.filePath("Boom.wav"));
        sound.stopHitSound();
    }
    sound.stopTune();
    sound.playTune();
    sound.closeTune();
    sound.openTune();
    sound.playTune();
    sound.sync();
    QCOMPARE(sound.tunePosition(), 0);
}

QTEST_GUILESS_MAIN(NoServerTest)
#include "tst_sound_noserver.moc"
