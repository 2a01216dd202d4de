#include "app/RenderSession.h"

#include <algorithm>

#include "app/ForeignStylePlay.h"
#include "core/Session.h"
#include "midi/MidiBackend.h"
#include "core/SongFiles.h"
#include "data/ArrangementLink.h"
#include "data/StyleAnalysis.h"
#include "core/StyleStore.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "engine/OfflineRenderer.h"
#include "engine/Transport.h"
#include "platform/RecordingPrompter.h"
#include "app/AppState.h"
#include "app/Arranger.h"

namespace chordella::app {

namespace {

// Longest song rendering: every beat of a full chord memory eight times over (loops).
constexpr std::int64_t SongTickLimit = std::int64_t{data::ChordMemoryPositionLimit} / 4 * 24 * 8;

std::unique_ptr<core::Session> MakeSession(const platform::Paths& paths, std::unique_ptr<midi::MidiBackend> backend,
                                         platform::RecordingPrompter*& prompter) {
    auto recording = std::make_unique<platform::RecordingPrompter>();
    prompter = recording.get();
    core::SessionParts parts;
    parts.prompter = std::move(recording);
    parts.paths = paths;
    parts.midiBackend = std::move(backend);
    return std::make_unique<core::Session>(std::move(parts));
}

// The chord a style plays over, handed to the engine the way chord recognition does.
void SubmitChord(core::Session& session, int root, int type) {
    const std::array<std::int16_t, 4> notes{static_cast<std::int16_t>(root), static_cast<std::int16_t>(root + 4),
                                            static_cast<std::int16_t>(root + 7), 0};
    session.Engine().SubmitChord({static_cast<std::int16_t>(root), static_cast<std::int16_t>(type)}, notes);
}

}  // namespace

RenderSession::RenderSession(const platform::Paths& paths, std::unique_ptr<midi::MidiBackend> backend)
    : app_(std::make_unique<AppState>()),
      session_(MakeSession(paths, std::move(backend), prompter_)),
      arranger_(std::make_unique<Arranger>(*session_, *app_)),
      songReader_(std::make_unique<data::OfflineSongHost>()) {
    session_->SetArrangementLink(songReader_.get());
    PrepareOptions();
}

RenderSession::~RenderSession() { session_->Unwire(songReader_.get()); }

engine::AccompanimentEngine& RenderSession::Engine() { return arranger_->Engine(); }
engine::Clock& RenderSession::Clock() { return arranger_->Clock(); }

void RenderSession::PlayThroughTransport(bool through) {
    Engine().SetTransport(through ? &arranger_->Transport() : nullptr);
}

void RenderSession::PrepareOptions() {
    core::Options& options = app_->options;
    // Nothing but the accompaniment is rendered: no MIDI clock, no metronome, no count-in.
    options.CountIn = false;
    options.MasterMode = false;
    options.SlaveMode = false;
    options.Metronome = false;
}

bool RenderSession::LoadStyle(const std::string& path, std::string& error) {
    prompter_->ClearShown();
    loadNotes_.clear();
    if (IsForeignStyleFile(path)) {
        ForeignLoad loaded = LoadForeignStyle(*session_, *app_, path, foreignSet_);
        loadNotes_ = std::move(loaded.Messages);
        error = loaded.Error;
        return loaded.Loaded;
    }
    data::StyleStore store(*session_);
    if (store.Load(path, false) == data::StyleLoadResult::Loaded) return true;
    error = prompter_->LastShown("the style was not loaded");
    return false;
}

bool RenderSession::LoadSong(const std::string& path, std::string& error) {
    prompter_->ClearShown();
    data::SongFiles songs(*session_, app_->arrangement, app_->options);
    const data::OpenOutcome outcome = songs.Open({data::OpenSource::Path, path, false});
    if (outcome != data::OpenOutcome::Opened) {
        error = prompter_->LastShown("the song was not opened");
        return false;
    }
    loadNotes_ = prompter_->Shown();
    const data::ChordMemory& chords = app_->arrangement.Chords;
    if (chords.SongTempo() >= 25 && chords.SongTempo() <= 250) app_->clock.Tempo = chords.SongTempo();
    return true;
}

void RenderSession::CopyFrom(core::Session& live, const AppState& liveApp) {
    app_->options = liveApp.options;
    PrepareOptions();
    const engine::ClockState& liveClock = liveApp.clock;
    Clock().SelectQuantize(liveClock.QuantizeIndex);
    Clock().SetMeasureUnitsFromFile(liveClock.MeasureUnits);
    app_->clock.Tempo = liveClock.Tempo;
    app_->engine.GlobalTranspose = liveApp.engine.GlobalTranspose;

    const data::StyleState& from = live.Style().style;
    data::StyleStore store(*session_);
    data::StyleState& to = session_->Style().style;
    if (from.StyleLength > 0 && from.StreamBytes() != nullptr && store.EnsureBuffers()) {
        to.Header = from.Header;
        to.Parts = from.Parts;
        to.PartBounds = from.PartBounds;
        to.NotesEndInPart = from.NotesEndInPart;
        to.StyleLength = from.StyleLength;
        std::copy_n(from.StreamBytes(), data::StreamCapacity, to.StreamBytes());
        to.StylePath = from.StylePath;
        to.StyleDisplayName = from.StyleDisplayName;
        to.StyleLoaded = 1;
    }
    data::ArrangementState& song = app_->arrangement;
    const data::ArrangementState& liveSong = liveApp.arrangement;
    song.Chords = liveSong.Chords;
    song.Melody = liveSong.Melody;
    song.Text = liveSong.Text;
    song.StyleReference = liveSong.StyleReference;
    song.HasStyleReference = liveSong.HasStyleReference;
    song.StartMeasure = liveSong.StartMeasure;
    song.EndMeasure = liveSong.EndMeasure;
}

bool RenderSession::StyleLoaded() {
    const data::StyleState& style = session_->Style().style;
    return style.StyleLength > 0 && style.StreamBytes() != nullptr;
}

bool RenderSession::HasSong() { return !app_->arrangement.Chords.IsEmpty(); }

bool RenderSession::CanPlaySongs() { return true; }

int RenderSession::MeasureTicks() { return std::max(1, static_cast<int>(app_->clock.MeasureUnits)) * 6; }

std::string RenderSession::TrackName() {
    const std::string& title = app_->arrangement.Text.SongTitle;
    if (!title.empty() && HasSong()) return title;
    return session_->Style().style.StyleDisplayName;
}

bool RenderSession::RenderPart(int part, data::SmfContent& content, int root, int type) {
    if (!StyleLoaded()) return false;
    const std::int64_t ticks = PartTicks(*session_, part);
    engine::OfflineRenderer renderer(*session_, Engine(), Clock());
    renderer.Start(app_->clock.Tempo);
    PlayThroughTransport(false);
    if (!Engine().Sections().PlayPart(part)) return false;
    SubmitChord(*session_, root, type);
    renderer.Run(std::max<std::int64_t>(ticks, 1));
    content = renderer.Finish(TrackName());
    return true;
}

int RenderSession::StylePart() {
    const data::PartTable& parts = session_->Style().style.Parts;
    for (const data::StylePart candidate : {data::StylePart::Basic, data::StylePart::Extended, data::StylePart::Intro,
                                            data::StylePart::Ending}) {
        if (parts[static_cast<std::size_t>(data::Index(candidate))].Present()) return data::Index(candidate);
    }
    return data::Index(data::StylePart::Basic);
}

bool RenderSession::StartStyle() {
    if (!StyleLoaded()) return false;
    PlayThroughTransport(false);
    if (!Engine().Sections().PlayPart(StylePart())) return false;
    SubmitChord(*session_, RenderChordRoot, RenderChordType);
    return true;
}

bool RenderSession::StartSong() {
    if (!CanPlaySongs() || !HasSong() || !StyleLoaded()) return false;
    PlayThroughTransport(true);
    arranger_->Transport().Play();
    return session_->Style().player.StyleActive != 0 || Engine().Transport().ChordMemoryBusy();
}

bool RenderSession::RenderStyle(int measures, data::SmfContent& content) {
    if (!StyleLoaded()) return false;
    engine::OfflineRenderer renderer(*session_, Engine(), Clock());
    renderer.Start(app_->clock.Tempo);
    if (!StartStyle()) return false;
    renderer.Run(static_cast<std::int64_t>(std::max(1, measures)) * MeasureTicks());
    content = renderer.Finish(TrackName());
    return true;
}

bool RenderSession::RenderSong(int maxMeasures, data::SmfContent& content) {
    if (!CanPlaySongs() || !HasSong() || !StyleLoaded()) return false;
    PlayThroughTransport(true);
    // The transport plays the song: chord-memory playback steps through it as the
    // transport's peer, section commands switch parts, the STOP record ends it.
    {
        engine::OfflineRenderer renderer(*session_, Engine(), Clock());
        renderer.Start(app_->clock.Tempo);
        arranger_->Transport().Play();
        const std::int64_t limit =
            maxMeasures > 0 ? static_cast<std::int64_t>(maxMeasures) * MeasureTicks() : SongTickLimit;
        renderer.RunWhilePlaying(limit);
        content = renderer.Finish(TrackName());
    }
    return true;
}

std::int64_t PartTicks(core::Session& session, int part) {
    const data::StyleState& style = session.Style().style;
    if (part < 0 || part >= data::PartCount || style.StreamBytes() == nullptr) return 0;
    const data::PartRecord& record = style.Parts[static_cast<std::size_t>(part)];
    const std::int32_t end = std::min(record.RangeEnd, std::min(style.StyleLength, data::StreamCapacity));
    const std::uint8_t* stream = style.StreamBytes();
    std::int64_t ticks = 0;
    for (std::int32_t pos = std::max(record.RangeStart, 0); pos < end;) {
        const std::uint8_t b = stream[pos];
        if (b == data::stream::EndOfStream || b == data::stream::EndOfBuffer) break;
        if (data::stream::IsWait(b)) ticks += data::stream::WaitTicks(b);
        pos += data::stream::IsChannelMessage(b) ? data::stream::MessageLength : 1;
    }
    return ticks;
}

}  // namespace chordella::app
