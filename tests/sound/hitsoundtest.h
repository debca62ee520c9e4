#pragma once

#include <QObject>
#include <QTemporaryDir>

#include <memory>

class HitSound;
class MonitorRecorder;
class PrivateSink;

// The real hit sound, heard at the monitor of a null sink.
class HitSoundTest : public QObject
{
    Q_OBJECT
public:
    HitSoundTest();
    ~HitSoundTest() override;

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void loopsUntilStoppedThenFallsSilent();
    void stopWhenNothingPlaysDoesNothing();
    void startWhilePlayingReplacesTheSound();
    void replacedFileIsHeardAtTheNextStart();
    void everyAcceptedLayoutIsHeard_data();
    void everyAcceptedLayoutIsHeard();
    void unusableFileWarnsOnceAndStaysSilent_data();
    void unusableFileWarnsOnceAndStaysSilent();

private:
    QString wav(const QString &name) const;

    QTemporaryDir m_dir;
    std::unique_ptr<PrivateSink> m_sink;
    std::unique_ptr<MonitorRecorder> m_recorder;
    std::unique_ptr<HitSound> m_hit;
};
