#include "tunerenderingtest.h"

#include "testmedia.h"

#include "sound/midilength.h"
#include "sound/tunerendering.h"

#include <QFile>

#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QtEndian>

#include <cstdlib>

namespace {

constexpr qint64 BytesPerSecond = TuneRendering::SampleRate * TuneRendering::BytesPerFrame;

int peakBetween(const TuneRendering &rendering, double fromSeconds, double toSeconds)
{
    const qint64 from
        = qint64(fromSeconds * TuneRendering::SampleRate) * TuneRendering::BytesPerFrame;
    const qint64 to = qint64(toSeconds * TuneRendering::SampleRate) * TuneRendering::BytesPerFrame;
    QByteArray pcm(to - from, Qt::Uninitialized);
    pcm.resize(rendering.read(from, pcm.data(), pcm.size()));
    int peak = 0;
    for (qsizetype i = 0; i + 1 < pcm.size(); i += 2)
        peak = qMax(peak, std::abs(int(qFromLittleEndian<qint16>(pcm.constData() + i))));
    return peak;
}

} // namespace

void TuneRenderingTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_soundFont = TuneRendering::defaultSoundFont();
    if (m_soundFont.isEmpty())
        QSKIP("no General MIDI SoundFont installed (fluid-soundfont-gm)");
}

void TuneRenderingTest::rendersTheTuneIntoSound()
{
    // Two seconds of held organ chords come out as about two seconds of loud stereo audio and
    // a short reverb tail; playback may begin once, before the rendering has finished.
    TuneRendering rendering(TestMedia::organTune(2000), m_soundFont);
    QSignalSpy ready(&rendering, &TuneRendering::readyToPlay);
    QSignalSpy failed(&rendering, &TuneRendering::failed);
    rendering.start();
    QTRY_VERIFY_WITH_TIMEOUT(rendering.isFinished(), 60000);
    QVERIFY(!rendering.hasFailed());
    QVERIFY(rendering.isReadyToPlay());
    QTRY_COMPARE(ready.size(), 1);
    QCOMPARE(failed.size(), 0);

    const qint64 length = rendering.renderedBytes();
    QCOMPARE(length % TuneRendering::BytesPerFrame, 0);
    QVERIFY2(length >= 2 * BytesPerSecond && length <= 7 * BytesPerSecond,
             qPrintable(QString::number(double(length) / BytesPerSecond)));
    QVERIFY(peakBetween(rendering, 0.1, 1.9) > 2000);
    QVERIFY(peakBetween(rendering, double(length) / BytesPerSecond - 0.1, 60) < 100);
    char beyond[4];
    QCOMPARE(rendering.read(length, beyond, sizeof beyond), 0);
}

void TuneRenderingTest::endsShortlyAfterTheLastNote_data()
{
    QTest::addColumn<QByteArray>("midi");
    QTest::addColumn<qint64>("lastNoteMs");
    // FluidSynth's player reports "playing" up to the end of the track and many seconds past it.
    // An organ note for one second at 1 ms a tick, then a text event 20 s later.
    const QByteArray longRest = TestMedia::midiFile(
        0, 500,
        {QByteArray("\0\xc0\x13\0\x90\x3c\x64\x87\x68\x80\x3c\0\x81\x9c\x20\xff\1\1x", 19)});
    QTest::newRow("a long rest before the end of the track") << longRest << qint64(1000);
    QFile game(qEnvironmentVariable("SEABATTLE_SOURCE_DIR") + "/media/seasound.mid");
    if (game.open(QIODevice::ReadOnly)) {
        const QByteArray tune = game.readAll();
        QTest::newRow("the game's tune") << tune << MidiLength::lastEventMs(tune);
    }
}

void TuneRenderingTest::endsShortlyAfterTheLastNote()
{
    // The rendering holds the tune up to its last note and at most two and a half seconds of
    // reverb after it, however long the file's tracks run on: no memory for silence.
    QFETCH(QByteArray, midi);
    QFETCH(qint64, lastNoteMs);
    QVERIFY(lastNoteMs > 0);
    TuneRendering rendering(midi, m_soundFont);
    rendering.start();
    QTRY_VERIFY_WITH_TIMEOUT(rendering.isFinished(), 120000);
    QVERIFY(!rendering.hasFailed());
    const qint64 lengthMs = rendering.renderedBytes() * 1000 / BytesPerSecond;
    QVERIFY2(
        lengthMs >= lastNoteMs && lengthMs <= lastNoteMs + 2500,
        qPrintable(
            QStringLiteral("%1 ms rendered, last note at %2 ms").arg(lengthMs).arg(lastNoteMs)));
}

void TuneRenderingTest::unusableInputFailsWithAReason_data()
{
    QTest::addColumn<QByteArray>("midi");
    QTest::addColumn<QString>("soundFont");
    QTest::addColumn<QString>("reason");
    const QByteArray tune = TestMedia::organTune(1000);
    QTest::newRow("missing SoundFont") << tune << "/nonexistent/none.sf2"
                                       << "the SoundFont /nonexistent/none.sf2 could not be loaded";
    QTest::newRow("text as SoundFont") << tune << "text.sf2"
                                       << "could not be loaded";
    QTest::newRow("garbage after the header")
        << QByteArray("MThd\0\0\0\6\0\0\0\1\1\xf4MTrk\xff\xff\xff\xff garbage", 31) << ""
        << "the tune";
    QTest::newRow("no notes") << TestMedia::midi({}) << ""
                              << "holds nothing to play";
}

void TuneRenderingTest::unusableInputFailsWithAReason()
{
    // A tune that cannot be rendered fails once, with a reason, and never becomes playable.
    QFETCH(QByteArray, midi);
    QFETCH(QString, soundFont);
    QFETCH(QString, reason);
    if (soundFont == "text.sf2") {
        soundFont = m_dir.filePath(soundFont);
        QVERIFY(TestMedia::write(soundFont, "not a SoundFont at all"));
    } else if (soundFont.isEmpty()) {
        soundFont = m_soundFont;
    }
    TuneRendering rendering(midi, soundFont);
    QSignalSpy ready(&rendering, &TuneRendering::readyToPlay);
    QSignalSpy failed(&rendering, &TuneRendering::failed);
    rendering.start();
    QTRY_VERIFY_WITH_TIMEOUT(rendering.isFinished(), 60000);
    QVERIFY(rendering.hasFailed());
    QVERIFY(!rendering.isReadyToPlay());
    QTRY_COMPARE(failed.size(), 1);
    QVERIFY2(failed.first().first().toString().contains(reason),
             qPrintable(failed.first().first().toString()));
    QCOMPARE(ready.size(), 0);
}

void TuneRenderingTest::destroyingWhileRenderingIsSafe_data()
{
    QTest::addColumn<int>("afterMs");
    QTest::newRow("at once") << 0;
    QTest::newRow("while loading the SoundFont") << 5;
    QTest::newRow("while rendering") << 150;
}

void TuneRenderingTest::destroyingWhileRenderingIsSafe()
{
    // The game may end while a long tune is still being rendered: the rendering stops and its
    // thread is joined, with no access to freed memory (run under the sanitizers to be sure).
    QFETCH(int, afterMs);
    auto rendering = std::make_unique<TuneRendering>(TestMedia::busyTune(120), m_soundFont);
    rendering->start();
    QThread::msleep(afterMs);
    rendering.reset();
    QVERIFY(!rendering);
}
