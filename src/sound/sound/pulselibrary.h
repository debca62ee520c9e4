#pragma once

#include <QString>

// Types and constants only: the functions are looked up in the library at run time.
#include <pulse/pulseaudio.h>

// The functions the game's sound uses from libpulse, the sound server's client library (the
// PulseAudio server's, and PipeWire's through pipewire-pulse).
// clang-format off
#define PULSE_LIBRARY_FUNCTIONS(F) \
    F(pa_threaded_mainloop_new) F(pa_threaded_mainloop_free) F(pa_threaded_mainloop_start) \
    F(pa_threaded_mainloop_stop) F(pa_threaded_mainloop_lock) F(pa_threaded_mainloop_unlock) \
    F(pa_threaded_mainloop_get_api) F(pa_context_new) F(pa_context_unref) \
    F(pa_context_set_state_callback) F(pa_context_connect) F(pa_context_disconnect) \
    F(pa_context_get_state) F(pa_context_errno) F(pa_stream_new) F(pa_stream_unref) \
    F(pa_stream_set_state_callback) F(pa_stream_set_write_callback) \
    F(pa_stream_connect_playback) F(pa_stream_disconnect) F(pa_stream_get_state) \
    F(pa_stream_get_sample_spec) F(pa_stream_write) F(pa_stream_drain) F(pa_operation_unref) \
    F(pa_channel_map_init_extend) F(pa_frame_size) F(pa_strerror)
// clang-format on

// libpulse, loaded when the sound is first opened rather than with the program: linked, it
// would bring its 26 libraries (libsndfile with five codecs among them) before the authorship
// notice. Loaded once, kept to the end.
struct PulseLibrary
{
#define PULSE_LIBRARY_MEMBER(name) decltype(&::name) name = nullptr;
    PULSE_LIBRARY_FUNCTIONS(PULSE_LIBRARY_MEMBER)
#undef PULSE_LIBRARY_MEMBER

    // The functions, or nullptr with the reason in *error. Looked for once, on the first call.
    static const PulseLibrary *load(QString *error);
};
