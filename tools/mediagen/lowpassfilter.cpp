#include "lowpassfilter.h"

#include <cmath>

LowPassFilter::LowPassFilter(double sampleRate, double cutoff, double q)
    : m_sampleRate(sampleRate), m_q(q)
{
    setCutoff(cutoff);
}

void LowPassFilter::setCutoff(double cutoff)
{
    const double omega = 2.0 * M_PI * cutoff / m_sampleRate;
    const double alpha = std::sin(omega) / (2.0 * m_q);
    const double cosine = std::cos(omega);
    const double a0 = 1.0 + alpha;
    m_b0 = (1.0 - cosine) / 2.0 / a0;
    m_b1 = (1.0 - cosine) / a0;
    m_b2 = m_b0;
    m_a1 = -2.0 * cosine / a0;
    m_a2 = (1.0 - alpha) / a0;
}

double LowPassFilter::process(double input)
{
    const double output = m_b0 * input + m_b1 * m_x1 + m_b2 * m_x2 - m_a1 * m_y1 - m_a2 * m_y2;
    m_x2 = m_x1;
    m_x1 = input;
    m_y2 = m_y1;
    m_y1 = output;
    return output;
}
