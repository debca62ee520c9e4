#pragma once

#include <QByteArray>
#include <QStringList>

#include <atomic>
#include <memory>

struct SoundLibrary;

// A MIDI tune rendered once by FluidSynth into 16-bit stereo PCM at 44.1 kHz, the mixer's own
// format. Played live, FluidSynth's synthesis costs some 15 % of a core for as long as the tune
// plays; the rendered audio costs the mixer next to nothing, at every repeat.
namespace TuneRender {

constexpr int SampleRate = 44100;
constexpr int Channels = 2;
// A longer tune is cut off here: memory stays bounded, and the game restarts the tune every 52 s.
constexpr int MaxSeconds = 300;

struct Result
{
    std::unique_ptr<void, decltype(&std::free)> pcm {nullptr, &std::free};
    quint32 bytes = 0;
    QString error; // why the tune stays silent; empty when it rendered
    QStringList log; // FluidSynth's own first few lines
};

// Any thread may render; a render whose cancel turns true ends soon with an empty result.
Result render(const SoundLibrary &library, const QByteArray &midi, const std::atomic<bool> &cancel);

} // namespace TuneRender
