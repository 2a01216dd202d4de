#include "app/DesktopSongHost.h"

#include "app/LiveArranger.h"
#include "app/Session.h"
#include "data/SongStyleLookup.h"
#include "data/StyleStore.h"
#include "engine/Clock.h"
#include "engine/Transport.h"

namespace chordella::app {

DesktopSongHost::DesktopSongHost(Session& session, LiveArranger& arranger) : session_(session), arranger_(arranger) {
    session_.SetSongHost(this);
}

DesktopSongHost::~DesktopSongHost() {
    if (&session_.SongHost() == this) session_.SetSongHost(nullptr);
}

bool DesktopSongHost::ChordsRecording() { return session_.App().transport.ChordPlayMode > 0; }

void DesktopSongHost::StopRecording() {
    if (ChordsRecording()) arranger_.Transport().Stop();
}

bool DesktopSongHost::StylePlaying() { return session_.Style().player.StyleActive != 0; }

void DesktopSongHost::StopPlayback() { arranger_.Transport().Stop(); }

void DesktopSongHost::StartPlayback() { arranger_.Transport().Play(); }

bool DesktopSongHost::StyleLoaded() { return session_.Style().style.StyleLength > 0; }

std::string DesktopSongHost::LoadedStylePath() { return StyleLoaded() ? session_.Style().style.StylePath : std::string(); }

bool DesktopSongHost::OpenStyleByPath(const std::string& storedPath, bool quiet) {
    // The stored path may be a Windows path or name a style below another data home: the
    // lookup tries it as it is, below this data home and by file name in STYLES.
    const std::optional<std::string> found = data::FindSongStyle(storedPath, session_.Paths());
    data::StyleStore store(session_);
    if (found) return store.Load(*found, false) == data::StyleLoadResult::Loaded;
    return store.OpenByPath(storedPath, quiet ? data::MissingStyle::Silent : data::MissingStyle::Tell) ==
           data::StyleLoadResult::Loaded;
}

int DesktopSongHost::MeasureUnits() { return session_.App().clock.MeasureUnits; }

void DesktopSongHost::SetSongTempo(int beatsPerMinute) {
    session_.App().clock.Tempo = beatsPerMinute;
    arranger_.Clock().TempoFieldChanged(beatsPerMinute);
    session_.Display().ShowTempo(beatsPerMinute);
}

void DesktopSongHost::SetSongMeter(int measureUnits) { arranger_.Clock().SetMeasureUnitsFromFile(measureUnits); }

void DesktopSongHost::SendMelodyProgram(int program) {
    midi::MidiOut* out = session_.AccompanimentOutput();
    if (out == nullptr || !out->IsOpen() || program < 0 || program > 127) return;
    const int channel = session_.App().melody.MelodyChannel;
    out->PutShort(static_cast<std::uint8_t>(0xC0 | (channel & 0x0F)), static_cast<std::uint8_t>(program), 0);
}

}  // namespace chordella::app
