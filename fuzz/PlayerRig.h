#pragma once
// What the player fuzz targets share: an output that aborts on any invalid MIDI message and
// counts the notes left sounding, the style file installed as the loader installs it, and a
// session whose play state is reset for every input: with the engine and the virtual clock
// alone (the engine loops parts by itself), or with the modules that play assembled as every
// front end assembles them.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

#include "app/AppState.h"
#include "app/Arranger.h"
#include "core/Session.h"
#include "data/StyleAnalysis.h"
#include "data/StyleFile.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "platform/RecordingPrompter.h"

namespace chordella::fuzzing {

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
        return std::any_of(sounding.begin(), sounding.end(), [](const auto& channel) {
            return std::any_of(channel.begin(), channel.end(), [](int count) { return count != 0; });
        });
    }
    std::array<std::array<int, 128>, 16> sounding{};
};

// A file the style reader accepts, installed as the loader installs it.
inline bool LoadStyleFile(data::StyleState& style, std::span<const std::uint8_t> file) {
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

// A session with `buffers` stream buffers, no devices and no questions asked.
inline std::unique_ptr<core::Session> MakeFuzzSession(int buffers) {
    core::SessionParts parts;
    parts.prompter = std::make_unique<platform::RecordingPrompter>();
    parts.paths = platform::Paths::InFolder("/tmp");
    auto session = std::make_unique<core::Session>(std::move(parts));
    data::StreamChain& stream = session->Style().style.Stream;
    if (!stream.Allocate()) std::abort();
    for (int b = 1; b < buffers; ++b) {
        if (!stream.AddBuffer()) std::abort();
    }
    return session;
}

// Forgets what the previous input left: the engine, clock, transport and player state, the
// controller values and the notes counted as sounding.
inline void ForgetPlayState(core::Session& session, app::AppState& state, CheckingOutput& out) {
    state.engine = engine::EngineState{};
    state.clock = engine::ClockState{};
    state.transport = engine::TransportState{};
    session.Style().player = engine::StylePlayerState{};
    session.Style().sections = engine::SectionState{};
    session.Controllers().Clear();
    out.sounding = {};
}

// A session with `buffers` stream buffers and the modules that play built by the arranger
// (engine, clock, transport, chord recognition, and song playback when a target attaches it),
// both outputs checked.
struct ArrangerRig {
    explicit ArrangerRig(int buffers = 1)
        : session(MakeFuzzSession(buffers)), arranger(std::make_unique<app::Arranger>(*session, state)) {
        session->SetAccompanimentOutput(&out);
        session->SetClockOutput(&out);
    }
    ~ArrangerRig() { arranger.reset(); }

    void ResetPlayState() { ForgetPlayState(*session, state, out); }

    std::unique_ptr<core::Session> session;
    app::AppState state;
    std::unique_ptr<app::Arranger> arranger;
    CheckingOutput out;
};

// The same, with the engine looping its parts by its own section logic instead of the
// transport's (as a style alone renders).
struct PlayerRig : ArrangerRig {
    explicit PlayerRig(int buffers = 1)
        : ArrangerRig(buffers), engine(&arranger->Engine()), clock(&arranger->Clock()) {
        engine->SetTransport(nullptr);
    }

    engine::AccompanimentEngine* engine;
    engine::Clock* clock;
};

}  // namespace chordella::fuzzing
