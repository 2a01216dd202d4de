#include "stylecreator/StyleCreator.h"

#include <algorithm>
#include <cstdio>

#include "core/MidiImport.h"
#include "platform/Files.h"
#include "data/StyleFile.h"
#include "platform/TextCase.h"
#include "stylecreator/ChordGeneration.h"
#include "stylecreator/Conversion.h"
#include "stylecreator/MaterialBackup.h"
#include "stylecreator/NoteShifts.h"
#include "stylecreator/WorkFiles.h"

namespace chordella::stylecreator {

namespace {

void Finish(const StyleCreator::Done& done, bool changed) {
    if (done) done(changed);
}

std::string Format(const char* format, int a, int b = 0) {
    char text[120];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

}  // namespace

StyleCreator::StyleCreator(core::Session& session, CreatorState& state, const LiveState& live)
    : session_(session), state_(state), live_(live) {}

bool StyleCreator::HasWork() const { return session_.Style().Work.WorkLength > 0; }

int StyleCreator::MeasureUnits() const { return std::max<int>(data::UnitsPerBeat, live_.clock.MeasureUnits); }

bool StyleCreator::ChordMemoryLocked() const { return live_.transport.ChordPlayMode < 0; }

UnitRange StyleCreator::RangeOf(const MeasureRange& fields) const {
    const int units = MeasureUnits();
    const int start = std::clamp(fields.StartMeasure, 1, MaxStopMeasure);
    const int beat = std::clamp(fields.StartBeat, 1, std::max(1, units / data::UnitsPerBeat));
    const int stop = fields.StopMeasure <= 0 ? MaxStopMeasure : std::clamp(fields.StopMeasure, start, MaxStopMeasure);
    return {MeasurePosition(start, beat, units), MeasurePosition(stop + 1, 1, units)};
}

UnitRange StyleCreator::CurrentRange() const {
    return RangeOf(state_.Mode == CreatorMode::Style ? state_.StyleRange : state_.SongRange);
}

ChannelFilter StyleCreator::Filter() const {
    ChannelFilter filter;
    filter.Muted = live_.engine.ChannelMute;
    filter.Solo = live_.engine.SoloFilter;
    return filter;
}

void StyleCreator::MarkModified() {
    session_.Style().style.StyleModified = 1;
    session_.Style().Work.WorkModified = true;
}

// --- clearing the work ---------------------------------------------------------------------

void StyleCreator::ClearWork(Done done) {
    if (state_.Mode != CreatorMode::Style || session_.Style().style.StyleModified == 0) {
        ClearWorkNow();
        Finish(done, true);
        return;
    }
    session_.Prompter().ConfirmThen("Save Style first ?", [this, done](bool save) {
        if (!save) {
            ClearWorkNow();
            Finish(done, true);
            return;
        }
        session_.Prompter().SaveFileThen(StyleSaveTitle, StyleFileFilter, session_.Paths().Styles() + "/",
                                         [this, done](std::optional<std::string> path) {
                                             std::string error;
                                             if (!path) return Finish(done, false);
                                             if (!SaveStyle(*path, error)) {
                                                 session_.Prompter().Inform(error + " !");
                                                 return Finish(done, false);
                                             }
                                             ClearWorkNow();
                                             Finish(done, true);
                                         });
    });
}

void StyleCreator::ClearWorkNow() {
    core::StyleContainer& container = session_.Style();
    data::ClearWorkMaterial(container.Work);
    container.Work.WorkModified = false;
    container.Work.Caption = data::CreatorTitle;
    std::fill(state_.StyleBackup.begin(), state_.StyleBackup.end(), 0);
    std::fill(state_.Scratch.begin(), state_.Scratch.end(), 0);
    state_.BackupSize = 0;
    state_.ConvertedFlag = false;
    state_.RestoreEnabled = false;
    state_.Volumes.VolumeOffset = 0;
    state_.Volumes.ReverbOffset = 0;
    data::StyleState& style = container.style;
    style.Parts = data::PartTable{};
    for (auto& row : style.Header.ChannelSetup) row.fill(data::SetupNotSet);
    for (auto& row : style.NotesEndInPart) row.fill(0);
    style.PartBounds = {};
    // The channel rules belonged to the style the cleared work came from: left in place they
    // would transpose whatever material comes next by another style's table.
    style.Native = data::NativeRules{};
    beatIndex_.clear();
}

// --- generating chords -----------------------------------------------------------------------

void StyleCreator::GenerateChords(Done done) {
    if (!HasWork() || ChordMemoryLocked()) return Finish(done, false);
    if (!HoldsChords(live_.arrangement.Chords)) {
        Finish(done, GenerateNow());
        return;
    }
    session_.Prompter().ConfirmThen("Replace current chords ?", [this, done](bool yes) {
        Finish(done, yes && GenerateNow());
    });
}

bool StyleCreator::GenerateNow() {
    data::CreatorWork& work = session_.Style().Work;
    OriginalInChunk0 original(work, state_);
    if (!original.Ready()) {
        session_.Prompter().Inform("Sorry - Out of Memory !");
        return false;
    }
    session_.Transport().Stop();
    state_.Mode = CreatorMode::Song;
    state_.Generator.Clamp();
    const UnitRange range = RangeOf(state_.SongRange);
    GenerationRequest request;
    request.Settings = state_.Generator;
    request.StartPosition = range.Start;
    request.StopPosition = range.Stop;
    request.MeasureUnits = MeasureUnits();
    request.Transpose = live_.songPlay.SongTranspose;
    request.Zone = live_.chords;
    data::ClearChordMemory(live_.arrangement.Chords);
    lastGeneration_ = GenerateChordsFrom(work, live_.arrangement.Chords, request);
    live_.arrangement.ChordMemoryPos = data::FirstPosition;
    state_.ChordsGenerated = true;
    state_.StoredSettingsCode = state_.Generator.SettingsCode();
    return true;
}

// --- converting ----------------------------------------------------------------------------

bool StyleCreator::SettingsChanged() const { return state_.StoredSettingsCode != state_.Generator.SettingsCode(); }

void StyleCreator::ConvertAll(Done done) {
    if (!HasWork() || ChordMemoryLocked()) return Finish(done, false);
    data::CreatorWork& work = session_.Style().Work;
    state_.Mode = CreatorMode::Song;
    if (state_.ConvertedFlag) {
        RestoreOriginalMaterial(work, state_);
        state_.ConvertedFlag = false;
    } else {
        if (!SaveOriginal(work, state_)) {
            session_.Prompter().Inform("Sorry - Out of Memory !");
            return Finish(done, false);
        }
        state_.RestoreEnabled = true;
    }
    const UnitRange range = RangeOf(state_.SongRange);
    const bool holdsChords = HoldsChords(live_.arrangement.Chords);
    // Chords the user kept (generated with these settings, or entered after) stay.
    if (holdsChords && !SettingsChanged()) {
        ConvertNow(range);
        return Finish(done, true);
    }
    if (holdsChords && state_.Conversion.Confirm && !unattended_) {
        session_.Prompter().ConfirmThen("Generate new Chords ?", [this, range, done](bool yes) {
            if (yes && !GenerateNow()) return Finish(done, false);
            ConvertNow(range);
            Finish(done, true);
        });
        return;
    }
    if (!GenerateNow()) return Finish(done, false);
    ConvertNow(range);
    Finish(done, true);
}

void StyleCreator::ConvertMeasures(Done done) {
    if (!HasWork() || ChordMemoryLocked()) return Finish(done, false);
    const MeasureRange fields = state_.StyleRange;
    const int available = MeasuresInChunk0(session_.Style().Work, MeasureUnits());
    if (fields.StartMeasure > available) {
        session_.Prompter().Inform("Measures 1 - " + std::to_string(available) + " available for stylecreating !");
        return Finish(done, false);
    }
    auto convert = [this, fields, done]() {
        state_.Mode = CreatorMode::Style;
        const std::string question =
            fields.StopMeasure <= 0 ? Format("Modify all measures, starting at measure %d", fields.StartMeasure)
                                    : Format("Modify Measures %d - %d", fields.StartMeasure, fields.StopMeasure);
        auto go = [this, fields, done](bool yes) {
            if (!yes) return Finish(done, false);
            if (!state_.ConvertedFlag && !SaveOriginal(session_.Style().Work, state_)) {
                session_.Prompter().Inform("Sorry - Out of Memory !");
                return Finish(done, false);
            }
            state_.RestoreEnabled = true;
            ConvertNow(RangeOf(fields));
            Finish(done, true);
        };
        if (unattended_) return go(true);
        session_.Prompter().ConfirmThen(question, go);
    };
    if (!SettingsChanged()) return convert();
    if (!state_.Conversion.Confirm || unattended_) {
        if (!GenerateNow()) return Finish(done, false);
        return convert();
    }
    session_.Prompter().ConfirmThen("Generate new Chords ?", [this, convert, done](bool yes) {
        if (yes && !GenerateNow()) return Finish(done, false);
        convert();
    });
}

void StyleCreator::ConvertNow(UnitRange range) {
    ConversionRequest request;
    request.Settings = state_.Conversion;
    request.StartPosition = range.Start;
    request.StopPosition = range.Stop;
    request.Filter = Filter();
    lastConverted_ = ConvertMaterial(session_.Style().Work, live_.arrangement.Chords, request);
    state_.ConvertedFlag = true;
    MarkModified();
}

void StyleCreator::RestoreOriginal(bool pressed, bool ctrlHeld, Done done) {
    if (ctrlHeld) {
        if (state_.LastImportedFile.empty()) return Finish(done, false);
        data::MidiImporter importer(session_, live_.options, importHooks_);
        const bool imported = importer.Import(state_.LastImportedFile, false, true) == data::ImportOutcome::Imported;
        if (imported) {
            state_.ConvertedFlag = false;
            state_.RestoreEnabled = false;
            RebuildBeatIndex();
        }
        return Finish(done, imported);
    }
    if (!state_.RestoreEnabled || state_.BackupSize <= 0) return Finish(done, false);
    auto restore = [this, done](bool yes) {
        if (!yes) return Finish(done, false);
        RestoreOriginalMaterial(session_.Style().Work, state_);
        state_.ConvertedFlag = false;
        session_.Transport().Stop();
        MarkModified();
        Finish(done, true);
    };
    if (!pressed) return restore(true);
    session_.Prompter().ConfirmThen("Undo all conversions ?", restore);
}

// --- shifts and channel moves ----------------------------------------------------------------

int StyleCreator::ShiftNotes(int semitones) {
    if (!HasWork() || semitones == 0) return 0;
    const UnitRange range = CurrentRange();
    const int shifted = ShiftNoteKeys(session_.Style().Work, {range.Start, range.Stop}, Filter(), semitones);
    if (shifted > 0) MarkModified();
    return shifted;
}

int StyleCreator::MoveChannel(int from, int to) {
    if (!HasWork() || from == to || from < 0 || from > 15 || to < 0 || to > 15) return 0;
    const UnitRange range = CurrentRange();
    const MeasureRange& fields = state_.Mode == CreatorMode::Style ? state_.StyleRange : state_.SongRange;
    const bool whole = state_.Mode == CreatorMode::Song && fields.StartMeasure <= 1 && fields.StartBeat <= 1 &&
                       fields.StopMeasure <= 0;
    const int moved = MoveChannelMessages(session_.Style().Work, {range.Start, range.Stop}, from, to);
    MoveChannelSetup(session_.Style().style.Header, from, to, whole);
    MarkModified();
    return moved;
}

// --- files ---------------------------------------------------------------------------------

bool StyleCreator::LoadWork(const std::string& path, std::string& error) {
    data::WorkFile file;
    if (!data::ReadWorkFile(path, file, error)) return false;
    data::StyleHeader header;
    data::PartTable parts{};
    if (!ReadWorkBlocks(file, header, parts, error)) return false;
    core::StyleContainer& container = session_.Style();
    if (!data::PutWorkMaterial(file, container.Work)) {
        error = "Sorry - Out of Memory";
        return false;
    }
    data::StyleState& style = container.style;
    style.Header = header;
    style.Parts = parts;
    for (int part = 0; part < data::PartCount; ++part)
        style.PartBounds[static_cast<std::size_t>(part)] = {parts[static_cast<std::size_t>(part)].StartMeasure,
                                                            parts[static_cast<std::size_t>(part)].EndMeasure};
    style.StyleModified = 0;
    PutWorkChords(file, live_.arrangement.Chords);
    if (header.StyleMeter > 0) live_.clock.MeasureUnits = header.StyleMeter;
    state_.Mode = CreatorMode::Song;
    state_.RestoreEnabled = false;
    state_.ConvertedFlag = false;
    state_.BackupSize = 0;
    for (int part = 0; part < data::PartCount; ++part)
        if (parts[static_cast<std::size_t>(part)].Present()) {
            state_.SelectedPart = part;
            break;
        }
    const std::string name = platform::UpperCase(platform::FileNamePart(path));
    container.Work.Caption = std::string(data::CreatorTitle) + "  -  " + name;
    RebuildBeatIndex();
    return true;
}

bool StyleCreator::SaveWork(const std::string& path, std::string& error) {
    const core::StyleContainer& container = session_.Style();
    const data::WorkFile file =
        MakeWorkFile(container.Work, live_.arrangement.Chords, container.style.Header, container.style.Parts);
    if (!data::WriteWorkFile(path, file, error)) return false;
    session_.Style().Work.WorkModified = false;
    return true;
}

bool StyleCreator::SaveStyle(const std::string& path, std::string& error) {
    return SaveStyle(path, data::NativeRules{}, error);
}

bool StyleCreator::SaveStyle(const std::string& path, const data::NativeRules& native, std::string& error) {
    data::StyleState& style = session_.Style().style;
    const std::vector<std::uint8_t> stream = StyleStreamOf(session_.Style().Work);
    if (!data::CheckStyleStream(style.Parts, stream, error)) return false;
    if (!data::WriteStyleFile(path, style.Header, style.Parts, stream, native, error)) return false;
    style.StyleModified = 0;
    state_.LastSavedStyle = path;
    return true;
}

void StyleCreator::RebuildBeatIndex() { beatIndex_ = BuildBeatIndex(session_.Style().Work); }

}  // namespace chordella::stylecreator
