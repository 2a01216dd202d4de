#pragma once
// A session with the engine, a virtual clock and a recording accompaniment output: load a
// style made with StyleBuilder, submit chords, run ticks, read what was sent.

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/Session.h"
#include "core/StyleStore.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "support/RecordingOutput.h"
#include "support/StyleBuilder.h"
#include "support/TestSession.h"

namespace chordella::testing {

constexpr int C4 = 60;

// Messages as {status, data 1, data 2}, to compare a whole sequence at once.
using MessageTriples = std::vector<std::array<int, 3>>;
inline MessageTriples TriplesOf(const std::vector<SentMessage>& messages) {
    MessageTriples triples;
    for (const SentMessage& m : messages) triples.push_back({m.Status, m.Data1, m.Data2});
    return triples;
}

struct EngineRig {
    EngineRig() {
        // The engine tests state every option they depend on; start from the plain
        // settings rather than the program's designed defaults (which shape velocities).
        Options().CompLimit = false;
        Options().SoloOnChannel1 = false;
        Options().AdjustChordOctave = false;
        Options().PadOctave = 0;
        Options().PadMuteAtIntrosAndEndings = false;
        Options().StyleChordChanges = 1;
        Session().SetEngineLink(&Accompaniment);
        Session().SetAccompanimentOutput(&Out);
        Clock.SetupClock();
    }

    core::Session& Session() { return *Test.session; }
    app::AppState& State() { return Test.state; }
    engine::EngineState& Engine() { return State().engine; }
    engine::ClockState& ClockFields() { return State().clock; }
    engine::StylePlayerState& Player() { return Session().Style().player; }
    core::Options& Options() { return State().options; }

    // Loads the style through the real .vxs reader.
    bool Load(const StyleBuilder& builder) {
        const std::string path = Test.home.Path() + "/Test.vxs";
        if (!builder.Write(path)) return false;
        data::StyleStore store(Session());
        return store.Load(path) == data::StyleLoadResult::Loaded;
    }

    // Loads the style and starts `part` on the virtual clock at 120 bpm.
    void Play(const StyleBuilder& builder, data::StylePart part = data::StylePart::Basic) {
        ASSERT_TRUE(Load(builder));
        Clock.StartVirtual(120);
        ASSERT_TRUE(Accompaniment.Sections().PlayPart(data::Index(part)));
    }

    // What chord recognition does: the chord and its notes to the engine.
    void Chord(int root, int type) {
        const std::array<std::int16_t, 4> notes{static_cast<std::int16_t>(root), static_cast<std::int16_t>(root + 4),
                                                static_cast<std::int16_t>(root + 7), 0};
        Session().Engine().SubmitChord({static_cast<std::int16_t>(root), static_cast<std::int16_t>(type)}, notes);
    }

    void Run(std::int64_t ticks) { Clock.RunVirtualTicks(ticks); }

    TestSession Test;
    RecordingOutput Out{&Test.state.clock.TickCount};
    engine::AccompanimentEngine Accompaniment{*Test.session, State().engine, ClockFields(), Options()};
    engine::Clock Clock{*Test.session, Accompaniment, ClockFields(), Options()};
};

}  // namespace chordella::testing
