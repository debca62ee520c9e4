#pragma once

#include "binaryfile.h"

#include <QList>
#include <QString>

// Reads a Standard MIDI File through to the end of every track, the way a player
// would, and reports its shape: the header, the notes and programs it holds, and how
// long it plays by its tempo map. Anything malformed is named in `error`.
struct MidiScan
{
    int format = -1;
    int declaredTracks = 0;
    int tracksRead = 0;
    int division = 0;
    int noteOns = 0;
    int programChanges = 0;
    bool everyTrackEnded = true;
    double seconds = 0.0;
    QString error;

    static MidiScan of(const BinaryFile &file);
};
