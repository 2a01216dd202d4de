#include "chords/ThruFilter.h"

#include "chords/KeyboardState.h"
#include "core/Options.h"
#include "core/Session.h"
#include "chords/ChordRecogniser.h"
#include "chords/InputLink.h"
#include "engine/EngineState.h"
#include "midi/MidiStatus.h"

namespace chordella::chords {

namespace {

using midi::status::NoteOff;
using midi::status::NoteOn;
using midi::status::PolyPressure;
using midi::status::ControlChange;
using midi::status::ProgramChange;
using midi::status::ChannelPressure;
constexpr int DrumChannel = 9;

bool Suppressed(int kind, int data1) {
    return (kind == ControlChange && data1 < 120) || kind == ProgramChange || kind == ChannelPressure;
}

}  // namespace

int ThruFilter::Filter(int kind, int channel, int data2, int data1) {
    if (channel < 0 || channel > 15 || data1 < 0 || data1 > 127) return DropMessage;
    const auto ch = static_cast<std::size_t>(channel);

    if ((engineState_.SoloFilter != 0 && engineState_.SoloFilter != channel + 1) || engineState_.ChannelMute[ch] != 0) {
        return DropMessage;
    }
    if (options_.InstrumentPad && channel == options_.PadChannel) return DropMessage;

    if (kind == NoteOff || kind == NoteOn || kind == PolyPressure) {
        keyboard_.ChannelIndicator[ch] = Indicator::Greyed;
        int note = data1;
        if (channel != DrumChannel) note += keyboard_.ThruTranspose;
        if (note < 0 || note > 127) return DropMessage;
        if (peers_->CreatorRecording()) {
            peers_->CreatorRecord(static_cast<std::uint8_t>(kind | channel), static_cast<std::uint8_t>(note),
                                  static_cast<std::uint8_t>(data2 & 0x7F));
        }
        if (options_.ReplaceOne && kind != PolyPressure && channel == engineState_.VoiceChannel) return DropMessage;
        return note;
    }
    if (kind == ControlChange && (data1 == 19 || data1 == 20)) {
        if (recogniser_.ReceiveChordCode(data2, data1, channel) != ChordCodeOutcome::PassOn) return DropMessage;
    }
    const bool styleSuppresses = session_.Style().style.Header.SuppressControllers != 0;
    if ((keyboard_.ChannelSuppress[ch] || styleSuppresses) && Suppressed(kind, data1)) return DropMessage;
    return data1;
}

}  // namespace chordella::chords
