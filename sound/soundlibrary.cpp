#include "sound/soundlibrary.h"

#include <dlfcn.h>

#include <mutex>

const SoundLibrary *SoundLibrary::load(QString *error)
{
    static std::once_flag once;
    static SoundLibrary functions;
    static const SoundLibrary *loaded = nullptr;
    static QString problem;
    std::call_once(once, [] {
        void *mixer = dlopen("libSDL2_mixer-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!mixer) {
            problem = QString::fromLocal8Bit(dlerror());
            return;
        }
        // SDL2 and FluidSynth come with SDL2_mixer: a look-up in it searches them too.
        const auto resolve = [&](const char *name, auto &function) {
            void *address = dlsym(mixer, name);
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(address);
            if (!address && problem.isEmpty())
                problem = QStringLiteral("%1 is missing").arg(QLatin1String(name));
        };
#define SOUND_LIBRARY_RESOLVE(name) resolve(#name, functions.name);
        SOUND_LIBRARY_FUNCTIONS(SOUND_LIBRARY_RESOLVE)
#undef SOUND_LIBRARY_RESOLVE
        if (problem.isEmpty())
            loaded = &functions;
    });
    if (!loaded && error)
        *error = problem;
    return loaded;
}
