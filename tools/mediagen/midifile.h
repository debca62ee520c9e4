#pragma once

#include "miditrack.h"

// A Standard MIDI File of type 1: a header chunk, then the tracks played together.
class MidiFile
{
public:
    static QByteArray encode(const QList<MidiTrack> &tracks, int ticksPerQuarter);
};
