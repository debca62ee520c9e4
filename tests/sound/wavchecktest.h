#pragma once

#include <QObject>

// Which WAV files may reach Qt's sound loader, which waits for ever on some broken ones.
class WavCheckTest : public QObject
{
    Q_OBJECT
private slots:
    void tellsWhatIsWrong_data();
    void tellsWhatIsWrong();
};
