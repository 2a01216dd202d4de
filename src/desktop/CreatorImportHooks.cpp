#include "desktop/CreatorImportHooks.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/LiveArranger.h"
#include "core/Session.h"
#include "engine/ChannelSettings.h"
#include "engine/Clock.h"
#include "engine/ClockTables.h"
#include "engine/Transport.h"

namespace chordella::desktop {

namespace {
constexpr int LowestTempo = 25;
constexpr int HighestTempo = 250;
}  // namespace

void CreatorImportHooks::StopRecording() {
    if (app_.transport.ChordPlayMode > 0) arranger_.Transport().Stop();
}

void CreatorImportHooks::ResetStyle() {
    data::StyleState& style = session_.Style().style;
    style.Header.Reset();
    style.Parts = data::PartTable{};
    style.PartBounds = {};
    for (auto& row : style.NotesEndInPart) row.fill(0);
    style.StyleModified = 0;
}

int CreatorImportHooks::MeasureUnits() { return std::max<int>(data::UnitsPerBeat, app_.clock.MeasureUnits); }

void CreatorImportHooks::SwitchOffCountIn() { app_.options.CountIn = false; }

void CreatorImportHooks::SetTempo(int bpm) {
    if (bpm < LowestTempo || bpm > HighestTempo) return;
    app_.clock.Tempo = bpm;
    session_.Style().style.Header.StyleTempo = static_cast<std::int16_t>(bpm);
    arranger_.Clock().TempoFieldChanged(bpm);
}

void CreatorImportHooks::SetMeter(const std::string& meter) {
    const int index = engine::MetrumIndexOf(meter);
    if (index < 0) return;
    app_.options.Metrum = index;
    arranger_.Clock().SelectMetrum(index);
    session_.Style().style.Header.StyleMeter = static_cast<std::int16_t>(app_.clock.MeasureUnits);
}

void CreatorImportHooks::MarkChannelsUsed(const std::array<std::uint8_t, 16>& used) {
    session_.Style().style.Header.ChannelUsed = used;
}

void CreatorImportHooks::ClearMelody() {
    // New material has no melody of its own: cleared without "Delete Melody ?" (the backup
    // keeps the last recording for "R&estore").
    data::MelodyTrack& track = app_.arrangement.Melody;
    std::fill(track.MelodyBuffer.begin(), track.MelodyBuffer.end(), data::MelodyEvent{});
    track.MelodyCount = 0;
    app_.melody.MelodyIndex = 0;
}

void CreatorImportHooks::SelectFreeChannel(int channel) {
    engine::SetVoiceChannel(app_.engine, channel);
}

void CreatorImportHooks::QuarterNoteMeter() {
    if (app_.clock.MeterKind != engine::MeterKind::Eighth) return;
    if (app_.options.ConvertEighthBase) return;  // x/8 material kept on an eighth-note base
    const int index = engine::MetrumIndexForUnits(app_.clock.MeasureUnits, engine::MeterKind::Quarter);
    if (index < 0) return;
    app_.options.Metrum = index;
    arranger_.Clock().SelectMetrum(index);
}

void CreatorImportHooks::ShowProgress(const std::string& status, std::size_t done, std::size_t total) {
    session_.Display().ShowStatus(done >= total ? std::string() : status);
}

}  // namespace chordella::desktop
