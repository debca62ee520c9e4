#pragma once

#include <QtGlobal>

// Levels at a null sink's monitor (16-bit samples) and how long the server takes to pass a change.
namespace SoundLevels {

// The test WAVs hold this level throughout; the monitor hears about the same.
constexpr qint16 Wav = 8000;
// Sound is anything above this; a null sink is exactly zero when nothing plays.
constexpr int Silence = 16;
// The server's buffers: a stop is heard within this time, a start well within the first second.
constexpr int SettleMs = 400;

} // namespace SoundLevels
