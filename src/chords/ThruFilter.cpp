#include "chords/ThruFilter.h"

#include "core/Session.h"
#include "chords/ChordRecogniser.h"
#include "chords/InputLink.h"
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
    core::AppState& app = session_.App();
    const core::Options& options = app.options;
    const engine::EngineState& e = app.engine;
    const auto ch = static_cast<std::size_t>(channel);

    if ((e.SoloFilter != 0 && e.SoloFilter != channel + 1) || e.ChannelMute[ch] != 0) return DropMessage;
    if (options.InstrumentPad && channel == options.PadChannel) return DropMessage;

    if (kind == NoteOff || kind == NoteOn || kind == PolyPressure) {
        app.keyboard.ChannelIndicator[ch] = Indicator::Greyed;
        int note = data1;
        if (channel != DrumChannel) note += app.keyboard.ThruTranspose;
        if (note < 0 || note > 127) return DropMessage;
        if (peers_->CreatorRecording()) {
            peers_->CreatorRecord(static_cast<std::uint8_t>(kind | channel), static_cast<std::uint8_t>(note),
                                  static_cast<std::uint8_t>(data2 & 0x7F));
        }
        if (options.ReplaceOne && kind != PolyPressure && channel == e.VoiceChannel) return DropMessage;
        return note;
    }
    if (kind == ControlChange && (data1 == 19 || data1 == 20)) {
        if (recogniser_.ReceiveChordCode(data2, data1, channel) != ChordCodeOutcome::PassOn) return DropMessage;
    }
    const bool styleSuppresses = session_.Style().style.Header.SuppressControllers != 0;
    if ((app.keyboard.ChannelSuppress[ch] || styleSuppresses) && Suppressed(kind, data1)) return DropMessage;
    return data1;
}

}  // namespace chordella::chords
