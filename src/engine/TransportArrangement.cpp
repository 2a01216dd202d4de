#include "engine/TransportArrangement.h"

#include "core/Session.h"
#include "data/SongStyleLookup.h"
#include "core/StyleStore.h"
#include "engine/Clock.h"
#include "engine/MelodyPlayer.h"
#include "engine/Outputs.h"
#include "engine/Transport.h"

namespace chordella::engine {

namespace {
constexpr int LowestSongTempo = 20;
constexpr int HighestSongTempo = 300;
}  // namespace

TransportArrangement::TransportArrangement(core::Session& session, Transport& transport, Clock& clock,
                                           data::ArrangementState& arrangement, const MelodyState& melodyState,
                                           const core::Options& options, const EngineState& engineState)
    : session_(session),
      transport_(transport),
      clock_(clock),
      arrangement_(arrangement),
      melodyState_(melodyState),
      options_(options),
      engineState_(engineState) {}

TransportArrangement::~TransportArrangement() {
    session_.Unwire(this);
}

bool TransportArrangement::ChordsRecording() { return transport_.State().ChordPlayMode > 0; }
void TransportArrangement::StopRecording() {
    if (ChordsRecording()) transport_.Stop();
}
bool TransportArrangement::StylePlaying() { return session_.Style().player.StyleActive != 0; }
void TransportArrangement::StopPlayback() { transport_.Stop(); }
void TransportArrangement::StartPlayback() { transport_.Play(); }
bool TransportArrangement::StyleLoaded() { return LoadedStyle(session_).StyleLength != 0; }
std::string TransportArrangement::LoadedStylePath() { return StyleLoaded() ? LoadedStyle(session_).StylePath : std::string(); }

bool TransportArrangement::OpenStyleByPath(const std::string& storedPath, bool quiet) {
    // The stored path may be a Windows path or name a style below another data home: the
    // lookup tries it as it is, below this data home and by file name in STYLES.
    const std::optional<std::string> found = data::FindSongStyle(storedPath, session_.Paths());
    data::StyleStore store(session_);
    if (found) return store.Load(*found, false) == data::StyleLoadResult::Loaded;
    return store.OpenByPath(storedPath, quiet ? data::MissingStyle::Silent : data::MissingStyle::Tell) ==
           data::StyleLoadResult::Loaded;
}

int TransportArrangement::MeasureUnits() { return clock_.State().MeasureUnits; }

void TransportArrangement::SetSongTempo(int beatsPerMinute) {
    // A header without a tempo (0, or a damaged byte) leaves the tempo as it is.
    if (beatsPerMinute < LowestSongTempo || beatsPerMinute > HighestSongTempo) return;
    ClockState& clock = clock_.State();
    // The virtual clock (offline rendering, tests) runs without a timer: only the field
    // changes, so opening a song never starts the real timer under it.
    if (clock.ClockState != 0 && clock.TimerId == 0) {
        clock.Tempo = beatsPerMinute;
        return;
    }
    clock_.TempoFieldChanged(beatsPerMinute);
}

void TransportArrangement::SetSongMeter(int measureUnits) { clock_.SetMeasureUnitsFromFile(measureUnits); }

void TransportArrangement::SendMelodyProgram(int program) {
    engine::SendMelodyProgram(arrangement_.Melody, melodyState_, options_, engineState_, session_.AccompanimentOutput(),
                              program);
}

void TransportArrangement::SongCleared() { arrangement_.ChordMemoryPos = data::ChordMemoryHeaderSize; }

}  // namespace chordella::engine
