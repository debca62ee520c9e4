#pragma once

#include <QObject>

// Where the last note of a MIDI file falls, as the rendering's end is taken from it.
class MidiLengthTest : public QObject
{
    Q_OBJECT
private slots:
    void lastEventFollowsTheTempoMap_data();
    void lastEventFollowsTheTempoMap();
};
