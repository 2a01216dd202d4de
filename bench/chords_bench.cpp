// How long a chord takes from a change of the held keys until it is recognised and handed
// to the engine: the work the control thread does for each key in the chord zone.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <memory>

#include "core/Options.h"
#include "core/Session.h"
#include "chords/ChordNames.h"
#include "chords/ChordRecogniser.h"
#include "chords/ChordState.h"
#include "platform/RecordingPrompter.h"
#include "support/StandInLinks.h"

using namespace chordella;

namespace {

struct CountingEngine final : chordella::testing::StandInEngine {
    void SubmitChord(core::ChordPair, const std::array<std::int16_t, 4>& notes) override { last = notes[0]; }
    std::int16_t last = 0;
};

struct Bench {
    Bench() {
        core::SessionParts parts;
        parts.prompter = std::make_unique<platform::RecordingPrompter>();
        parts.paths = platform::Paths::InFolder("/tmp/chordella-bench");
        session = std::make_unique<core::Session>(std::move(parts));
        session->SetEngineLink(&engine);
        recogniser = std::make_unique<chords::ChordRecogniser>(*session, chordState, options, engine);
        session->SetChordLink(recogniser.get());
    }
    ~Bench() { session->SetEngineLink(nullptr); }
    CountingEngine engine;
    std::unique_ptr<core::Session> session;
    chords::ChordState chordState;
    core::Options options;
    std::unique_ptr<chords::ChordRecogniser> recogniser;
};

const std::array<std::array<int, 4>, 4> Chords = {{{60, 64, 67, 70}, {62, 65, 69, 72}, {59, 62, 65, 69}, {65, 69, 72, 74}}};

}  // namespace

// Only the naming: four held keys to root and type.
static void RecogniseFourHeldKeys(benchmark::State& state) {
    chords::HeldNoteList list;
    chords::ChordState chordState;
    std::size_t which = 0;
    for (auto _ : state) {
        list.Clear();
        for (const int key : Chords[which]) list.Add(key);
        benchmark::DoNotOptimize(chords::RecogniseChord(list, chordState, chords::AllTypesIndex, chords::RecogniseMode::Live));
        which = (which + 1) % Chords.size();
    }
}
BENCHMARK(RecogniseFourHeldKeys);

// The whole step for one key press: the key joins the held notes, the chord is recognised
// and SetChord hands it on (type options applied, four notes built, engine called).
static void KeyPressToSubmittedChord(benchmark::State& state) {
    Bench b;
    auto& held = b.session->Style().heldNotes;
    std::size_t which = 0;
    for (auto _ : state) {
        state.PauseTiming();
        held.Clear();
        held.Add(Chords[which][0]);
        held.Add(Chords[which][1]);
        state.ResumeTiming();
        held.Add(Chords[which][2]);
        const core::ChordPair chord = b.recogniser->Recognise();
        b.recogniser->SetChord(chord.Root, chord.Type, 0);
        benchmark::DoNotOptimize(b.engine.last);
        which = (which + 1) % Chords.size();
    }
}
BENCHMARK(KeyPressToSubmittedChord);

// A key release: the pitch class leaves the list and the chord is set again.
static void KeyReleaseToSubmittedChord(benchmark::State& state) {
    Bench b;
    auto& held = b.session->Style().heldNotes;
    for (auto _ : state) {
        for (const int key : {60, 64, 67, 70}) held.Add(key);
        held.Remove(70);
        const core::ChordPair chord = b.recogniser->Recognise();
        b.recogniser->SetChord(chord.Root, chord.Type, 0);
        held.Clear();
        benchmark::DoNotOptimize(b.engine.last);
    }
}
BENCHMARK(KeyReleaseToSubmittedChord);

// The style creator's analysis of a full list of 750 notes.
static void AnalyseAFullList(benchmark::State& state) {
    chords::HeldNoteList list;
    chords::ChordState chordState;
    for (auto _ : state) {
        for (int i = 0; i < chords::HeldNoteList::Capacity; ++i) list.Add(Chords[static_cast<std::size_t>(i) % 4][static_cast<std::size_t>(i) % 4]);
        benchmark::DoNotOptimize(
            chords::RecogniseChord(list, chordState, chords::AllTypesIndex, chords::RecogniseMode::Analysis, 4));
    }
}
BENCHMARK(AnalyseAFullList);

static void NameAChord(benchmark::State& state) {
    chords::ChordState chordState;
    int root = 60;
    for (auto _ : state) {
        auto name = chords::ChordName(chordState, root, 4);
        benchmark::DoNotOptimize(name);
        root = root == 71 ? 60 : root + 1;
    }
}
BENCHMARK(NameAChord);
