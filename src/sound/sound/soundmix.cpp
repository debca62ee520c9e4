#include "sound/soundmix.h"

#include <algorithm>
#include <bit>

// The tune's file holds little-endian samples, read straight into the output's buffer.
static_assert(std::endian::native == std::endian::little);

void SoundMix::setTune(TuneFile tune)
{
    m_tune = std::move(tune);
    m_tuneOffset = 0;
}

void SoundMix::startHit(const WavSound::Frames *sound)
{
    m_hit = sound && !sound->empty() ? sound : nullptr;
    m_hitAt = 0;
}

bool SoundMix::isAudible() const
{
    return m_hit || (m_tunePlaying && m_tune && m_tuneOffset < m_tune->dataBytes);
}

void SoundMix::fill(std::int16_t *samples, int frames)
{
    const qint64 wanted = qint64(frames) * 4;
    qint64 got = 0;
    if (m_tunePlaying && m_tune) {
        got = m_tune->read(m_tuneOffset, reinterpret_cast<char *>(samples), wanted);
        // A file that ends early (another program cut it) ends the tune there.
        m_tuneOffset = got > 0 ? m_tuneOffset + got : m_tune->dataBytes;
    }
    std::fill(samples + got / 2, samples + wanted / 2, 0);
    if (!m_hit)
        return;
    const WavSound::Frames &hit = *m_hit;
    for (int i = 0; i < frames * 2; ++i) {
        samples[i] = std::int16_t(std::clamp(int(samples[i]) + hit[m_hitAt], -32768, 32767));
        if (++m_hitAt == hit.size())
            m_hitAt = 0;
    }
}
