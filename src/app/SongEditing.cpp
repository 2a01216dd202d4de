#include "app/SongEditing.h"

#include "core/SongFiles.h"
#include "data/InstrumentSet.h"
#include "engine/ClockState.h"
#include "remote/InstrumentKeys.h"

#include "core/Session.h"
#include "app/Settings.h"
#include "composer/ChartFiles.h"
#include "composer/ProgramChanges.h"
#include "data/GeneralMidi.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace chordella::app {

SongEditing::SongEditing(Session& session, data::ArrangementState& arrangement, core::Options& options,
                         const engine::ClockState& clockState)
    : session_(session),
      arrangement_(arrangement),
      options_(options),
      clockState_(clockState),
      editor_(arrangement.Chords) {}

int SongEditing::MeasureUnits() {
    const int units = session_.ArrangementLink().MeasureUnits();
    return units >= 4 && units <= 64 && units % 4 == 0 ? units : 16;
}

composer::GridContext SongEditing::Context() {
    composer::GridContext context;
    context.MeasureUnits = MeasureUnits();
    context.SharpSpelling = options_.FlatSharp;
    const data::ControlKeys keys = ControlKeysOf(options_);
    context.Commands.SectionKeys = data::SectionKeyNotes::From(keys.FillIn, keys.ToBasic, keys.Ending, keys.ToExtended);
    context.Commands.SharpSpelling = options_.FlatSharp;
    return context;
}

SongGridView SongEditing::Grid() {
    const composer::GridContext context = Context();
    SongGridView view;
    view.MeasureUnits = context.MeasureUnits;
    view.Headers = composer::BeatHeaders(context.MeasureUnits);
    const data::ChordMemory& memory = arrangement_.Chords;
    view.Empty = memory.IsEmpty();
    if (!view.Empty) view.Rows = composer::BuildGrid(memory, context);
    view.CanUndo = editor_.CanUndo();
    view.TwelveBarMode = editor_.TwelveBarMode();
    view.IgnoreProgramChanges = options_.IgnoreMidiCommands;
    view.ProgramCount = options_.NumberOfMidiPrograms;
    view.Bank = bank_;
    view.StartNumber = startNumber_;
    view.ProgramListEntries = static_cast<int>(programList_.size());
    view.EveryEightMeasures = !options_.EverySixteenMeasures;
    view.Randomly = options_.Randomly;
    view.OnlyAtBeginning = options_.OnlyAtBeginningOfSong;
    view.UsingCommandKeys = options_.UsingCommandKeys;
    view.EveryLoading = everyLoading_;
    return view;
}

bool SongEditing::EnterChord(int measure, int beat, int root, int type) {
    if (root < 1 || root > 127 || type < 1 || type > 255) return false;
    const int units = MeasureUnits();
    data::BeatRecord record = arrangement_.Chords.RecordAt(composer::GridPosition(measure, beat, units));
    record.ChordRoot = static_cast<std::uint8_t>(root);
    record.ChordType = static_cast<std::uint8_t>(type);
    return editor_.WriteRecord({measure, beat, units, false}, record);
}

bool SongEditing::EnterSectionKey(int measure, int beat, int key) {
    if (key < 1 || key > 127) return false;
    const int units = MeasureUnits();
    data::BeatRecord record = arrangement_.Chords.RecordAt(composer::GridPosition(measure, beat, units));
    record.CommandCode = static_cast<std::uint8_t>(key);
    record.CommandParam = data::ParamSectionKey;
    return editor_.WriteRecord({measure, beat, units, false}, record);
}

SongEditReply SongEditing::Apply(const SongEditRequest& request) {
    const int units = MeasureUnits();
    const composer::EditPlace place{request.Measure, request.Beat, units, session_.ArrangementLink().StylePlaying()};
    const data::ChordMemory& memory = arrangement_.Chords;
    const data::BeatRecord current =
        memory.RecordAt(composer::GridPosition(request.Measure, request.Beat, units));
    SongEditReply reply;
    reply.SelectedRow = request.Measure;
    composer::EditOutcome outcome;
    switch (request.Edit) {
    case SongEdit::InsertMeasure: outcome = editor_.InsertMeasure(place); break;
    case SongEdit::CreateMeasures:
        outcome = editor_.CreateMeasures(request.Entry, units);
        if (outcome) reply.SelectedRow = 1;
        break;
    case SongEdit::DeleteMeasure: outcome = editor_.DeleteMeasure(place); break;
    case SongEdit::InsertBeat: outcome = editor_.InsertBeat(place); break;
    case SongEdit::DeleteBeat: outcome = editor_.DeleteBeat(place); break;
    case SongEdit::CopyMeasures:
        outcome = editor_.CopyMeasures(request.First, request.Last, request.Destination, place);
        break;
    case SongEdit::Undo: outcome = editor_.Undo(reply.SelectedRow); break;
    case SongEdit::SetChord: {
        data::BeatRecord record = current;
        const bool none = request.Type == 0;  // the chord goes on from the beat before
        record.ChordRoot = none ? 0 : static_cast<std::uint8_t>(48 + ((request.Root % 12) + 12) % 12);
        record.ChordType = none ? 0 : static_cast<std::uint8_t>(request.Type >= 1 && request.Type <= 17 ? request.Type : 1);
        outcome = editor_.SetRecord(place, record);
        break;
    }
    case SongEdit::SetCommand: {
        data::BeatRecord record = current;
        if (request.SectionKey >= 0 && request.SectionKey < 9) {
            record.CommandCode = static_cast<std::uint8_t>(Context().Commands.SectionKeys.Notes[static_cast<std::size_t>(request.SectionKey)]);
            record.CommandParam = data::ParamSectionKey;
        } else {
            record.CommandCode = static_cast<std::uint8_t>(request.CommandCode & 0xFF);
            record.CommandParam = static_cast<std::uint8_t>(request.CommandParam & 0xFF);
        }
        outcome = editor_.SetRecord(place, record);
        break;
    }
    case SongEdit::ClearCell: outcome = editor_.SetRecord(place, {}); break;
    case SongEdit::SetTwelveBarMode: editor_.SetTwelveBarMode(request.On); break;
    // Playback reads the option at each program-change command; the remote's indicator follows it.
    case SongEdit::IgnoreProgramChanges: options_.IgnoreMidiCommands = request.On; break;
    case SongEdit::InsertProgramChanges: {
        const composer::ProgramChangeOutcome inserted = InsertProgramChanges();
        outcome.Changed = inserted.Inserted > 0;
        outcome.Message = inserted.Message;
        break;
    }
    case SongEdit::ProgramCount:
    case SongEdit::StartNumber:
    case SongEdit::ImportProgramList:
    case SongEdit::CreateProgramList:
    case SongEdit::ProgramOption: outcome.Message = ProgramSettings(request); break;
    case SongEdit::RemoveProgramChanges:
        outcome.Changed = composer::RemoveProgramChanges(arrangement_.Chords, units) > 0;
        options_.AutochangeProgram = false;
        break;
    }
    reply.Message = outcome.Message;
    if (outcome) {
        editor_.SetEditorModified(true);
        arrangement_.EndMeasure =
            std::max(1, data::MeasureCount(memory.ChordMemoryLength, units));
    }
    reply.Grid = Grid();
    return reply;
}

composer::ProgramChangeSettings SongEditing::ProgramSettingsNow() const {
    composer::ProgramChangeSettings settings;
    settings.ProgramCount = options_.NumberOfMidiPrograms;
    settings.StartNumber = startNumber_;
    settings.ProgramList = programList_;
    settings.UsingCommandKeys = options_.UsingCommandKeys;
    settings.CommandKey = options_.CommandKey;
    settings.EveryEightMeasures = !options_.EverySixteenMeasures;
    settings.Randomly = options_.Randomly;
    settings.OnlyAtBeginning = options_.OnlyAtBeginningOfSong;
    settings.CreatorRepeatFlag = arrangement_.CreatorRepeatFlag != 0;
    return settings;
}

void SongEditing::ProgramChangesAfterGeneration(int formMeasures, int songMeasures) {
    if (!options_.AutochangeProgram) return;
    composer::ProgramChangeSettings settings = ProgramSettingsNow();
    settings.CreatorForm = formMeasures;
    settings.CreatorMeasures = songMeasures;
    // The new song has no file of its own yet: a loop end that moves is kept in memory only.
    composer::InsertProgramChanges(arrangement_.Chords, MeasureUnits(), settings,
                                   [this](int bound) { return session_.Random().Below(bound); });
}

composer::ProgramChangeOutcome SongEditing::InsertProgramChanges() {
    const composer::ProgramChangeOutcome inserted = composer::InsertProgramChanges(
        arrangement_.Chords, MeasureUnits(), ProgramSettingsNow(),
        [this](int bound) { return session_.Random().Below(bound); });
    options_.AutochangeProgram = inserted.Inserted > 0;
    // A loop end moved to make room changed the stored song: it is saved, unless the changes
    // are meant to be made anew with every loading.
    if (inserted.LoopEndMoved && !everyLoading_ && !arrangement_.ArrangementPath.empty())
        data::SongFiles(session_, arrangement_, options_).Save();
    return inserted;
}

std::string SongEditing::ProgramSettings(const SongEditRequest& request) {
    std::string message;
    switch (request.Edit) {
    case SongEdit::ProgramCount:
        options_.NumberOfMidiPrograms = composer::ReadProgramCount(request.Entry, message);
        bank_ = composer::ReadBankNumber(request.Entry2);
        break;
    case SongEdit::StartNumber: startNumber_ = composer::ReadStartNumber(request.Entry); break;
    case SongEdit::ImportProgramList: {
        std::string text, error;
        if (!platform::ReadTextFile(request.Entry, 1024 * 1024, text, error)) return request.Entry + ": " + error + " !";
        programList_ = composer::ReadProgramList(text, message);
        break;
    }
    case SongEdit::CreateProgramList: {
        std::string error;
        if (!platform::WriteFileAtomically(request.Entry, std::string_view(composer::ProgramListText()), error))
            return request.Entry + ": " + error + " !";
        break;
    }
    case SongEdit::ProgramOption:
        switch (request.Option) {
        case ProgramOption::EveryEightMeasures: options_.EverySixteenMeasures = !request.On; break;
        case ProgramOption::Randomly: options_.Randomly = request.On; break;
        case ProgramOption::OnlyAtBeginning: options_.OnlyAtBeginningOfSong = request.On; break;
        case ProgramOption::UsingCommandKeys: options_.UsingCommandKeys = request.On; break;
        case ProgramOption::EveryLoading: everyLoading_ = request.On; break;
        }
        break;
    default: break;
    }
    return message;
}

LeadSheetKeys LeadSheetKeysOf(const remote::InstrumentKeyTable& keys, const data::InstrumentSet& instruments) {
    LeadSheetKeys listed;
    for (int k = 0; k < remote::SetKeyCount; ++k)
        if (std::string name = remote::InstrumentKeyName(keys, k, instruments.Lines); !name.empty())
            listed.Instruments.push_back(std::move(name));
    for (int k = remote::FirstFunctionKey; k < remote::InstrumentKeyCount; ++k) {
        const std::string name = remote::InstrumentKeyName(keys, k, instruments.Lines);
        listed.FunctionSet.push_back(name.empty() ? "-" : name);
    }
    return listed;
}

LeadSheetOutcome SongEditing::WriteLeadSheet(composer::LeadSheetVariant variant, const LeadSheetKeys& keys) {
    LeadSheetOutcome outcome;
    const data::ArrangementState& song = arrangement_;
    if (song.Chords.IsEmpty()) {
        outcome.Error = composer::ChordMemoryIsEmpty;
        return outcome;
    }
    const int units = MeasureUnits();
    composer::LeadSheetInput input;
    input.Meter = std::to_string(units / 4) + "/4";
    input.Tempo = clockState_.Tempo;
    input.StyleReference = session_.ArrangementLink().LoadedStylePath();
    input.Instruments = keys.Instruments;
    input.FunctionSet = keys.FunctionSet;
    outcome.Text = composer::LeadSheetText(song.Chords, Context(), input, variant);
    const std::string folder =
        song.ArrangementPath.empty() ? session_.Paths().Songs() : platform::FolderOf(song.ArrangementPath);
    platform::MakeFolders(folder);
    outcome.Path = folder + "/" + composer::LeadSheetFileName(song.ArrangementPath);
    outcome.Ok = platform::WriteFileAtomically(outcome.Path, std::string_view(outcome.Text), outcome.Error);
    return outcome;
}

std::string SongEditing::ChannelValues() {
    std::vector<std::string> names;
    for (std::string_view name : data::GeneralMidiProgramNames()) names.emplace_back(name);
    return composer::ChannelValuesText(session_.Controllers(), names);
}

}  // namespace chordella::app

namespace chordella::app {

std::string SongEditing::ExportChart(const std::string& path, const std::string& format, int transpose) {
    const data::ArrangementState& song = arrangement_;
    if (song.Chords.IsEmpty()) return composer::ChordMemoryIsEmpty;
    const std::optional<composer::ChartFormat> chartFormat = composer::ChartFormatNamed(format);
    if (!chartFormat) return "no chart format \"" + format + "\"";
    const std::string stylePath = session_.ArrangementLink().LoadedStylePath();
    std::string style(platform::FileNamePart(stylePath));
    if (const std::size_t dot = style.rfind('.'); dot != std::string::npos && dot > 0) style.erase(dot);
    const composer::ChordChart chart = composer::ChartFromSong(song.Chords, song.Text, style, MeasureUnits(), transpose);
    std::string error;
    if (!platform::WriteFileAtomically(path, std::string_view(composer::WriteChart(chart, *chartFormat)), error))
        return path + ": " + error;
    return {};
}

SongEditReply SongEditing::ImportChart(const std::string& path) {
    SongEditReply reply;
    data::ArrangementLink& host = session_.ArrangementLink();
    std::string text;
    std::string error;
    if (host.StylePlaying() || host.ChordsRecording()) {
        reply.Message = composer::StopStyleFirst;
    } else if (!platform::ReadTextFile(path, 4 * 1024 * 1024, text, error)) {
        reply.Message = path + ": " + error;
    } else {
        composer::ChartReading reading = composer::ReadChart(text);
        if (!reading.Ok) {
            reply.Message = std::string(platform::FileNamePart(path)) + ": " + reading.Error;
        } else {
            const composer::EditOutcome outcome = composer::ReplaceSongByChart(reading.Chart, arrangement_);
            reply.Message = outcome.Message;
            if (outcome) {
                host.SetSongMeter(reading.Chart.BeatsPerMeasure * data::BeatRecordSize);
                host.SetSongTempo(reading.Chart.Tempo);
                host.SongOpened();
                editor_.ForgetSnapshot();
                for (const std::string& warning : reading.Chart.Warnings)
                    reply.Message += (reply.Message.empty() ? "" : "\n") + warning;
            }
        }
    }
    reply.Grid = Grid();
    return reply;
}

}  // namespace chordella::app
