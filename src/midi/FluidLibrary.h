#pragma once
// FluidSynth, loaded on first use: the headless commands that never sound a note do not pay
// for loading it and the audio and file libraries it pulls in (PulseAudio, libsndfile, SDL,
// GLib …). The functions the synthesizer calls, resolved once.
//
// Any thread; the first call loads the library (thread-safe).

#include <fluidsynth.h>

#include <string>

namespace chordella::midi {

struct FluidLibrary {
#define CHORDELLA_FLUID_FUNCTION(name) decltype(&::name) name = nullptr;
#include "midi/FluidFunctions.inc"
#undef CHORDELLA_FLUID_FUNCTION
};

// The loaded library, or nullptr with `error` set when it cannot be loaded.
const FluidLibrary* LoadFluidLibrary(std::string& error);

}  // namespace chordella::midi
