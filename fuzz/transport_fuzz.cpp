// The transport under random control keys, section switches, stops and restarts while a
// style plays: whatever is pressed, every message sent must be valid MIDI, nothing may read
// outside a buffer, and after Stop no note may be left sounding.
//
// Input: byte 0 the options, bytes 1 … 32 sixteen (action, ticks) pairs, the rest a style file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "PlayerRig.h"
#include "engine/Transport.h"

namespace {

using namespace chordella;

constexpr std::size_t ScriptBytes = 32;

using Rig = fuzzing::ArrangerRig;

Rig& TheRig() {
    static Rig rig;
    return rig;
}

void ApplyOptions(Rig& rig, std::uint8_t bits) {
    core::Options& o = rig.state.options;
    o.PlayIntro = bits & 1;
    o.PlayEnding = bits & 2;
    o.Metronome = bits & 4;
    o.MasterMode = bits & 8;
    o.StyleChordChanges = (bits >> 4) % 3;
    rig.arranger->Clock().SelectQuantize(bits >> 6 == 0 ? 0 : (bits >> 6) + 1);  // "1/4", "3/4", "4/4", "6/4"
}

void Act(Rig& rig, std::uint8_t action) {
    engine::Transport& transport = rig.arranger->Transport();
    engine::EngineState& e = rig.state.engine;
    const data::ControlKeys& k = rig.state.config.Keys;
    const int lowest = std::min({k.FillIn, k.Ending, k.ToExtended, k.ToBasic});
    const int keys[9] = {k.FillIn, k.Ending, k.ToExtended, k.ToBasic, lowest - 1,
                         lowest - 2,  lowest - 3,  lowest - 4, lowest - 5};
    const int x = action >> 4;
    switch (action & 0x0F) {
        case 0: case 1: case 2: case 3: case 4: case 5:
            e.PendingCommandKey = static_cast<std::int16_t>(keys[(action + x) % 9]);
            break;
        case 6: transport.Stop(); break;
        case 7: transport.StartStyle(); break;
        case 8: transport.PlayPart(100 + x % 8); break;
        case 9: transport.AllNotesOff(); break;
        case 10: transport.SwitchSection(x % 8); break;
        case 11: transport.ToggleAccompaniment(); break;
        case 12: rig.session->Style().player.StyleMode = !rig.session->Style().player.StyleMode; break;
        case 13: e.PendingCommandKey = static_cast<std::int16_t>(action & 0x7F); break;
        default: {
            const auto root = static_cast<std::int16_t>(48 + x);
            rig.session->Engine().SubmitChord({root, static_cast<std::int16_t>(1 + x % 17)},
                                              {root, static_cast<std::int16_t>(root + 4),
                                               static_cast<std::int16_t>(root + 7), 0});
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 + ScriptBytes) return 0;
    Rig& rig = TheRig();
    core::Session& session = *rig.session;
    rig.ResetPlayState();
    ApplyOptions(rig, data[0]);
    if (!fuzzing::LoadStyleFile(session.Style().style, std::span<const std::uint8_t>(data + 1 + ScriptBytes, size - 1 - ScriptBytes))) {
        return 0;
    }
    rig.arranger->Clock().StartVirtual(120);
    rig.arranger->Transport().StartStyle();
    for (std::size_t i = 0; i < ScriptBytes; i += 2) {
        Act(rig, data[1 + i]);
        rig.arranger->Clock().RunVirtualTicks(data[2 + i] * 2);
    }
    rig.arranger->Transport().Stop();
    if (rig.out.AnySounding()) std::abort();
    return 0;
}
