#include "wavchecktest.h"

#include "testmedia.h"

#include "sound/wavcheck.h"

#include <QTest>
#include <QtEndian>

namespace {

QByteArray withFormatField(QByteArray wav, int offset, quint16 value)
{
    qToLittleEndian<quint16>(value, wav.data() + 20 + offset);
    return wav;
}

} // namespace

void WavCheckTest::tellsWhatIsWrong_data()
{
    QTest::addColumn<QByteArray>("wav");
    QTest::addColumn<QString>("problem");
    const QByteArray good = TestMedia::levelWav(8000, 100);
    QTest::newRow("16-bit mono") << good << "";
    QTest::newRow("8-bit stereo") << TestMedia::levelWav(8000, 100, 2, 8) << "";
    QTest::newRow("a LIST chunk of odd length before the sound")
        << TestMedia::levelWav(8000, 100, 1, 16, "LISTINFOabc") << "";
    QTest::newRow("cut in half") << good.left(good.size() / 2) << "is cut short";
    QTest::newRow("cut inside the format chunk") << good.left(30) << "is cut short";
    QTest::newRow("cut after the format") << good.left(36) << "holds no sound";
    QTest::newRow("an empty sound") << TestMedia::levelWav(8000, 0) << "holds no sound";
    QTest::newRow("sound data before the format")
        << QByteArray("RIFF\x10\0\0\0WAVEdata\x02\0\0\0\0\0", 20) + good.mid(12, 24)
        << "is damaged (sound data before its format)";
    QTest::newRow("floating point") << withFormatField(good, 0, 3) << "cannot be played";
    QTest::newRow("24 bits") << withFormatField(good, 14, 24) << "cannot be played";
    QTest::newRow("no channels") << withFormatField(good, 2, 0) << "cannot be played";
    QTest::newRow("empty") << QByteArray() << "is not a WAV file";
    QTest::newRow("text") << QByteArray("just some text, not a sound") << "is not a WAV file";
    QTest::newRow("RIFF but not WAVE") << QByteArray("RIFF\4\0\0\0AVI ", 12) << "is not a WAV file";
}

void WavCheckTest::tellsWhatIsWrong()
{
    // A file passes only when every chunk up to the sound is complete and the sound is 8- or
    // 16-bit PCM; anything else is named by what is wrong with it.
    QFETCH(QByteArray, wav);
    QFETCH(QString, problem);
    const QString found = WavCheck::problem(wav);
    if (problem.isEmpty())
        QCOMPARE(found, QString());
    else
        QVERIFY2(found.contains(problem), qPrintable(found));
}
