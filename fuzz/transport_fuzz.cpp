// The transport under random control keys, section switches, stops and restarts while a
// style plays: whatever is pressed, every message sent must be valid MIDI, nothing may read
// outside a buffer, and after Stop no note may be left sounding.
//
// Input: byte 0 the options, bytes 1 … 32 sixteen (action, ticks) pairs, the rest a style file.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

#include "app/Session.h"
#include "data/StyleAnalysis.h"
#include "data/StyleFile.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "engine/Transport.h"
#include "platform/ScriptedPrompter.h"

namespace {

using namespace chordella;

constexpr std::size_t ScriptBytes = 32;

// Checks every message and keeps count of the notes sounding (drum hits of the metronome
// end by themselves and are not counted).
class CheckingOutput final : public midi::MidiOut {
public:
    bool IsOpen() const override { return true; }
    void PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
        if (status < 0x80 || data1 > 127 || data2 > 127) std::abort();
        if (status >= 0xF0) return;
        const int kind = status & 0xF0;
        auto& channel = sounding[status & 0x0F];
        if (kind == 0x90 && data2 > 0 && status != 0x99) {
            ++channel[data1];
        } else if (kind == 0x80 || kind == 0x90) {
            if (channel[data1] > 0) --channel[data1];
        } else if (kind == 0xB0 && (data1 == 120 || data1 == 123)) {
            channel.fill(0);
        }
    }
    void PutShortMsg(std::uint32_t packed) override {
        PutShort(static_cast<std::uint8_t>(packed), static_cast<std::uint8_t>(packed >> 8),
                 static_cast<std::uint8_t>(packed >> 16));
    }
    bool AnySounding() const {
        for (const auto& channel : sounding) {
            for (int count : channel) {
                if (count != 0) return true;
            }
        }
        return false;
    }
    std::array<std::array<int, 128>, 16> sounding{};
};

struct Rig {
    Rig() {
        app::SessionParts parts;
        parts.prompter = std::make_unique<platform::ScriptedPrompter>();
        parts.paths = platform::Paths::InFolder("/tmp");
        session = std::make_unique<app::Session>(std::move(parts));
        if (!session->Style().style.Stream.Allocate()) std::abort();
        engine = std::make_unique<engine::AccompanimentEngine>(*session);
        clock = std::make_unique<engine::Clock>(*session, *engine);
        transport = std::make_unique<engine::Transport>(*session, *engine, *clock);
        session->SetAccompanimentOutput(&out);
        session->SetClockOutput(&out);
    }
    std::unique_ptr<app::Session> session;
    std::unique_ptr<engine::AccompanimentEngine> engine;
    std::unique_ptr<engine::Clock> clock;
    std::unique_ptr<engine::Transport> transport;
    CheckingOutput out;
};

Rig& TheRig() {
    static Rig rig;
    return rig;
}

bool LoadFile(data::StyleState& style, std::span<const std::uint8_t> file) {
    data::StyleImage image;
    std::string error;
    if (!data::ReadStyleFile(file, image, error)) return false;
    style.Header = image.Header;
    style.Parts = image.Parts;
    auto buffer = style.Stream.First();
    std::fill(std::copy(image.Stream.begin(), image.Stream.end(), buffer.begin()), buffer.end(), std::uint8_t{0});
    style.StyleLength = static_cast<std::int32_t>(image.Stream.size());
    style.Header.ChannelUsed.fill(0);
    data::AnalyseChannels(style, 0, data::PartCount - 1, false);
    return true;
}

void ApplyOptions(Rig& rig, std::uint8_t bits) {
    app::Options& o = rig.session->App().options;
    o.PlayIntro = bits & 1;
    o.PlayEnding = bits & 2;
    o.Metronome = bits & 4;
    o.MasterMode = bits & 8;
    o.StyleChordChanges = (bits >> 4) % 3;
    rig.clock->SelectQuantize(bits >> 6 == 0 ? 0 : (bits >> 6) + 1);  // "1/4", "3/4", "4/4", "6/4"
}

void Act(Rig& rig, std::uint8_t action) {
    engine::Transport& transport = *rig.transport;
    engine::EngineState& e = rig.session->App().engine;
    const data::ControlKeys& k = rig.session->App().config.Keys;
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
            rig.session->App().chords.PendingRoot = root;
            rig.session->App().chords.PendingType = static_cast<std::int16_t>(1 + x % 17);
            rig.session->Engine().SubmitChord({root, static_cast<std::int16_t>(root + 4),
                                               static_cast<std::int16_t>(root + 7), 0});
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 + ScriptBytes) return 0;
    Rig& rig = TheRig();
    app::Session& session = *rig.session;
    session.App().engine = engine::EngineState{};
    session.App().clock = engine::ClockState{};
    session.App().transport = engine::TransportState{};
    session.Style().player = engine::StylePlayerState{};
    session.Style().sections = engine::SectionState{};
    session.Controllers().Clear();
    rig.out.sounding = {};
    ApplyOptions(rig, data[0]);
    if (!LoadFile(session.Style().style, std::span<const std::uint8_t>(data + 1 + ScriptBytes, size - 1 - ScriptBytes))) {
        return 0;
    }
    rig.clock->StartVirtual(120);
    rig.transport->StartStyle();
    for (std::size_t i = 0; i < ScriptBytes; i += 2) {
        Act(rig, data[1 + i]);
        rig.clock->RunVirtualTicks(data[2 + i] * 2);
    }
    rig.transport->Stop();
    if (rig.out.AnySounding()) std::abort();
    return 0;
}
