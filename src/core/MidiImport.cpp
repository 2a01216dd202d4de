#include "core/MidiImport.h"

#include <algorithm>
#include <vector>

#include "core/Options.h"
#include "core/Session.h"
#include "data/CreatorWorkWriter.h"
#include "midi/ControllerTable.h"
#include "platform/Files.h"
#include "platform/Outcome.h"
#include "platform/Paths.h"
#include "platform/TextCase.h"

namespace chordella::data {

namespace {

constexpr std::int32_t AppendPadLimit = 64000;  // appended material this long gets no padding

std::string LowerExtension(const std::string& path) {
    const std::string_view name = platform::FileNamePart(path);
    const std::size_t dot = name.rfind('.');
    return platform::LowerCase(dot == std::string_view::npos ? std::string_view() : name.substr(dot));
}

// Bytes of material from the start of the stream up to `at`.
std::int32_t StreamLength(const CreatorWork& work, WorkPosition at) {
    std::int64_t length = at.Offset;
    for (int chunk = 0; chunk < at.Chunk && chunk < MaxWorkChunks; ++chunk) length += work.Chunks[chunk].Size;
    return static_cast<std::int32_t>(std::min<std::int64_t>(length, INT32_MAX));
}

// The report of the file's first controller values to the shared table, keeping known values.
void ReportControllers(midi::ControllerTable& table, const ImportResult& result) {
    for (int channel = 0; channel < 16; ++channel) {
        for (int index = 0; index < midi::ControllerTable::RowSize; ++index) {
            const std::uint8_t value = result.FirstValues[channel][index];
            if (value == 255) continue;
            if (index == midi::ControllerTable::ProgramIndex)
                midi::ControllerChanged(table, 0xC0, channel, value, 0, true);
            else if (index == midi::ControllerTable::PressureIndex)
                midi::ControllerChanged(table, 0xD0, channel, value, 0, true);
            else
                midi::ControllerChanged(table, 0xB0, channel, index, value, true);
        }
    }
}

}  // namespace

bool IsStyleFormat(const std::string& path) { return LowerExtension(path) != ".mid"; }

MidiImporter::MidiImporter(core::Session& session, const core::Options& options, MidiImportLink* hooks)
    : session_(session), options_(options), hooks_(hooks ? hooks : &dataOnly_) {}

ImportOutcome MidiImporter::Fail(const std::string& message) {
    // Shown even in a silent import: silence spares the user the question and the dialog,
    // not the news that the import failed.
    session_.Prompter().Inform(message);
    return ImportOutcome::Failed;
}

void MidiImporter::ChooseFile(const std::string& path, std::function<void(std::optional<std::string>)> then) {
    if (!path.empty() && path != "*") {
        then(path);
        return;
    }
    if (silent_) {
        then(std::nullopt);
        return;
    }
    const CreatorWork& work = session_.Style().Work;
    const std::string folder = work.ImportDirectory.empty() ? session_.Paths().Songs() : work.ImportDirectory;
    session_.Prompter().OpenFileThen(ImportDialogTitle, ImportDialogFilter, folder + "/" + ImportDefaultName,
                                     [this, then = std::move(then)](std::optional<std::string> chosen) {
                                         if (chosen) session_.Style().Work.ImportDirectory = platform::FolderOf(*chosen);
                                         then(std::move(chosen));
                                     });
}

ImportOutcome MidiImporter::Import(const std::string& path, bool keepLeadingSilence, bool silent, ImportDone done) {
    return platform::OutcomeOf(ImportOutcome::Asking, std::move(done), [&](ImportDone finish) {
        silent_ = silent;
        const CreatorWork& work = session_.Style().Work;
        hooks_->StopRecording();
        const auto choose = [this, path, keepLeadingSilence, finish] {
            ChooseFile(path, [this, path, keepLeadingSilence, finish](std::optional<std::string> chosen) {
                finish(chosen ? ImportChosen(path, *chosen, keepLeadingSilence) : ImportOutcome::Cancelled);
            });
        };
        if (silent || work.WorkLength <= 0 || !work.WorkModified || work.AppendMode) {
            choose();
            return;
        }
        session_.Prompter().ConfirmThen("Replace current work ?", [finish, choose](bool yes) {
            if (yes) {
                choose();
            } else {
                finish(ImportOutcome::Cancelled);
            }
        });
    });
}

ImportOutcome MidiImporter::ImportChosen(const std::string& path, const std::string& chosen, bool keepLeadingSilence) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!platform::ReadFileBytes(chosen, MaxImportFileSize, bytes, error)) {
        if (error.find("larger than") != std::string::npos) return Fail("Sorry - the file is too long !");
        return Fail("Cannot read " + chosen + ": " + error + " !");
    }
    if (path == "*") return ImportOutcome::Cancelled;  // the dialog only chose the folder
    return Convert(chosen, bytes, keepLeadingSilence, silent_);
}

ImportOutcome MidiImporter::Convert(const std::string& path, std::span<const std::uint8_t> bytes,
                                    bool keepLeadingSilence, bool silent) {
    CreatorWork& work = session_.Style().Work;
    SmfLayout layout;
    const SmfLayoutError layoutError = ReadSmfLayout(bytes, layout);
    if (layoutError != SmfLayoutError::None) return Fail(SmfLayoutMessage(layoutError, layout.Division));

    ImportSettings settings;
    settings.CollectMarkers = IsStyleFormat(path);
    settings.TrimLeadingSilence = options_.TryToOptimizeTiming && !keepLeadingSilence;
    settings.MetersFromFile = !options_.DontGetMetrumFromFile;
    settings.MeasureUnits = std::max(4, hooks_->MeasureUnits());
    WorkPosition start;
    const bool appending = work.AppendMode && work.WorkLength > 0;
    if (appending) {
        const int measure = std::max(0, (work.Position - FirstPosition) / settings.MeasureUnits) + 2;
        start = hooks_->AppendPoint(work, measure, settings.MeasureUnits);
        settings.StartPosition = settings.MeasureUnits * (measure - 1) + FirstPosition;
    }

    // A trial run finds every fault of the file and the chunks the material needs.
    CreatorWorkWriter trial(nullptr, start);
    const ImportResult tried = RunImport(layout, settings, trial);
    if (tried.Status == ImportStatus::UnknownCode) return Fail(UnknownCodeMessage(tried.Problem));
    if (tried.Status == ImportStatus::Damaged) return Fail("This MIDI-File is damaged (" + tried.Problem + ") !");
    if (!EnsureWorkChunks(work, trial.ChunksReached())) return Fail("Sorry - Out of Memory !");

    const bool progress = !silent && options_.Progressbars;
    const std::string status = "Import MIDI-File Type " + std::to_string(layout.Format) + " ...";
    if (progress) hooks_->ShowProgress(status, 0, bytes.size());
    if (!appending) {
        hooks_->ResetStyle();
        ClearWorkMaterial(work);
    }
    CreatorWorkWriter writer(&work, start);
    last_ = RunImport(layout, settings, writer);
    layout_ = std::move(layout);
    if (appending) PadAppendedMeasure(writer);
    writer.Finish();
    Apply(path, appending, writer);
    if (progress) hooks_->ShowProgress(status, bytes.size(), bytes.size());
    if (last_.Status == ImportStatus::OutputFull) Fail("Sorry - Out of Memory !");
    return ImportOutcome::Imported;
}

void MidiImporter::PadAppendedMeasure(CreatorWorkWriter& writer) {
    CreatorWork& work = session_.Style().Work;
    if (StreamLength(work, writer.Position()) >= AppendPadLimit) return;
    const int units = std::max(4, last_.MeasureUnits);
    const int beats = (last_.Position % units) / UnitsPerBeat;
    for (int beat = 0; beat < beats; ++beat) {
        for (int tick = 0; tick < TicksPerQuarter; ++tick) writer.Wait(true);
        last_.Position += UnitsPerBeat;
    }
}

void MidiImporter::Apply(const std::string& path, bool appending, const CreatorWorkWriter& writer) {
    CreatorWork& work = session_.Style().Work;
    ReportControllers(session_.Controllers(), last_);
    hooks_->MarkChannelsUsed(last_.ChannelUsed);
    if (last_.Tempo > 0) hooks_->SetTempo(last_.Tempo);
    if (last_.Meter >= 0) {
        const MeterEntry& meter = MeterTable[last_.Meter];
        hooks_->SetMeter(meter.Meter);
        if (meter.ChordChangeInterval >= 0) work.ChordChangeInterval = meter.ChordChangeInterval;
    }
    if (IsStyleFormat(path)) {
        work.Markers = last_.Markers;
    } else {
        work.Markers.clear();
        hooks_->SwitchOffCountIn();
        work.MeterBox = "4/4";
        work.SourceFile = path;
    }
    hooks_->ClearMelody();
    if (!hooks_->SongPlayerDrives()) {
        const auto freeChannel = std::find(last_.ChannelUsed.begin(), last_.ChannelUsed.end(), 0);
        if (freeChannel != last_.ChannelUsed.end())
            hooks_->SelectFreeChannel(static_cast<int>(freeChannel - last_.ChannelUsed.begin()));
    }
    work.WorkLength = StreamLength(work, writer.Position());
    work.WorkModified = appending;
    work.Position = last_.Position;
    work.WorkLengthUnits = static_cast<std::uint16_t>(std::min<std::int64_t>(MaterialTicks(work) / 6, 65535));
    work.Caption = std::string(CreatorTitle) + "  -  " + std::string(platform::FileNamePart(path));
    work.ImportedSong = true;
    hooks_->BackupStream();
    hooks_->QuarterNoteMeter();
}

}  // namespace chordella::data
