#include "midi/FluidLibrary.h"

#include <dlfcn.h>

namespace chordella::midi {

namespace {

struct Loaded {
    FluidLibrary Functions;
    std::string Error;  // empty when every function was found
};

Loaded Load() {
    Loaded loaded;
    void* handle = nullptr;
    for (const char* name : {"libfluidsynth.so.3", "libfluidsynth.so"}) {
        handle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (handle != nullptr) break;
    }
    if (handle == nullptr) {
        const char* why = dlerror();
        loaded.Error = std::string("The built-in synth needs FluidSynth: ") + (why ? why : "not found");
        return loaded;
    }
    // The library stays loaded for the rest of the process.
#define CHORDELLA_FLUID_FUNCTION(name)                                                          \
    loaded.Functions.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));         \
    if (loaded.Functions.name == nullptr && loaded.Error.empty())                               \
        loaded.Error = "The built-in synth needs FluidSynth 2.2 or newer (" #name " is missing)";
#include "midi/FluidFunctions.inc"
#undef CHORDELLA_FLUID_FUNCTION
    return loaded;
}

}  // namespace

const FluidLibrary* LoadFluidLibrary(std::string& error) {
    static const Loaded loaded = Load();
    if (!loaded.Error.empty()) {
        error = loaded.Error;
        return nullptr;
    }
    return &loaded.Functions;
}

}  // namespace chordella::midi
