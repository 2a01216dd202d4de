#pragma once
// The transport rig with the song side attached: chord recognition (SetChord), the melody
// track and chord-memory playback. Songs come from SongBuilder, the style from StyleBuilder:
// one measure of Basic with a bass note (channel 1) and a drum (channel 10) on every beat.

#include <vector>

#include "app/TransportPeers.h"
#include "chords/ChordRecogniser.h"
#include "data/ChordMemory.h"
#include "engine/ChordMemoryPlayer.h"
#include "engine/MelodyPlayer.h"
#include "engine/TransportArrangement.h"
#include "engine/TransportRig.h"
#include "support/SongBuilder.h"

namespace chordella::testing {

constexpr int BassNote = 48;
constexpr int DrumNote = 36;

inline StyleBuilder BeatStyle() {
    StyleBuilder b;
    PartBuilder& basic = b.Part(data::StylePart::Basic);
    for (int beat = 1; beat <= 4; ++beat) {
        basic.Note(0, BassNote, 100, b.Beat(beat), 20);
        basic.Note(9, DrumNote, 100, b.Beat(beat), 10);
    }
    return b;
}

struct SongRig : TransportRig {
    SongRig() {
        Session().SetChordLink(&Recogniser);
        Session().SetMelodyLink(&Melody);
        Session().SetArrangementLink(&Host);
        Transport.SetPeers(&Peers);
        Clock.SelectQuantize(engine::QuantizeIndexOf("1/4"));
        Options().PlayIntro = false;
    }

    app::AppState& State() { return Test.state; }
    data::ArrangementState& Song() { return State().arrangement; }
    engine::SongPlayState& Play() { return State().songPlay; }
    std::int16_t& Position() { return Song().ChordMemoryPos; }

    // Loads the style and the song and starts playback on the virtual clock.
    void PlaySong(const SongBuilder& song, const StyleBuilder& style = BeatStyle()) {
        ASSERT_TRUE(Load(style));
        song.ApplyTo(Song());
        Clock.StartVirtual(120);
        Transport.Play();
        ASSERT_LT(State().transport.ChordPlayMode, 0);
    }

    bool Playing() { return State().transport.ChordPlayMode != 0; }

    // Runs until playback stops (at most `limit` ticks); returns the measure of every beat
    // played, in order (one entry per measure start).
    std::vector<int> PlayedMeasures(int limit = 20000) {
        std::vector<int> measures;
        const int units = ClockFields().MeasureUnits;
        for (int i = 0; i < limit && Playing(); ++i) {
            const int before = Position();
            Run(1);
            if (Position() == before || !Playing()) continue;
            const int played = Position() - 4;
            if (played >= 4 && (played - 4) % units == 0) measures.push_back(data::MeasureOf(played, units));
        }
        return measures;
    }

    chords::ChordRecogniser Recogniser{*Test.session, State().chords, State().options, Accompaniment};
    engine::MelodyPlayer Melody{*Test.session, State().melody, State().arrangement, State().options, State().engine,
                                State().transport, State().clock};
    engine::ChordMemoryPlayer Songs{
        *Test.session,     State().songPlay, State().arrangement, State().options, State().clock, State().engine,
        State().transport, State().config,   Accompaniment,       Transport,       Melody, Recogniser};
    app::TransportPeers Peers{Recogniser, Songs};
    engine::TransportArrangement Host{*Test.session, Transport, Clock, State().arrangement, State().melody,
                                      State().options, State().engine};
};

// Measures first … last, `times` times over.
inline std::vector<int> Repeated(int first, int last, int times) {
    std::vector<int> measures;
    for (int t = 0; t < times; ++t) {
        for (int m = first; m <= last; ++m) measures.push_back(m);
    }
    return measures;
}

}  // namespace chordella::testing
