#include "gamesoundtest.h"

#include <QCoreApplication>
#include <QTest>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    GameSoundTest test;
    return QTest::qExec(&test, argc, argv);
}
