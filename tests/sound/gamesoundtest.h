#pragma once

#include <QObject>
#include <QTemporaryDir>

#include <memory>

class GameSound;
class MonitorRecorder;
class PrivateSink;

// The game's sound as the window sees it: the SoundService commands, carried out on the audio
// thread, heard at the monitor of a null sink.
class GameSoundTest : public QObject
{
    Q_OBJECT
public:
    GameSoundTest();
    ~GameSoundTest() override;

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void soundGoesOnWhileTheWindowIsBusy_data();
    void soundGoesOnWhileTheWindowIsBusy();
    void musicSwitchLeavesTheHitSoundAlone();
    void lastCommandDecides();
    void destroyingAtAnyMomentIsClean_data();
    void destroyingAtAnyMomentIsClean();
    void manyGamesWithRepeatsAndHitsEndCleanly();
    void cutShortHitSoundLeavesLaterHitsAlone();

private:
    QString file(const QString &name) const { return m_dir.filePath(name); }
    qint64 waitUntilHeard();

    QTemporaryDir m_dir;
    std::unique_ptr<PrivateSink> m_sink;
    std::unique_ptr<MonitorRecorder> m_recorder;
    std::unique_ptr<GameSound> m_sound;
};
