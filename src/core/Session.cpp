#include "core/Session.h"

#include <stdexcept>

#include "data/VoiceMap.h"
#include "midi/MemoryBackend.h"

namespace chordella::core {

Session::Session(SessionParts parts)
    : midi_(parts.midiBackend ? std::move(parts.midiBackend) : std::make_unique<midi::MemoryBackend>(), loop_),
      prompter_(std::move(parts.prompter)),
      view_(parts.view ? std::move(parts.view) : std::make_unique<NullView>()),
      paths_(std::move(parts.paths)),
      random_(parts.seed) {
    if (!prompter_) throw std::invalid_argument("a session needs a prompter");
    midi_.SetGeneralMidiVoices(data::BuiltInVoiceMap().ForGeneralMidi());
}

Session::~Session() = default;

}  // namespace chordella::core
