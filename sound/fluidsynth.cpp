#include "sound/fluidsynth.h"

#include <dlfcn.h>

#include <mutex>

namespace {

constexpr char LibraryName[] = "libfluidsynth.so.3";

template<typename Function> bool resolve(void *library, const char *name, Function *function)
{
    *function = reinterpret_cast<Function>(dlsym(library, name));
    return *function != nullptr;
}

} // namespace

const FluidSynth *FluidSynth::load(QString *error)
{
    static std::once_flag once;
    static FluidSynth functions;
    static const FluidSynth *loaded = nullptr;
    static QString problem;
    std::call_once(once, [] {
        void *library = dlopen(LibraryName, RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            problem = QString::fromLocal8Bit(dlerror());
            return;
        }
        FluidSynth &f = functions;
        const bool complete = resolve(library, "new_fluid_settings", &f.newSettings)
            && resolve(library, "delete_fluid_settings", &f.deleteSettings)
            && resolve(library, "fluid_settings_setnum", &f.setNum)
            && resolve(library, "fluid_settings_setint", &f.setInt)
            && resolve(library, "fluid_settings_setstr", &f.setStr)
            && resolve(library, "new_fluid_synth", &f.newSynth)
            && resolve(library, "delete_fluid_synth", &f.deleteSynth)
            && resolve(library, "fluid_synth_sfload", &f.loadSoundFont)
            && resolve(library, "fluid_synth_write_s16", &f.writeS16)
            && resolve(library, "new_fluid_player", &f.newPlayer)
            && resolve(library, "delete_fluid_player", &f.deletePlayer)
            && resolve(library, "fluid_player_add_mem", &f.addMidi)
            && resolve(library, "fluid_player_play", &f.play)
            && resolve(library, "fluid_player_get_status", &f.playerStatus)
            && resolve(library, "fluid_set_log_function", &f.setLogFunction);
        if (complete)
            loaded = &functions;
        else
            problem = QString::fromLocal8Bit(dlerror());
    });
    if (!loaded && error)
        *error = problem;
    return loaded;
}
