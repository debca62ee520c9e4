#include "tuneplayertest.h"

#include "monitorrecorder.h"
#include "privatesink.h"
#include "soundlevels.h"
#include "soundwarnings.h"
#include "testmedia.h"

#include "sound/tuneplayer.h"
#include "sound/tunerendering.h"

#include <QTest>

using namespace SoundLevels;

namespace {

constexpr int RenderTimeoutMs = 60000;

// One chord, then a long rest, then one note: where the tune stands is heard as sound or silence.
QByteArray chordRestNote()
{
    return TestMedia::midi({{0, 500, 60}, {0, 500, 64}, {0, 500, 67}, {6000, 1000, 60}});
}

} // namespace

TunePlayerTest::TunePlayerTest() = default;
TunePlayerTest::~TunePlayerTest() = default;

void TunePlayerTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (TuneRendering::defaultSoundFont().isEmpty())
        QSKIP("no General MIDI SoundFont installed (fluid-soundfont-gm)");
    QVERIFY(TestMedia::write(file("organ.mid"), TestMedia::organTune(8000)));
    QVERIFY(TestMedia::write(file("short.mid"), TestMedia::organTune(1000)));
    QVERIFY(TestMedia::write(file("gap.mid"), chordRestNote()));
    const QString unheard = listenOnPrivateSink(m_sink, m_recorder);
    if (!unheard.isEmpty())
        QSKIP(qPrintable(unheard));
}

void TunePlayerTest::init()
{
    m_player = std::make_unique<TunePlayer>();
    m_player->setOutputDevice(m_sink->device());
}

void TunePlayerTest::cleanup()
{
    m_player.reset();
    m_recorder->waitFor(mark() + MonitorRecorder::framesIn(SettleMs));
}

void TunePlayerTest::cleanupTestCase()
{
    m_recorder.reset();
    m_sink.reset();
}

void TunePlayerTest::openAndPlay(const QString &name)
{
    m_player->setFile(file(name));
    m_player->open();
    QVERIFY(m_player->isOpen());
    m_player->play();
}

qint64 TunePlayerTest::mark()
{
    return m_recorder->frames();
}

void TunePlayerTest::positionHoldsOnStopAndContinuesOnPlay()
{
    // "Stop" keeps the position however long the pause; "Play" goes on from there.
    m_player->setFile(file("organ.mid"));
    m_player->open();
    QCOMPARE(m_player->position(), 0);
    m_player->play();
    QTRY_VERIFY_WITH_TIMEOUT(m_player->position() >= 800, RenderTimeoutMs);

    m_player->stop();
    QVERIFY(!m_player->isPlaying());
    const qint64 held = m_player->position();
    QTest::qWait(500);
    QCOMPARE(m_player->position(), held);
    m_player->play();
    QVERIFY(m_player->isPlaying());
    QVERIFY2(
        qAbs(m_player->position() - held) <= 50,
        qPrintable(QStringLiteral("held %1, resumed at %2").arg(held).arg(m_player->position())));
    QTRY_VERIFY(m_player->position() >= held + 300);
}

void TunePlayerTest::closeThenOpenStartsAtTheBeginning()
{
    // "Close" forgets the position and silences the player: "Play" needs an "Open" again,
    // which starts at the beginning.
    openAndPlay("organ.mid");
    QTRY_VERIFY_WITH_TIMEOUT(m_player->position() >= 800, RenderTimeoutMs);
    const qint64 reached = m_player->position();
    m_player->close();
    QVERIFY(!m_player->isOpen());
    QCOMPARE(m_player->position(), 0);
    m_player->play();
    QVERIFY(!m_player->isPlaying());

    m_player->open();
    QCOMPARE(m_player->position(), 0);
    m_player->play();
    QTRY_VERIFY(m_player->position() > 0);
    QVERIFY(m_player->position() < reached);
}

void TunePlayerTest::soundFollowsPlayStopAndPlay()
{
    // The tune is heard while playing, falls silent at "Stop" and is heard again at "Play".
    const qint64 startAt = mark();
    openAndPlay("organ.mid");
    const qint64 onset = m_recorder->firstLouderAfter(startAt, Silence, RenderTimeoutMs);
    QVERIFY2(onset >= 0, "the tune is not heard");
    QVERIFY(m_recorder->quietestWindowAfter(onset + MonitorRecorder::framesIn(100), 800) > Silence);

    const qint64 stopAt = mark();
    m_player->stop();
    QCOMPARE(m_recorder->peakAfter(stopAt + MonitorRecorder::framesIn(SettleMs), 1000), 0);

    const qint64 playAt = mark();
    m_player->play();
    QVERIFY(m_recorder->quietestWindowAfter(playAt + MonitorRecorder::framesIn(SettleMs), 800)
            > Silence);
}

void TunePlayerTest::stopPlayContinuesWhereCloseOpenRestarts()
{
    // In the rest after the opening chord, "Stop" then "Play" goes on in silence, where a restart
    // would sound the chord again; "Close", "Open", "Play" does sound it again.
    const qint64 startAt = mark();
    openAndPlay("gap.mid");
    QVERIFY2(m_recorder->firstLouderAfter(startAt, Silence, RenderTimeoutMs) >= 0,
             "the opening chord is not heard");
    QTRY_VERIFY_WITH_TIMEOUT(m_player->position() >= 3000, 10000);

    m_player->stop();
    m_player->play();
    const qint64 resumedAt = mark();
    QCOMPARE(m_recorder->peakAfter(resumedAt + MonitorRecorder::framesIn(SettleMs), 1500), 0);

    m_player->close();
    m_player->open();
    m_player->play();
    const qint64 reopenedAt = mark();
    QVERIFY(m_recorder->peakAfter(reopenedAt + MonitorRecorder::framesIn(SettleMs), 300) > 1000);
}

void TunePlayerTest::fileIsReadAgainAtEachOpen()
{
    // A tune replaced between two repeats is the one heard after the next "Open".
    QVERIFY(TestMedia::write(file("changing.mid"), TestMedia::organTune(4000)));
    openAndPlay("changing.mid");
    QVERIFY(m_recorder->firstLouderAfter(mark(), Silence, RenderTimeoutMs) >= 0);

    QVERIFY(TestMedia::write(file("changing.mid"), TestMedia::midi({{3000, 1000, 60}})));
    m_player->close();
    m_player->open();
    m_player->play();
    const qint64 reopenedAt = mark();
    QCOMPARE(m_recorder->peakAfter(reopenedAt + MonitorRecorder::framesIn(SettleMs), 1500), 0);
}

void TunePlayerTest::tuneEndsInSilenceUntilOpenedAgain()
{
    // Past its end the tune stays silent, also through "Stop" and "Play", until it is opened again.
    openAndPlay("short.mid");
    const qint64 onset = m_recorder->firstLouderAfter(mark(), Silence, RenderTimeoutMs);
    QVERIFY(onset >= 0);
    QVERIFY(m_recorder->waitFor(onset + MonitorRecorder::framesIn(5000)));
    const qint64 endedAt = mark();
    m_player->stop();
    m_player->play();
    QCOMPARE(m_recorder->peakAfter(endedAt, 1000), 0);

    m_player->close();
    m_player->open();
    m_player->play();
    QVERIFY(m_recorder->firstLouderAfter(mark(), Silence, 3000) >= 0);
}

void TunePlayerTest::commandsOfAPlayerThatCouldNotOpenDoNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("soundFont");
    QTest::addColumn<QString>("warning");
    QTest::newRow("no file set") << ""
                                 << ""
                                 << "no tune file is set";
    QTest::newRow("missing file") << "absent.mid"
                                  << ""
                                  << "absent.mid is missing";
    QTest::newRow("not a MIDI file") << "text.mid"
                                     << ""
                                     << "text.mid is not a MIDI file";
    QTest::newRow("a folder") << "folder.mid"
                              << ""
                              << "folder.mid cannot be read";
    QTest::newRow("missing SoundFont") << "organ.mid"
                                       << "/nonexistent/none.sf2"
                                       << "the SoundFont /nonexistent/none.sf2 is missing";
}

void TunePlayerTest::commandsOfAPlayerThatCouldNotOpenDoNothing()
{
    // The game checks no result: every command goes on being issued, every 52 seconds, and
    // nothing is heard, nothing breaks, and the trouble is told once.
    QFETCH(QString, name);
    QFETCH(QString, soundFont);
    QFETCH(QString, warning);
    QVERIFY(TestMedia::write(file("text.mid"), "not a tune"));
    QVERIFY(QDir(m_dir.path()).mkpath("folder.mid"));
    const SoundWarnings warnings;
    m_player->setSoundFont(soundFont);
    if (!name.isEmpty())
        m_player->setFile(file(name));
    const qint64 from = mark();
    for (int repeat = 0; repeat < 3; ++repeat) {
        m_player->open();
        m_player->play();
        m_player->stop();
        m_player->play();
        QVERIFY(!m_player->isOpen());
        QVERIFY(!m_player->isPlaying());
        QCOMPARE(m_player->position(), 0);
        m_player->close();
    }
    QCOMPARE(m_recorder->peakAfter(from, 1000), 0);
    QCOMPARE(warnings.messages().size(), 1);
    QCOMPARE(warnings.count(warning), 1);
}

void TunePlayerTest::unplayableTuneWarnsOnceAcrossRepeats()
{
    // A MIDI file that FluidSynth cannot make anything of opens, stays silent and is told once,
    // however often it is reopened: unchanged bytes are not rendered again.
    QVERIFY(TestMedia::write(file("notes-less.mid"), TestMedia::midi({})));
    const SoundWarnings warnings;
    m_player->setFile(file("notes-less.mid"));
    const qint64 from = mark();
    for (int repeat = 0; repeat < 3; ++repeat) {
        m_player->close();
        m_player->open();
        m_player->play();
        QTRY_COMPARE_WITH_TIMEOUT(warnings.messages().size(), 1, RenderTimeoutMs);
    }
    QCOMPARE(m_recorder->peakAfter(from, 1000), 0);
    QVERIFY(warnings.count("notes-less.mid stays silent: the tune holds nothing to play") == 1);
}
