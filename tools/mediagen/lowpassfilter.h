#pragma once

// A two-pole resonant low-pass filter (the usual audio biquad) whose cutoff may be
// moved from sample to sample, for sweeping the colour of the explosion's noise.
class LowPassFilter
{
public:
    LowPassFilter(double sampleRate, double cutoff, double q = 0.707);

    void setCutoff(double cutoff);
    double process(double input);

private:
    double m_sampleRate;
    double m_q;
    double m_b0 = 0, m_b1 = 0, m_b2 = 0, m_a1 = 0, m_a2 = 0;
    double m_x1 = 0, m_x2 = 0, m_y1 = 0, m_y2 = 0;
};
