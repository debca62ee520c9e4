#pragma once

#include <QString>

// Types and constants only: the functions are looked up in the libraries at run time.
#include <SDL.h>
#include <SDL_mixer.h>

// The functions the game's sound uses from SDL2 and SDL2_mixer.
// clang-format off
#define SOUND_LIBRARY_FUNCTIONS(F) \
    F(SDL_SetHint) F(SDL_InitSubSystem) F(SDL_QuitSubSystem) F(SDL_GetError) F(SDL_RWFromConstMem) \
    F(SDL_RWFromFile) F(Mix_OpenAudioDevice) F(Mix_CloseAudio) F(Mix_LoadWAV_RW) F(Mix_FreeChunk) \
    F(Mix_PlayChannelTimed) F(Mix_HaltChannel) F(Mix_LoadMUS_RW) F(Mix_FreeMusic) F(Mix_PlayMusic) \
    F(Mix_PauseMusic) F(Mix_ResumeMusic) F(Mix_HaltMusic)
// clang-format on

// SDL2_mixer, loaded when the sound is first opened rather than with the program.
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
