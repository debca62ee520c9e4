#pragma once

#include "sound/tunecache.h"
#include "sound/wavsound.h"

#include <cstdint>
#include <optional>

// The game's two sounds summed into the output's 16-bit stereo: the tune streamed from its file,
// from where it stopped, and the hit sound looped from memory. Changed on the window's thread
// and filled on the output's, always under the output's lock.
class SoundMix
{
public:
    // The tune to play, from its beginning; playing if the tune was.
    void setTune(TuneFile tune);
    void dropTune() { m_tune.reset(); }
    void setTunePlaying(bool playing) { m_tunePlaying = playing; }
    void rewindTune() { m_tuneOffset = 0; }

    // Starts the sound from its beginning, looping until it is stopped.
    void startHit(const WavSound::Frames *sound);
    void stopHit() { m_hit = nullptr; }

    // Whether fill() has anything to play: the tune before its end, or the hit sound.
    bool isAudible() const;
    void fill(std::int16_t *samples, int frames);

private:
    std::optional<TuneFile> m_tune;
    qint64 m_tuneOffset = 0; // bytes of its sound played
    bool m_tunePlaying = false;
    const WavSound::Frames *m_hit = nullptr; // owned by the caller while it plays
    size_t m_hitAt = 0;
};
