#include "gamesoundtest.h"
#include "hitsoundtest.h"
#include "midilengthtest.h"
#include "tuneplayertest.h"
#include "tunerenderingtest.h"
#include "wavchecktest.h"

#include <QCoreApplication>
#include <QTest>

namespace {

// "tst_sound HitSoundTest -v2" runs one class with the usual QtTest options.
template<typename Test> int run(const char *name, QStringList arguments)
{
    if (arguments.size() > 1 && !arguments.at(1).startsWith('-')) {
        if (arguments.at(1) != QLatin1String(name))
            return 0;
        arguments.removeAt(1);
    }
    Test test;
    return QTest::qExec(&test, arguments);
}

} // namespace

// One executable for the sound: each part has its own test class, all run in turn.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    int failures = 0;
    failures += run<WavCheckTest>("WavCheckTest", arguments);
    failures += run<MidiLengthTest>("MidiLengthTest", arguments);
    failures += run<TuneRenderingTest>("TuneRenderingTest", arguments);
    failures += run<TunePlayerTest>("TunePlayerTest", arguments);
    failures += run<HitSoundTest>("HitSoundTest", arguments);
    failures += run<GameSoundTest>("GameSoundTest", arguments);
    return failures;
}
