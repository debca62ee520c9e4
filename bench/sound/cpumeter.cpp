#include "cpumeter.h"

namespace {
double ms(const timeval &time)
{
    return time.tv_sec * 1e3 + time.tv_usec / 1e3;
}
} // namespace

CpuMeter::CpuMeter()
{
    restart();
}

void CpuMeter::restart()
{
    m_start = now();
    m_wall.start();
}

rusage CpuMeter::now()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage;
}

double CpuMeter::cpuMs() const
{
    const rusage end = now();
    return ms(end.ru_utime) + ms(end.ru_stime) - ms(m_start.ru_utime) - ms(m_start.ru_stime);
}

double CpuMeter::wallMs() const
{
    return m_wall.nsecsElapsed() / 1e6;
}

double CpuMeter::percentOfCore() const
{
    return 100.0 * cpuMs() / wallMs();
}

double CpuMeter::wakeupsPerSecond() const
{
    return (now().ru_nvcsw - m_start.ru_nvcsw) * 1000.0 / wallMs();
}
