// The style player runs whatever the style reader accepts, and whatever the style creator
// might leave in its stream buffers, under any chords. Whatever it plays must be valid MIDI
// (data bytes below 0x80, notes inside 0 … 127) and it must never read outside a buffer.
//
// Input: byte 0 picks the mode (even: a .vxs file through the reader; odd: raw stream bytes
// with a made-up loop range), byte 1 the options, the last 64 bytes the chord script, the
// rest the file or stream.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "PlayerRig.h"

namespace {

using namespace chordella;

// Two buffers: raw input may run from the first into the second.
fuzzing::PlayerRig& TheRig() {
    static fuzzing::PlayerRig rig(2);
    return rig;
}

void ApplyOptions(core::Session& session, core::Options& o, std::uint8_t bits) {
    o.CompLimit = bits & 1;
    o.MinusOne = bits & 2;
    o.AdjustChordOctave = bits & 4;
    o.HarmonicPad = bits & 8;
    o.PlayChords = (bits & 0x30) == 0x30;
    o.TransmitControllers = bits & 0x40;
    o.AllowPitchBend = bits & 0x80;
    o.MasterMode = bits & 0x10;
    o.StyleChordChanges = bits % 3;
    o.SendChordCodes = bits & 0x20;
    session.Style().player.FadeActive = (bits & 0x0C) == 0x0C;
}

// Raw bytes in both buffers and a loop range taken from the input, unchecked.
void LoadRaw(core::Session& session, std::span<const std::uint8_t> bytes) {
    data::StyleState& style = session.Style().style;
    style.Header.ChannelUsed.fill(1);
    for (int b = 0; b < 2; ++b) {
        std::uint8_t* buffer = style.Stream.Buffer(b);
        std::fill(buffer, buffer + data::StreamCapacity, std::uint8_t{0});
        std::copy(bytes.begin(), bytes.end(), buffer);
    }
    const auto word = [&](std::size_t i) {
        return i + 1 < bytes.size() ? static_cast<std::int16_t>(bytes[i] | bytes[i + 1] << 8) : std::int16_t{0};
    };
    engine::StylePlayerState& player = session.Style().player;
    player.StyleActive = 1;
    player.CurrentSection = static_cast<std::int16_t>(word(0) % 9);  // 8 is outside the part table
    player.LoopStart = word(2);
    player.LoopEnd = word(4);
    player.PlayEnd = static_cast<std::int32_t>(bytes.size()) + word(6) % 64;
    player.StylePos = word(8);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    fuzzing::PlayerRig& rig = TheRig();
    core::Session& session = *rig.session;
    rig.ResetPlayState();
    ApplyOptions(session, rig.state.options, data[1]);

    const std::size_t script = std::min<std::size_t>(64, (size - 2) / 4);
    const std::span<const std::uint8_t> body(data + 2, size - 2 - script);
    const std::span<const std::uint8_t> chords(data + size - script, script);
    rig.clock->SelectQuantize(data[0] / 2 % 10);
    rig.clock->StartVirtual(120);
    if (data[0] % 2 == 0) {
        if (!fuzzing::LoadStyleFile(session.Style().style, body)) return 0;
        int part = 0;
        while (part < data::PartCount && !rig.engine->Sections().PlayPart(part)) ++part;
        if (part == data::PartCount) return 0;
    } else {
        LoadRaw(session, body.first(std::min<std::size_t>(body.size(), data::StreamCapacity)));
    }

    for (std::size_t i = 0; i < 64; ++i) {
        if (chords.size() >= 2) {
            const std::size_t at = (2 * i) % (chords.size() - 1);
            const auto root = static_cast<std::int16_t>(static_cast<std::int8_t>(chords[at]));
            const auto type = static_cast<std::int16_t>(static_cast<std::int8_t>(chords[at + 1]) % 40);
            session.Engine().SubmitChord({root, type}, {root, static_cast<std::int16_t>(root + 4),
                                                        static_cast<std::int16_t>(root + 7),
                                                        static_cast<std::int16_t>(root + 10)});
        }
        rig.clock->RunVirtualTicks(48);
    }
    return 0;
}
