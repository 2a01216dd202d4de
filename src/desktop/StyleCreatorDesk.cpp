#include "desktop/StyleCreatorDesk.h"

#include <algorithm>

#include "app/StateParts.h"
#include "core/MidiImport.h"
#include "core/Session.h"
#include "core/StyleStore.h"
#include "data/StyleAnalysis.h"
#include "data/WorkFile.h"
#include "platform/Files.h"
#include "stylecreator/PartFlags.h"
#include "stylecreator/StructureApply.h"

namespace chordella::desktop {

using namespace stylecreator;

StyleCreatorDesk::StyleCreatorDesk(core::Session& session, app::AppState& app, data::MidiImportLink& imports)
    : session_(session), app_(app),
      creator_(session, state_, app::CreatorLiveStateOf(app)),
      player_(session, creator_),
      host_(creator_),
      setter_(session.Style().style, session.Prompter(), host_),
      quick_(session.Style().style, setter_, host_, session.Prompter()),
      events_(session, app.engine, host_),
      recorder_(creator_, host_),
      capture_(creator_, host_, recorder_, setter_),
      importer_(session, app.options, &imports) {
    host_.UsePlayer(&player_);
    creator_.SetImportHooks(&imports);
}

StyleCreatorDesk::~StyleCreatorDesk() = default;

void StyleCreatorDesk::TakeSettings(const CreatorRequest& r) {
    state_.Generator = r.Generator;
    state_.Generator.Clamp();
    state_.Conversion = r.Conversion;
    if (state_.Mode != r.Mode) {
        state_.MarkPointer = 0;
        if (r.Mode == CreatorMode::Style) host_.StopPlayback();  // switching to Style mode stops
    }
    state_.Mode = r.Mode;
    state_.SongRange = r.SongRange;
    state_.StyleRange = r.StyleRange;
    state_.LoopMeasures = std::clamp(r.LoopMeasures, 1, 8);
    state_.MultiplyBy2 = r.MultiplyBy2;
    state_.SelectedPart = std::clamp(r.SelectedPart, 0, data::PartCount - 1);
}

void StyleCreatorDesk::ImportMidi(const std::string& path) {
    host_.StopPlayback();
    creator_.ClearWork([this, path](bool cleared) {
        if (!cleared) return;
        // The outcome arrives through the callback, at once or after the open dialog.
        importer_.Import(path, false, false, [this, path](data::ImportOutcome outcome) {
            if (outcome == data::ImportOutcome::Imported) Imported(path);
        });
    });
}

void StyleCreatorDesk::Imported(const std::string& path) {
    state_.LastImportedFile = path.empty() ? session_.Style().Work.SourceFile : path;
    creator_.RebuildBeatIndex();
    Status("Imported: " + state_.LastImportedFile);
    if (session_.Style().style.StyleModified == 0) player_.Play();
}

void StyleCreatorDesk::LoadWork(const std::string& path) {
    auto load = [this](const std::string& chosen) {
        std::string error;
        workDirectory_ = std::string(platform::FolderOf(chosen));
        host_.StopPlayback();
        if (!creator_.LoadWork(chosen, error)) return session_.Prompter().Inform(error + " !");
        RebuildNotesEnd(session_.Style().style, host_.Material(), false);
        creator_.RebuildBeatIndex();
        Status("Work loaded: " + chosen);
    };
    auto choose = [this, path, load] {
        if (!path.empty()) return load(path);
        const std::string folder = workDirectory_.empty() ? session_.Paths().Styles() : workDirectory_;
        session_.Prompter().OpenFileThen(data::WorkLoadTitle, data::WorkFileFilter, folder + "/",
                                         [load](std::optional<std::string> chosen) {
                                             if (chosen) load(*chosen);
                                         });
    };
    if (!creator_.HasWork() && app_.arrangement.Chords.IsEmpty()) return choose();
    session_.Prompter().ConfirmThen(ReplaceChordsSongOrStyle, [choose](bool yes) {
        if (yes) choose();
    });
}

void StyleCreatorDesk::SaveWork(const std::string& path) {
    if (!creator_.HasWork()) return;
    auto save = [this](const std::string& chosen) {
        std::string error;
        if (!creator_.SaveWork(chosen, error)) return session_.Prompter().Inform(error + " !");
        workDirectory_ = std::string(platform::FolderOf(chosen));
        Status("Work saved: " + chosen);
    };
    if (!path.empty()) return save(path);
    const std::string folder = workDirectory_.empty() ? session_.Paths().Styles() : workDirectory_;
    session_.Prompter().SaveFileThen(SaveWorkTitle, data::WorkFileFilter, folder + "/",
                                     [save](std::optional<std::string> chosen) {
                                         if (chosen) save(*chosen);
                                     });
}

void StyleCreatorDesk::OfferSaveBeforeExit(std::function<void(bool proceed)> done) {
    const core::StyleContainer& container = session_.Style();
    if (!creator_.HasWork() || (!container.Work.WorkModified && container.style.StyleModified == 0)) return done(true);
    session_.Prompter().ConfirmThen(SaveWorkFirst, [this, done](bool save) {
        if (!save) return done(true);
        const std::string folder = workDirectory_.empty() ? session_.Paths().Styles() : workDirectory_;
        session_.Prompter().SaveFileThen(SaveWorkTitle, data::WorkFileFilter, folder + "/",
                                         [this, done](std::optional<std::string> chosen) {
                                             if (!chosen) return done(false);
                                             std::string error;
                                             if (!creator_.SaveWork(*chosen, error)) {
                                                 session_.Prompter().Inform(error + " !");
                                                 return done(false);
                                             }
                                             done(true);
                                         });
    });
}

void StyleCreatorDesk::LoadStyle(const std::string& path) {
    auto load = [this](const std::string& chosen) {
        host_.StopPlayback();
        state_.Mode = CreatorMode::Song;
        if (data::StyleStore(session_).Load(chosen, true) != data::StyleLoadResult::Loaded) return;
        creator_.RebuildBeatIndex();
        Status("Style loaded: " + chosen);
    };
    if (!path.empty()) return load(path);
    const data::StyleState& style = session_.Style().style;
    const std::string folder = style.StyleDirectory.empty() ? session_.Paths().Styles() : style.StyleDirectory;
    session_.Prompter().OpenFileThen(LoadStyleTitle, StyleFileFilter, folder + "/",
                                     [load](std::optional<std::string> chosen) {
                                         if (chosen) load(*chosen);
                                     });
}

std::string StyleCreatorDesk::EnsureStructureFile() {
    const std::string path = session_.Paths().ConfigDir() + "/" + StructureFileName;
    if (platform::FileExists(path)) return path;
    // A file to fill in: every section with its keys, no part set, every channel playing.
    std::string text = "[Channels]\nMuting=1111111111111111\n";
    for (StructureStyle style : {StructureStyle::A, StructureStyle::B})
        for (int part = 0; part < data::PartCount; ++part)
            text += "\n[" + StructureSection(part, style) + "]\nStart=0\nEnd=0\n";
    std::string error;
    platform::MakeFolders(session_.Paths().ConfigDir());
    if (!platform::WriteFileAtomically(path, std::string_view(text), error)) {
        session_.Prompter().Inform(error + " !");
        return {};
    }
    return path;
}

void StyleCreatorDesk::PartFlags(const CreatorRequest& r) {
    data::StyleState& style = session_.Style().style;
    const int part = state_.SelectedPart;
    switch (r.What) {
    case CreatorRequest::CutNotes:
        if (SetPartCutNotes(style, part, r.Value != 0) == 0) Status("Set the part first");
        break;
    case CreatorRequest::CutNotesToAll:
        Status(std::to_string(CutNotesToAllParts(style, part)) + " parts changed");
        break;
    case CreatorRequest::MutingToAll:
        Status(std::to_string(MutingToAllParts(style, app_.engine.ChannelMute)) + " parts changed");
        break;
    case CreatorRequest::SuppressControllers: SetSuppressControllers(style, r.Value != 0); break;
    case CreatorRequest::ImportOption:
        if (r.Value == 1) app_.options.DontGetMetrumFromFile = r.Value2 != 0;
        if (r.Value == 2) app_.options.ConvertEighthBase = r.Value2 != 0;
        break;
    default: break;
    }
}

void StyleCreatorDesk::TestStyle() {
    const std::string saved = state_.LastSavedStyle;
    if (saved.empty() || !platform::FileExists(saved)) return session_.Prompter().Inform("Style not found !");
    session_.Prompter().ConfirmThen(ReplaceWorkAndTest, [this, saved](bool yes) {
        if (!yes) return;
        state_.Mode = CreatorMode::Song;
        host_.StopPlayback();
        // The player's own channel keeps its set-up: the tested style must not change the
        // sound the player plays with.
        const std::size_t channel = static_cast<std::size_t>(app_.engine.VoiceChannel & 0x0F);
        const data::ChannelSetupRow kept = session_.Style().style.Header.ChannelSetup[channel];
        creator_.ClearWork([this, saved, channel, kept](bool cleared) {
            if (!cleared) return;
            session_.Style().Work.WorkLength = 0;
            if (data::StyleStore(session_).Load(saved, false) == data::StyleLoadResult::Loaded)
                session_.Style().style.Header.ChannelSetup[channel] = kept;
        });
    });
}

void StyleCreatorDesk::Structure(bool styleB) {
    StructureData data;
    std::string error;
    const std::string path = session_.Paths().ConfigDir() + "/" + StructureFileName;
    if (!LoadStructureFile(path, styleB ? StructureStyle::B : StructureStyle::A, data, error))
        return session_.Prompter().Inform(error + " !");
    const bool eighth = app_.clock.MeterKind == engine::MeterKind::Eighth;
    const StructureOutcome outcome =
        ApplyStructure(data, setter_, session_.Style().style, host_, app_.engine.ChannelMute,
                       session_.Prompter(), eighth);
    Status(std::to_string(outcome.PartsSet) + " parts set");
}

void StyleCreatorDesk::PlayFromStart() {
    if (creator_.HasWork() && !player_.Play()) Status("Nothing to play from there");
}

void StyleCreatorDesk::Events(const CreatorRequest& r) {
    switch (r.What) {
    case CreatorRequest::EventsOpen: {
        const std::int16_t meter = static_cast<std::int16_t>(creator_.MeasureUnits());
        const std::int32_t start =
            data::PositionToOffset(host_.Material(), meter, state_.StyleRange.StartMeasure, state_.StyleRange.StartBeat) + 1;
        const std::int32_t end = state_.StyleRange.StopMeasure > 0
                                     ? data::PositionToOffset(host_.Material(), meter, state_.StyleRange.StopMeasure + 1, 1) + 1
                                     : -1;
        events_.Open(std::max(start, 0), end > 0 ? end : -1, session_.Style().player.StylePos);
        break;
    }
    case CreatorRequest::EventsNext: events_.Next(); break;
    case CreatorRequest::EventsPrevious: events_.Previous(); break;
    case CreatorRequest::EventsSound: events_.SoundCurrent(); break;
    case CreatorRequest::EventsRelease: events_.ReleaseNote(); break;
    case CreatorRequest::EventsChange: events_.Change(r.Value, r.Value2); break;
    case CreatorRequest::EventsClear: events_.Clear(); break;
    case CreatorRequest::EventsUndo: events_.Undo(); break;
    case CreatorRequest::EventsVelocity: events_.SetVelocity(r.Value); break;
    default: break;
    }
}

CreatorView StyleCreatorDesk::Handle(const CreatorRequest& r) {
    status_.clear();
    // Every request carries the window's boxes as they are at the click.
    if (r.What != CreatorRequest::Refresh && r.What != CreatorRequest::ToggleMode) TakeSettings(r);
    switch (r.What) {
    case CreatorRequest::Refresh: break;
    case CreatorRequest::Settings: break;
    case CreatorRequest::ImportMidi: ImportMidi(r.Path); break;
    case CreatorRequest::RecordStart: recorder_.Start(false); break;
    case CreatorRequest::RecordStop:
        if (capturing_) {
            capturing_ = false;
            capture_.Finish();
        } else {
            recorder_.Stop();
        }
        break;
    case CreatorRequest::Capture:
        capturing_ = true;
        capture_.Start(r.Panel);
        break;
    case CreatorRequest::LoadWork: LoadWork(r.Path); break;
    case CreatorRequest::SaveWork: SaveWork(r.Path); break;
    case CreatorRequest::LoadStyle: LoadStyle(r.Path); break;
    case CreatorRequest::CutNotes:
    case CreatorRequest::CutNotesToAll:
    case CreatorRequest::MutingToAll:
    case CreatorRequest::SuppressControllers:
    case CreatorRequest::ImportOption: PartFlags(r); break;
    case CreatorRequest::EditStructure: {
        CreatorView v = View();
        v.StructurePath = EnsureStructureFile();
        return v;
    }
    case CreatorRequest::SaveStyle: {
        std::string error;
        if (!r.Path.empty() && !creator_.SaveStyle(r.Path, error)) session_.Prompter().Inform(error + " !");
        break;
    }
    case CreatorRequest::TestStyle: TestStyle(); break;
    case CreatorRequest::GenerateChords: creator_.GenerateChords(); break;
    case CreatorRequest::ConvertAll: creator_.ConvertAll(); break;
    case CreatorRequest::ConvertMeasures: creator_.ConvertMeasures(); break;
    case CreatorRequest::RestoreOriginal: creator_.RestoreOriginal(true, r.Keys.Ctrl); break;
    case CreatorRequest::ShiftNotes: Status(std::to_string(creator_.ShiftNotes(r.Value)) + " notes shifted"); break;
    case CreatorRequest::MoveChannel: Status(std::to_string(creator_.MoveChannel(r.Value, r.Value2)) + " events moved"); break;
    case CreatorRequest::SetPart: {
        PartRequest request;
        request.Part = r.Part;
        request.StartMeasure = r.StartMeasure;
        request.EndMeasure = r.EndMeasure;
        request.StartBeat = r.StartBeat;
        request.Mutes = app_.engine.ChannelMute;
        setter_.Set(request, true);
        break;
    }
    case CreatorRequest::ClearPart: setter_.Clear(r.Part); break;
    case CreatorRequest::QuickStyle: {
        const int start = state_.Mode == CreatorMode::Style ? state_.StyleRange.StartMeasure : state_.SongRange.StartMeasure;
        quick_.Run(r.Keys, start, state_.LoopLength(), true, [this] {
            creator_.ConvertAll();
            return creator_.HasWork();
        });
        break;
    }
    case CreatorRequest::UseStructure: Structure(r.StyleB); break;
    case CreatorRequest::PartAtPosition: {
        const data::StreamPosition at = data::OffsetToPosition(host_.Material(), static_cast<std::int16_t>(creator_.MeasureUnits()),
                                                               session_.Style().player.StylePos);
        PartOutcome outcome;
        setter_.SetNow(PartAtPosition(r.MenuItem, at.Measure, state_.LoopLength()), outcome);
        state_.Mode = CreatorMode::Style;
        break;
    }
    case CreatorRequest::Repair: {
        if (!creator_.HasWork()) break;
        PartOutcome outcome;
        for (const PartRequest& request : RepairRequests(session_.Style().style, r.Value == 1)) setter_.SetNow(request, outcome);
        break;
    }
    case CreatorRequest::RemovePercussion:
        Status(std::to_string(RemovePercussionSounds(session_.Style().style.Parts, host_.Material())) + " notes silenced");
        session_.Style().style.StyleModified = 1;
        break;
    case CreatorRequest::MeasureMark:
        if (ClickMeasureMarks(state_, recorder_.Recording(), recorder_.MeasureNow())) PlayFromStart();
        break;
    case CreatorRequest::LoopBack:
    case CreatorRequest::LoopForward: {
        const int step = r.What == CreatorRequest::LoopBack ? -state_.LoopLength() : state_.LoopLength();
        state_.StyleRange.StartMeasure = std::max(1, state_.StyleRange.StartMeasure + step);
        break;
    }
    case CreatorRequest::LoopStart:
    case CreatorRequest::LoopEnd: {
        // Only in Style mode, and only while the material plays: the measure heard is marked.
        if (state_.Mode != CreatorMode::Style || !player_.Playing()) break;
        const int measure = std::clamp(player_.Measure(), 1, stylecreator::MaxStopMeasure);
        if (r.What == CreatorRequest::LoopStart) {
            state_.StyleRange.StartMeasure = measure;
            state_.StyleRange.StartBeat = 1;
            if (state_.StyleRange.StopMeasure > 0 && state_.StyleRange.StopMeasure < measure) state_.StyleRange.StopMeasure = 0;
        } else {
            // The loop is closed: it plays from its start again.
            state_.StyleRange.StopMeasure = std::max(measure, state_.StyleRange.StartMeasure);
            PlayFromStart();
        }
        break;
    }
    case CreatorRequest::ToggleMode:
        state_.MarkPointer = 0;
        if (state_.Mode == CreatorMode::Song) host_.StopPlayback();  // switching to Style mode stops
        state_.Mode = state_.Mode == CreatorMode::Song ? CreatorMode::Style : CreatorMode::Song;
        break;
    case CreatorRequest::Play: PlayFromStart(); break;
    case CreatorRequest::Stop: host_.StopPlayback(); break;
    default: Events(r); break;
    }
    return View();
}

CreatorView StyleCreatorDesk::View() const {
    CreatorView v;
    const core::StyleContainer& container = session_.Style();
    v.Caption = container.Work.Caption.empty() ? data::CreatorTitle : container.Work.Caption;
    v.HasWork = creator_.HasWork();
    v.MeasuresAvailable = MeasuresInChunk0(container.Work, creator_.MeasureUnits());
    v.Recording = recorder_.Recording();
    v.RestoreEnabled = state_.RestoreEnabled;
    v.ChordsGenerated = state_.ChordsGenerated;
    v.CutNotes = quick_.CutNotesState();
    v.PartCutNotes = PartCutsNotes(container.style, state_.SelectedPart);
    v.SuppressControllers = container.style.Header.SuppressControllers != 0;
    v.DontGetMetrum = app_.options.DontGetMetrumFromFile;
    v.EighthBase = app_.options.ConvertEighthBase;
    v.Mode = state_.Mode;
    v.Generator = state_.Generator;
    v.Conversion = state_.Conversion;
    v.SongRange = state_.SongRange;
    v.StyleRange = state_.StyleRange;
    v.LoopMeasures = state_.LoopMeasures;
    v.MultiplyBy2 = state_.MultiplyBy2;
    v.SelectedPart = state_.SelectedPart;
    for (std::size_t p = 0; p < data::PartCount; ++p) {
        const data::PartRecord& record = container.style.Parts[p];
        v.Parts[p] = {record.Present(), record.StartMeasure, record.EndMeasure, record.StartBeat,
                      record.FollowUpCode == data::followup::Variation};
    }
    v.Event = events_.Current();
    v.Playing = session_.Transport().StyleStarted();
    if (v.Playing && player_.Playing()) {
        v.MeasureBeat = MeasureBeatText(player_.Measure(), player_.Beat());
    } else if (v.Playing) {
        const data::StreamPosition at = data::OffsetToPosition(
            data::FirstChunkMaterial(container.Work), static_cast<std::int16_t>(creator_.MeasureUnits()),
            container.player.StylePos);
        v.MeasureBeat = MeasureBeatText(at.Measure, at.Beat);
    }
    v.Status = status_;
    return v;
}

}  // namespace chordella::desktop
