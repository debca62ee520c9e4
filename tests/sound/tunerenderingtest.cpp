#include "tunerenderingtest.h"

#include "testmedia.h"

#include "sound/tunerendering.h"

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
