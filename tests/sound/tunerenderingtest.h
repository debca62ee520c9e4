#pragma once

#include <QObject>
#include <QTemporaryDir>

// FluidSynth's rendering of a tune into PCM, without any sound server.
class TuneRenderingTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void rendersTheTuneIntoSound();
    void endsShortlyAfterTheLastNote_data();
    void endsShortlyAfterTheLastNote();
    void unusableInputFailsWithAReason_data();
    void unusableInputFailsWithAReason();
    void destroyingWhileRenderingIsSafe_data();
    void destroyingWhileRenderingIsSafe();

private:
    QTemporaryDir m_dir;
    QString m_soundFont;
};
