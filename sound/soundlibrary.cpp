#include "sound/soundlibrary.h"

#include <dlfcn.h>

const SoundLibrary *SoundLibrary::load(QString *error)
{
    static QString problem;
    static const SoundLibrary *const loaded = []() -> const SoundLibrary * {
        static SoundLibrary functions;
        void *mixer = dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!mixer) {
            problem = QString::fromLocal8Bit(dlerror());
            return nullptr;
        }
        // SDL2 comes with SDL2_mixer: a look-up in it searches SDL2 too.
#define SOUND_LIBRARY_RESOLVE(name)                                                                \
    functions.name = reinterpret_cast<decltype(functions.name)>(dlsym(mixer, #name));              \
    if (!functions.name) {                                                                         \
        problem = QStringLiteral(#name " is missing");                                             \
        return nullptr;                                                                            \
    }
        SOUND_LIBRARY_FUNCTIONS(SOUND_LIBRARY_RESOLVE)
#undef SOUND_LIBRARY_RESOLVE
        return &functions;
    }();
    if (!loaded && error)
        *error = problem;
    return loaded;
}
