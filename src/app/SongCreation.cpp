#include "app/SongCreation.h"

#include "app/AppState.h"
#include "core/Session.h"
#include "chords/KeyboardLayout.h"
#include "core/StyleStore.h"
#include "data/ArrangementState.h"

namespace chordella::app {

composer::GeneratorInputs GeneratorInputsOf(core::Session& session, const AppState& app) {
    composer::GeneratorInputs inputs;
    inputs.Tempo = app.clock.Tempo;
    inputs.MeasureUnits = app.clock.MeasureUnits;
    const chords::KeyboardLayout layout = chords::CurrentLayout(app.chords, app.keyboard, app.config);
    inputs.Keys = layout.Keys;
    inputs.ChordZoneLowestKey = layout.FirstKey;
    const data::StyleState& style = session.Style().style;
    const data::PartRecord& basic = style.Parts[static_cast<std::size_t>(data::Index(data::StylePart::Basic))];
    if (style.StyleLoaded && basic.Present()) inputs.BasicPartMeasures = basic.LengthMeasures;
    return inputs;
}

void ApplyGeneratedSong(core::Session& session, AppState& app, const composer::GeneratedSong& song) {
    data::ArrangementState& arrangement = app.arrangement;
    composer::WriteGeneratedSong(song, arrangement.Chords);
    arrangement.CreatorRepeatFlag = song.CreatorRepeatFlag ? 1 : 0;
    arrangement.CreatorProgressionMode = song.ProgressionMode;
    arrangement.ChordMemoryPos = data::ChordMemoryHeaderSize;
    arrangement.StartMeasure = 1;
    arrangement.EndMeasure = data::MeasureCount(arrangement.Chords.ChordMemoryLength, song.MeasureUnits);
    // The clock takes the tempo as it does a song's that is opened (its timer follows);
    // without a wired host the field changes alone.
    app.clock.Tempo = song.Tempo;
    session.ArrangementLink().SetSongTempo(song.Tempo);
    session.ArrangementLink().SongOpened();
}

bool StyleHasBassTrack(core::Session& session) {
    const data::StyleHeader& header = session.Style().style.Header;
    for (int channel = 0; channel < data::StyleChannels; ++channel) {
        if (channel == 9 || !header.ChannelUsed[static_cast<std::size_t>(channel)]) continue;
        const int program = header.ChannelSetup[static_cast<std::size_t>(channel)][data::SetupProgramIndex];
        if (program >= 32 && program <= 39) return true;
    }
    return false;
}

composer::StyleLoadOutcome SessionStyleLoader::LoadChosenStyle(const std::string& path) {
    composer::StyleLoadOutcome outcome;
    data::StyleStore store(session_);
    outcome.Loaded = store.Load(path, false) == data::StyleLoadResult::Loaded;
    if (!outcome.Loaded) return outcome;
    const data::StyleState& style = session_.Style().style;
    bool anyPart = false;
    for (const auto& part : style.Parts) anyPart = anyPart || part.Present();
    outcome.HasMaterial = style.StyleLength > 0 && anyPart;
    outcome.HasBassTrack = StyleHasBassTrack(session_);
    return outcome;
}

}  // namespace chordella::app
