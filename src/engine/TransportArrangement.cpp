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

TransportArrangement::TransportArrangement(core::Session& session, Transport& transport, Clock& clock)
    : session_(session), transport_(transport), clock_(clock) {}

TransportArrangement::~TransportArrangement() {
    if (&session_.ArrangementLink() == this) session_.SetArrangementLink(nullptr);
}

bool TransportArrangement::ChordsRecording() { return session_.App().transport.ChordPlayMode > 0; }
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

int TransportArrangement::MeasureUnits() { return session_.App().clock.MeasureUnits; }

void TransportArrangement::SetSongTempo(int beatsPerMinute) {
    // A header without a tempo (0, or a damaged byte) leaves the tempo as it is.
    if (beatsPerMinute < LowestSongTempo || beatsPerMinute > HighestSongTempo) return;
    ClockState& clock = session_.App().clock;
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
    core::AppState& app = session_.App();
    engine::SendMelodyProgram(app.arrangement.Melody, app.melody, app.options, app.engine,
                              session_.AccompanimentOutput(), program);
}

void TransportArrangement::SongCleared() { session_.App().arrangement.ChordMemoryPos = data::ChordMemoryHeaderSize; }

}  // namespace chordella::engine
