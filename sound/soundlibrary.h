#pragma once

#include <QString>

// Types and constants only: the functions are looked up in the libraries at run time.
#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

// The functions the game's sound uses from SDL2, SDL2_mixer and FluidSynth.
// clang-format off
#define SOUND_LIBRARY_FUNCTIONS(F) \
    F(SDL_SetHint) F(SDL_InitSubSystem) F(SDL_QuitSubSystem) F(SDL_GetError) \
    F(SDL_RWFromConstMem) F(Mix_OpenAudioDevice) F(Mix_CloseAudio) F(Mix_LoadWAV_RW) \
    F(Mix_QuickLoad_RAW) F(Mix_FreeChunk) F(Mix_PlayChannelTimed) F(Mix_HaltChannel) F(Mix_Pause) \
    F(Mix_Resume) F(new_fluid_settings) F(delete_fluid_settings) F(fluid_settings_setnum) \
    F(fluid_settings_setint) F(fluid_settings_setstr) F(new_fluid_synth) F(delete_fluid_synth) \
    F(fluid_synth_sfload) F(fluid_synth_write_s16) F(new_fluid_player) F(delete_fluid_player) \
    F(fluid_player_add_mem) F(fluid_player_play) F(fluid_player_get_status) \
    F(fluid_set_log_function)
// clang-format on

// SDL2_mixer and FluidSynth, loaded when the sound is first opened rather than with the program.
// Debian's SDL2_mixer brings 43 more shared libraries (FluidSynth with JACK and glib, five
// codecs, PulseAudio, Wayland): linked, the game would load 94 before its first window, 51
// this way, and the authorship notice would wait for them. Loaded once, kept to the end.
struct SoundLibrary
{
#define SOUND_LIBRARY_MEMBER(name) decltype(&::name) name = nullptr;
    SOUND_LIBRARY_FUNCTIONS(SOUND_LIBRARY_MEMBER)
#undef SOUND_LIBRARY_MEMBER

    // The functions, or nullptr with the reason in *error. Looked for once, on the first call.
    static const SoundLibrary *load(QString *error);
};
