#include "chords/VoiceMessages.h"

#include <algorithm>
#include <exception>

#include "core/Options.h"
#include "core/Session.h"
#include "chords/InputLink.h"
#include "engine/MelodyState.h"
#include "midi/ControllerTable.h"
#include "midi/MidiStatus.h"

namespace chordella::chords {

namespace {

using midi::status::NoteOn;
using midi::status::PolyPressure;
using midi::status::ControlChange;
using midi::status::ProgramChange;
using midi::status::ChannelPressure;
constexpr int HumanRange = 20;      // r is drawn from 0 … 20
constexpr int LouderFrom = 16;      // r ≥ 16 plays louder by r − 10
constexpr int LouderBase = 10;

void Record(core::Session& session, const engine::MelodyState& melodyState, InputLink* peers, std::uint8_t status,
            std::uint8_t data1, std::uint8_t data2) {
    if ((status & 0x0F) != melodyState.MelodyChannel) return;
    if (peers && peers->MelodyRecording()) {
        peers->RecordMelodyEvent(status, data1, data2);
    } else if (core::MelodyLink* melody = session.Melody(); melody && melody->MelodyRecording()) {
        melody->RecordMelodyEvent(status, data1, data2);
    }
}

void Put(midi::MidiOut* out, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    if (!out || !out->IsOpen()) return;
    try {
        out->PutShort(status, data1, data2);
    } catch (const std::exception&) {
        // A port that closed under us loses the message like a closed one.
    }
}

}  // namespace

void SendVoiceMessage(core::Session& session, const engine::MelodyState& melodyState, const core::Options& options,
                      InputLink* peers, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    if (status < 0x80 || status >= 0xF0 || data1 > 127 || data2 > 127) return;
    Record(session, melodyState, peers, status, data1, data2);
    const int kind = status & 0xF0;
    if (kind == ControlChange || kind == ProgramChange || kind == ChannelPressure) {
        midi::ControllerChanged(session.Controllers(), kind, status & 0x0F, data1, data2, false);
    }
    if (options.SendChordCodes && kind != NoteOn && kind != PolyPressure) {
        Put(session.MidiOutput1(), status, data1, data2);
        Put(session.MidiOutput2(), status, data1, data2);
        return;
    }
    Put(session.AccompanimentOutput(), status, data1, data2);
}

int HumanVelocity(platform::Random& random, int base) {
    const int r = random.Between(0, HumanRange);
    const int velocity = r >= LouderFrom ? base + (r - LouderBase) : base - r;
    return std::clamp(velocity, 1, 127);
}

}  // namespace chordella::chords
