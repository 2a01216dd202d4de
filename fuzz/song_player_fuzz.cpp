// A song file played from the chord memory with a small test style: whatever the song's
// records and melody hold (loops, jumps, wild commands, chords of unknown types), every
// message sent must be valid MIDI, the position stays inside the chord memory, nothing reads
// outside a buffer, and after Stop no note is left sounding.
//
// Input: a song file (.vxa).
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

#include "app/Session.h"
#include "chords/ChordRecogniser.h"
#include "data/SongFile.h"
#include "data/StyleAnalysis.h"
#include "data/StyleFile.h"
#include "engine/AccompanimentEngine.h"
#include "engine/ChordMemoryPlayer.h"
#include "engine/Clock.h"
#include "engine/MelodyPlayer.h"
#include "engine/Transport.h"
#include "platform/ScriptedPrompter.h"
#include "support/StyleBuilder.h"

namespace {

using namespace chordella;

constexpr int TicksPlayed = 4000;

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

std::vector<std::uint8_t> TestStyle() {
    testing::StyleBuilder b;
    testing::PartBuilder& basic = b.Part(data::StylePart::Basic);
    for (int beat = 1; beat <= 4; ++beat) {
        basic.Note(0, 48, 100, b.Beat(beat), 20);
        basic.Note(1, 64, 90, b.Beat(beat), 30);
        basic.Note(9, 36, 100, b.Beat(beat), 10);
    }
    b.Part(data::StylePart::Ending).Measures(2).Note(0, 48, 100, 0, 90);
    return b.Bytes();
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
        recogniser = std::make_unique<chords::ChordRecogniser>(*session);
        melody = std::make_unique<engine::MelodyPlayer>(*session);
        songs = std::make_unique<engine::ChordMemoryPlayer>(*session, *engine, *transport, *melody);
        session->SetAccompanimentOutput(&out);
        session->SetClockOutput(&out);
        style = TestStyle();
    }
    std::unique_ptr<app::Session> session;
    std::unique_ptr<engine::AccompanimentEngine> engine;
    std::unique_ptr<engine::Clock> clock;
    std::unique_ptr<engine::Transport> transport;
    std::unique_ptr<chords::ChordRecogniser> recogniser;
    std::unique_ptr<engine::MelodyPlayer> melody;
    std::unique_ptr<engine::ChordMemoryPlayer> songs;
    std::vector<std::uint8_t> style;
    CheckingOutput out;
};

Rig& TheRig() {
    static Rig rig;
    return rig;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Rig& rig = TheRig();
    app::Session& session = *rig.session;
    const data::SongReadResult read = data::ReadSongFile(std::span<const std::uint8_t>(data, size));
    if (!read.Ok) return 0;
    session.App().engine = engine::EngineState{};
    session.App().clock = engine::ClockState{};
    session.App().transport = engine::TransportState{};
    session.App().songPlay = engine::SongPlayState{};
    session.App().melody = engine::MelodyState{};
    session.App().chords = chords::ChordState{};
    session.Style().player = engine::StylePlayerState{};
    session.Style().sections = engine::SectionState{};
    session.App().arrangement = data::ArrangementState{};
    rig.out.sounding = {};
    if (!LoadFile(session.Style().style, rig.style)) std::abort();
    data::ApplySongFile(read.Content, session.App().arrangement);
    const std::uint8_t options = size > 0 ? data[size - 1] : 0;
    session.App().options.Loop = options & 1;
    session.App().options.PlayEnding = options & 2;
    session.App().options.MinusOne = options & 4;
    session.App().options.Metronome = options & 8;
    rig.songs->SetLoop(options & 1, 1 + (options >> 4), 2 + (options >> 5));
    rig.songs->SetStartMeasure(static_cast<int>(options % 7) - 3);
    rig.clock->SetMeasureUnitsFromFile(session.App().arrangement.Chords.SongMeter());
    rig.clock->StartVirtual(120);
    rig.transport->Play();
    for (int tick = 0; tick < TicksPlayed && session.App().transport.ChordPlayMode != 0; ++tick) {
        rig.clock->RunVirtualTicks(1);
        const int position = session.App().arrangement.ChordMemoryPos;
        if (position > data::ChordMemoryPositionLimit + 4 || position < -32000) std::abort();
    }
    rig.transport->Stop();
    if (rig.out.AnySounding()) std::abort();
    return 0;
}
