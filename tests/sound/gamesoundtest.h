#pragma once

#include <QObject>
#include <QTemporaryDir>

#include <memory>

class GameSound;
class MonitorRecorder;
class PrivateSink;

// The game's sound as the window uses it, heard at the monitor of a null sink of its own.
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
    void tuneCommandsKeepTheirPlace_data();
    void tuneCommandsKeepTheirPlace();
    void musicSwitchLeavesTheHitSoundAlone();
    void everyMediaFileIsPlayedOrToldOnce_data();
    void everyMediaFileIsPlayedOrToldOnce();
    void destroyingAtAnyMomentIsClean_data();
    void destroyingAtAnyMomentIsClean();
    void rendererTroubleLeavesTheGameSilentWithOneWarning_data();
    void rendererTroubleLeavesTheGameSilentWithOneWarning();

private:
    QString file(const QString &name) const { return m_dir.filePath(name); }
    qint64 waitUntilHeard();
    // How long the sound begun at or after `from` lasts, in ms (-1: none is heard).
    int heardMs(qint64 from, qint64 to);
    int heardUntilQuietMs(qint64 from);

    QTemporaryDir m_dir;
    std::unique_ptr<PrivateSink> m_sink;
    std::unique_ptr<MonitorRecorder> m_recorder;
    std::unique_ptr<GameSound> m_sound;
};
