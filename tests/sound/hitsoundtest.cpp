#include "hitsoundtest.h"

#include "monitorrecorder.h"
#include "privatesink.h"
#include "soundlevels.h"
#include "soundwarnings.h"
#include "testmedia.h"

#include "sound/hitsound.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace SoundLevels;

HitSoundTest::HitSoundTest() = default;
HitSoundTest::~HitSoundTest() = default;

QString HitSoundTest::wav(const QString &name) const
{
    return m_dir.filePath(name);
}

void HitSoundTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(TestMedia::write(wav("boom.wav"), TestMedia::levelWav(Wav, 200)));
    const QString unheard = listenOnPrivateSink(m_sink, m_recorder);
    if (!unheard.isEmpty())
        QSKIP(qPrintable(unheard));
}

void HitSoundTest::init()
{
    m_hit = std::make_unique<HitSound>();
    m_hit->setOutputDevice(m_sink->device());
}

void HitSoundTest::cleanup()
{
    m_hit.reset();
    m_recorder->waitFor(m_recorder->frames() + MonitorRecorder::framesIn(SettleMs));
}

void HitSoundTest::cleanupTestCase()
{
    m_recorder.reset();
    m_sink.reset();
}

void HitSoundTest::loopsUntilStoppedThenFallsSilent()
{
    // The sound repeats without a gap for five times the file's length, until it is stopped;
    // a stop silences it within the server's latency.
    const qint64 startAt = m_recorder->frames();
    m_hit->start(wav("boom.wav"));
    QVERIFY(m_hit->isPlaying());
    const qint64 onset = m_recorder->firstLouderAfter(startAt, Silence, 2000);
    QVERIFY2(onset >= 0, "the hit sound is not heard");
    QVERIFY(m_recorder->quietestWindowAfter(onset + MonitorRecorder::framesIn(40), 1000) > Wav / 2);

    const qint64 stopAt = m_recorder->frames();
    m_hit->stop();
    QVERIFY(!m_hit->isPlaying());
    QCOMPARE(m_recorder->peakAfter(stopAt + MonitorRecorder::framesIn(SettleMs), 1000), 0);
}

void HitSoundTest::stopWhenNothingPlaysDoesNothing()
{
    // Stopping a silent hit sound, once or twice, neither plays anything nor warns.
    const SoundWarnings warnings;
    const qint64 from = m_recorder->frames();
    m_hit->stop();
    m_hit->start(wav("boom.wav"));
    m_hit->stop();
    m_hit->stop();
    QVERIFY(!m_hit->isPlaying());
    QCOMPARE(m_recorder->peakAfter(from + MonitorRecorder::framesIn(SettleMs), 1000), 0);
    QCOMPARE(warnings.messages(), QStringList());
}

void HitSoundTest::startWhilePlayingReplacesTheSound()
{
    // A second start while the sound loops replaces it: the level stays that of one sound,
    // where two sounds on top of each other would double it.
    const qint64 startAt = m_recorder->frames();
    m_hit->start(wav("boom.wav"));
    const qint64 onset = m_recorder->firstLouderAfter(startAt, Silence, 2000);
    QVERIFY(onset >= 0);
    const int single = m_recorder->quietestWindowAfter(onset + MonitorRecorder::framesIn(40), 300);

    const qint64 againAt = m_recorder->frames();
    m_hit->start(wav("boom.wav"));
    m_hit->start(wav("boom.wav"));
    const qint64 steady = againAt + MonitorRecorder::framesIn(SettleMs);
    const int level = m_recorder->peakAfter(steady, 600);
    QVERIFY2(level < single * 3 / 2,
             qPrintable(QStringLiteral("one sound %1, after restarts %2").arg(single).arg(level)));
    QVERIFY(m_recorder->quietestWindowAfter(steady, 600) > single / 2);
}

void HitSoundTest::replacedFileIsHeardAtTheNextStart()
{
    // The file is read at each start: after it is replaced, the next hit plays the new sound.
    const QString path = wav("changing.wav");
    QVERIFY(TestMedia::write(path, TestMedia::levelWav(Wav, 200)));
    m_hit->start(path);
    const qint64 firstAt = m_recorder->frames();
    const int first = m_recorder->peakAfter(firstAt + MonitorRecorder::framesIn(SettleMs), 300);
    m_hit->stop();

    QVERIFY(TestMedia::write(path, TestMedia::levelWav(Wav / 4, 300)));
    m_hit->start(path);
    const qint64 secondAt = m_recorder->frames();
    const int second = m_recorder->peakAfter(secondAt + MonitorRecorder::framesIn(SettleMs), 300);
    QVERIFY2(first > Wav / 2 && second > Wav / 8 && second < Wav / 2,
             qPrintable(QStringLiteral("levels %1 then %2").arg(first).arg(second)));
}

void HitSoundTest::everyAcceptedLayoutIsHeard_data()
{
    QTest::addColumn<QByteArray>("wav");
    QTest::newRow("8-bit stereo") << TestMedia::levelWav(Wav, 200, 2, 8);
    QTest::newRow("a LIST chunk before the sound")
        << TestMedia::levelWav(Wav, 200, 1, 16, "LISTINFOabcd");
}

void HitSoundTest::everyAcceptedLayoutIsHeard()
{
    // What the file check lets through, Qt's loader plays: the sound loops at its level.
    QFETCH(QByteArray, wav);
    QVERIFY(TestMedia::write(this->wav("layout.wav"), wav));
    const qint64 startAt = m_recorder->frames();
    m_hit->start(this->wav("layout.wav"));
    const qint64 onset = m_recorder->firstLouderAfter(startAt, Silence, 2000);
    QVERIFY2(onset >= 0, "the hit sound is not heard");
    QVERIFY(m_recorder->quietestWindowAfter(onset + MonitorRecorder::framesIn(40), 500) > Wav / 2);
}

void HitSoundTest::unusableFileWarnsOnceAndStaysSilent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "absent.wav" << QByteArray() << "is missing";
    QTest::newRow("not a WAV") << "text.wav" << QByteArray("just some text, not a sound")
                               << "is not a WAV file";
    QTest::newRow("empty") << "empty.wav" << QByteArray("") << "is not a WAV file";
    QTest::newRow("a folder") << "folder.wav" << QByteArray() << "cannot be read";
    const QByteArray whole = TestMedia::levelWav(Wav, 200);
    QTest::newRow("cut short") << "half.wav" << whole.left(whole.size() / 2) << "is cut short";
}

void HitSoundTest::unusableFileWarnsOnceAndStaysSilent()
{
    // A file that cannot be played is named in one warning however often it is started, the
    // sound stays silent, and a sound still playing is stopped as by any new start.
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    const QString path = wav(name);
    if (name == "folder.wav")
        QVERIFY(QDir(m_dir.path()).mkpath(name));
    else if (name != "absent.wav")
        QVERIFY(TestMedia::write(path, content));

    m_hit->start(wav("boom.wav"));
    const SoundWarnings warnings;
    const qint64 from = m_recorder->frames();
    for (int i = 0; i < 3; ++i)
        m_hit->start(path);
    QVERIFY(!m_hit->isPlaying());
    QCOMPARE(m_recorder->peakAfter(from + MonitorRecorder::framesIn(SettleMs), 500), 0);
    QCOMPARE(warnings.messages().size(), 1);
    QCOMPARE(warnings.count(path + " " + reason), 1);
}
