// A song file played from the chord memory with a small test style: whatever the song's
// records and melody hold (loops, jumps, wild commands, chords of unknown types), every
// message sent must be valid MIDI, the position stays inside the chord memory, nothing reads
// outside a buffer, and after Stop no note is left sounding.
//
// Input: a song file (.vxa).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "PlayerRig.h"
#include "app/SongPlayback.h"
#include "data/SongFile.h"
#include "engine/ChordMemoryPlayer.h"
#include "engine/Transport.h"
#include "support/StyleBuilder.h"

namespace {

using namespace chordella;

constexpr int TicksPlayed = 4000;

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

struct Rig : fuzzing::ArrangerRig {
    Rig() : songs(arranger->Songs().player) {}
    engine::ChordMemoryPlayer& songs;
    std::vector<std::uint8_t> style = TestStyle();
};

Rig& TheRig() {
    static Rig rig;
    return rig;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Rig& rig = TheRig();
    core::Session& session = *rig.session;
    app::AppState& app = rig.state;
    const data::SongReadResult read = data::ReadSongFile(std::span<const std::uint8_t>(data, size));
    if (!read.Ok) return 0;
    rig.ResetPlayState();
    app.songPlay = engine::SongPlayState{};
    app.melody = engine::MelodyState{};
    app.chords = chords::ChordState{};
    app.arrangement = data::ArrangementState{};
    if (!fuzzing::LoadStyleFile(session.Style().style, rig.style)) std::abort();
    data::ApplySongFile(read.Content, app.arrangement);
    const std::uint8_t options = size > 0 ? data[size - 1] : 0;
    app.options.Loop = options & 1;
    app.options.PlayEnding = options & 2;
    app.options.MinusOne = options & 4;
    app.options.Metronome = options & 8;
    rig.songs.SetLoop(options & 1, 1 + (options >> 4), 2 + (options >> 5));
    rig.songs.SetStartMeasure(static_cast<int>(options % 7) - 3);
    rig.arranger->Clock().SetMeasureUnitsFromFile(app.arrangement.Chords.SongMeter());
    rig.arranger->Clock().StartVirtual(120);
    rig.arranger->Transport().Play();
    for (int tick = 0; tick < TicksPlayed && app.transport.ChordPlayMode != 0; ++tick) {
        rig.arranger->Clock().RunVirtualTicks(1);
        const int position = app.arrangement.ChordMemoryPos;
        if (position > data::ChordMemoryPositionLimit + 4 || position < -32000) std::abort();
    }
    rig.arranger->Transport().Stop();
    if (rig.out.AnySounding()) std::abort();
    return 0;
}
