#pragma once

#include <QByteArray>
#include <QtGlobal>

// When the last note of a Standard MIDI File sounds, read from the file itself. FluidSynth's player
// goes on reporting "playing" for many seconds past the end of a tune, so the rendering is cut
// here instead, after a short reverb tail.
class MidiLength
{
public:
    // Milliseconds from the start to the last channel event (notes, controllers, programs),
    // following every tempo change; -1 when the file cannot be read that far.
    static qint64 lastEventMs(const QByteArray &midi);
};
