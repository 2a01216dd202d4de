#include "midi/SystemBackend.h"

#include "midi/RtMidiBackend.h"
#include "midi/SynthBackend.h"

namespace chordella::midi {

CombinedBackend::CombinedBackend(std::unique_ptr<MidiBackend> ports, std::unique_ptr<MidiBackend> mapper)
    : ports_(std::move(ports)), mapper_(std::move(mapper)), last_(ports_.get()) {}

std::string CombinedBackend::Name() const { return ports_->Name() + " + " + mapper_->Name(); }

std::unique_ptr<MidiBackend> MakeSystemBackend(const AudioSettings& audio) {
    return std::make_unique<CombinedBackend>(std::make_unique<RtMidiBackend>(), std::make_unique<SynthBackend>(audio));
}

}  // namespace chordella::midi
