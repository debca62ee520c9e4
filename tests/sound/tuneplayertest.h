#pragma once

#include <QObject>
#include <QTemporaryDir>

#include <memory>

class MonitorRecorder;
class PrivateSink;
class TunePlayer;

// The real tune player with its four commands, heard at the monitor of a null sink.
class TunePlayerTest : public QObject
{
    Q_OBJECT
public:
    TunePlayerTest();
    ~TunePlayerTest() override;

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void positionHoldsOnStopAndContinuesOnPlay();
    void closeThenOpenStartsAtTheBeginning();
    void soundFollowsPlayStopAndPlay();
    void stopPlayContinuesWhereCloseOpenRestarts();
    void fileIsReadAgainAtEachOpen();
    void tuneEndsInSilenceUntilOpenedAgain();
    void commandsOfAPlayerThatCouldNotOpenDoNothing_data();
    void commandsOfAPlayerThatCouldNotOpenDoNothing();
    void unplayableTuneWarnsOnceAcrossRepeats();

private:
    QString file(const QString &name) const { return m_dir.filePath(name); }
    void openAndPlay(const QString &name);
    qint64 mark();

    QTemporaryDir m_dir;
    std::unique_ptr<PrivateSink> m_sink;
    std::unique_ptr<MonitorRecorder> m_recorder;
    std::unique_ptr<TunePlayer> m_player;
};
