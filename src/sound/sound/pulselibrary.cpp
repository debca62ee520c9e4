#include "sound/pulselibrary.h"

#include <dlfcn.h>

const PulseLibrary *PulseLibrary::load(QString *error)
{
    static QString problem;
    static const PulseLibrary *const loaded = []() -> const PulseLibrary * {
        static PulseLibrary functions;
        void *library = dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            problem = QString::fromLocal8Bit(dlerror());
            return nullptr;
        }
#define PULSE_LIBRARY_RESOLVE(name)                                                                \
    functions.name = reinterpret_cast<decltype(functions.name)>(dlsym(library, #name));            \
    if (!functions.name) {                                                                         \
        problem = QStringLiteral(#name " is missing from libpulse.so.0");                          \
        return nullptr;                                                                            \
    }
        PULSE_LIBRARY_FUNCTIONS(PULSE_LIBRARY_RESOLVE)
#undef PULSE_LIBRARY_RESOLVE
        return &functions;
    }();
    if (!loaded && error)
        *error = problem;
    return loaded;
}
