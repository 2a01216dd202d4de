#include "chords/ChordCodes.h"

#include "chords/ChordTypes.h"
#include "midi/MidiOut.h"
#include "midi/MidiStatus.h"

namespace chordella::chords {

namespace {

using midi::status::ControlChange;
constexpr int LowControllerFirstType = 11;

bool SendControlChange(midi::MidiOut& out, int channel, int controller, int value) {
    if (!out.IsOpen()) return false;
    out.PutShort(static_cast<std::uint8_t>(ControlChange | (channel & 0x0F)), static_cast<std::uint8_t>(controller),
                 static_cast<std::uint8_t>(value));
    return true;
}

}  // namespace

std::optional<ChordCodeMessage> ChordCode(int root, int type) {
    if (type < 1 || type > MaxCodedType) return std::nullopt;
    const bool low = type >= LowControllerFirstType;
    const int row = low ? type - LowControllerFirstType : type - 1;
    return ChordCodeMessage{static_cast<std::uint8_t>(low ? ChordCodeLowController : ChordCodeHighController),
                            static_cast<std::uint8_t>(row * 12 + PitchClass(root))};
}

bool IsChordCodeController(int controller) {
    return controller == ChordCodeLowController || controller == ChordCodeHighController;
}

std::optional<DecodedChord> DecodeChordCode(int controller, int value) {
    if (!IsChordCodeController(controller) || value < 0 || value >= AdLibOnCode) return std::nullopt;
    const int type = value / 12 + (controller == ChordCodeLowController ? LowControllerFirstType : 1);
    return DecodedChord{type, value % 12};
}

bool SendChordCode(midi::MidiOut& out, int channel, int root, int type) {
    const auto code = ChordCode(root, type);
    return code && SendControlChange(out, channel, code->Controller, code->Value);
}

bool SendAdLibCode(midi::MidiOut& out, int channel, bool adLibOn) {
    return SendControlChange(out, channel, ChordCodeHighController, adLibOn ? AdLibOnCode : AdLibOffCode);
}

}  // namespace chordella::chords
