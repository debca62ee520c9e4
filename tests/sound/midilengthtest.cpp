#include "midilengthtest.h"

#include "testmedia.h"

#include "sound/midilength.h"

#include <QTest>

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(char(value));
    return result;
}

// A tempo event, in microseconds a quarter note, after a delta time already encoded.
QByteArray tempo(const QByteArray &delta, int microseconds)
{
    return delta
        + bytes({0xff, 0x51, 3, microseconds >> 16, (microseconds >> 8) & 0xff,
                 microseconds & 0xff});
}

} // namespace

void MidiLengthTest::lastEventFollowsTheTempoMap_data()
{
    QTest::addColumn<QByteArray>("midi");
    QTest::addColumn<qint64>("lastEventMs");
    // At 500 ticks a quarter note and 120 beats a minute one tick is one millisecond.
    QTest::newRow("one note") << TestMedia::midi({{200, 1300, 60}}) << qint64(1500);
    QTest::newRow("no notes") << TestMedia::midi({}) << qint64(0);
    QTest::newRow("a long rest before the end of the track")
        << TestMedia::midiFile(0, 500,
                               {bytes({0, 0x90, 60, 100, 0x87, 0x68, 0x80, 60, 0})
                                + bytes({0x81, 0x9c, 0x20, 0xff, 0x01, 1, 'x'})})
        << qint64(1000);
    QTest::newRow("the tempo doubles after one beat") << TestMedia::midiFile(
        0, 500,
        {tempo(bytes({0}), 500000) + bytes({0, 0x90, 60, 100}) + tempo(bytes({0x83, 0x74}), 250000)
         + bytes({0x83, 0x74, 0x80, 60, 0})}) << qint64(750);
    QTest::newRow("a tempo track governs the note tracks")
        << TestMedia::midiFile(1, 500,
                               {tempo(bytes({0}), 1000000),
                                bytes({0, 0xc0, 19, 0, 0x90, 60, 100, 0x87, 0x68, 0x80, 60, 0}),
                                bytes({0x8f, 0x50, 0x90, 64, 100, 0x87, 0x68, 0x80, 64, 0})})
        << qint64(6000);
    QTest::newRow("running status")
        << TestMedia::midiFile(0, 500, {bytes({0, 0x90, 60, 100, 0x87, 0x68, 60, 0})})
        << qint64(1000);
    QTest::newRow("SMPTE time, 25 frames of 40 ticks") << TestMedia::midiFile(
        0, quint16(0xe728), {bytes({0, 0x90, 60, 100, 0x8f, 0x50, 0x80, 60, 0})})
                                                       << qint64(2000);
    const QByteArray whole = TestMedia::midi({{0, 1000, 60}});
    QTest::newRow("a track cut short") << whole.left(whole.size() - 6) << qint64(-1);
    QTest::newRow("an event without status")
        << TestMedia::midiFile(0, 500, {bytes({0, 60, 100})}) << qint64(-1);
    QTest::newRow("not MIDI") << QByteArray("MThd but nothing more") << qint64(-1);
}

void MidiLengthTest::lastEventFollowsTheTempoMap()
{
    // The last note's time adds up every tempo change before it, wherever the tempo is set;
    // meta events after it do not count; a file that cannot be read is unknown (-1).
    QFETCH(QByteArray, midi);
    QFETCH(qint64, lastEventMs);
    QCOMPARE(MidiLength::lastEventMs(midi), lastEventMs);
}
