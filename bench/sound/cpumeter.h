#pragma once

#include <QElapsedTimer>

#include <sys/resource.h>

// The process's CPU time (all threads) and voluntary context switches against the wall clock,
// from its start to now.
class CpuMeter
{
public:
    CpuMeter();
    void restart();
    // Percent of one core.
    double percentOfCore() const;
    // Voluntary context switches a second: how often some thread of the process wakes up.
    double wakeupsPerSecond() const;
    double cpuMs() const;
    double wallMs() const;

private:
    static rusage now();

    rusage m_start {};
    QElapsedTimer m_wall;
};
