#include "soundwarnings.h"
#include "testmedia.h"

#include "sound/gamesound.h"

#include <QTemporaryDir>
#include <QTest>

// The game on a machine without a sound server (ctest points PULSE_SERVER nowhere): every
// command is issued as usual, nothing breaks, and each cause is told once.
class NoServerTest : public QObject
{
    Q_OBJECT
private slots:
    void aWholeGameIsSilentWithOneWarningPerCause();
};

void NoServerTest::aWholeGameIsSilentWithOneWarningPerCause()
{
    // Start-up, hits, the music switch, the repeats and the end of the program: one warning for
    // the output and one naming the missing hit sound.
    QTemporaryDir dir;
    QVERIFY(TestMedia::write(dir.filePath("seasound.mid"), TestMedia::organTune(3000)));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath("cache")));
    const SoundWarnings warnings;
    {
        GameSound sound(qEnvironmentVariable("SEABATTLE_GAME_DIR") + "/seabattle-tune");
        sound.setTuneFile(dir.filePath("seasound.mid"));
        for (int repeat = 0; repeat < 3; ++repeat) {
            sound.closeTune();
            sound.openTune();
            sound.playTune();
            for (int hit = 0; hit < 3; ++hit) {
                sound.startHitSound(dir.filePath("Boom.wav"));
                sound.stopHitSound();
            }
            sound.stopTune();
            sound.playTune();
        }
        QTRY_COMPARE(warnings.count("no sound: the sound server cannot be reached ("), 1);
    }
    QCOMPARE(warnings.messages().size(), 2);
    QCOMPARE(warnings.count("no sound: the sound server cannot be reached ("), 1);
    QCOMPARE(warnings.count("Boom.wav cannot be read (no such file)"), 1);
}

QTEST_GUILESS_MAIN(NoServerTest)
#include "tst_sound_noserver.moc"
