#pragma once

#include <QObject>

// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, a closed terminal) end the program
// the ordinary way, through the event loop, so whatever a normal quit does still
// happens. The handler itself only writes a byte to a pipe.
class QuitSignals : public QObject
{
    Q_OBJECT
public:
    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;

    // Whether a signal came: one that arrives while a modal box of the start-up is open
    // ends that box only, so the start-up asks before it goes on.
    bool received() const { return m_received; }

private:
    void readSignal();

    bool m_received = false;
};
