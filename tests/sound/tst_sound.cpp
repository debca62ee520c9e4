#include "hitsoundtest.h"

#include <QCoreApplication>
#include <QTest>

// One executable for the sound: each part has its own test class, all run in turn.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int failures = 0;
    {
        HitSoundTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    return failures;
}
