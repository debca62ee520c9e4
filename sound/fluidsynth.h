#pragma once

#include <QString>

// Types and constants only: the functions are looked up in the library at run time.
#include <fluidsynth.h>

// FluidSynth, loaded when the first tune is rendered rather than when the game starts: it
// brings some fifty shared libraries (SDL2, JACK, libsndfile ...) that nothing needs before.
// The library stays loaded for the rest of the program.
class FluidSynth
{
public:
    // The functions the rendering uses, or nullptr with the reason in *error when the library
    // or one of them cannot be found. Safe from any thread; the library is looked for once.
    static const FluidSynth *load(QString *error);

    decltype(&new_fluid_settings) newSettings;
    decltype(&delete_fluid_settings) deleteSettings;
    decltype(&fluid_settings_setnum) setNum;
    decltype(&fluid_settings_setint) setInt;
    decltype(&fluid_settings_setstr) setStr;
    decltype(&new_fluid_synth) newSynth;
    decltype(&delete_fluid_synth) deleteSynth;
    decltype(&fluid_synth_sfload) loadSoundFont;
    decltype(&fluid_synth_write_s16) writeS16;
    decltype(&new_fluid_player) newPlayer;
    decltype(&delete_fluid_player) deletePlayer;
    decltype(&fluid_player_add_mem) addMidi;
    decltype(&fluid_player_play) play;
    decltype(&fluid_player_get_status) playerStatus;
    decltype(&fluid_set_log_function) setLogFunction;
};
