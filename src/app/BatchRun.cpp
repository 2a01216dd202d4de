#include "app/BatchRun.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <map>

#include "app/Arranger.h"
#include "app/BatchFiles.h"
#include "app/StateParts.h"
#include "core/Session.h"
#include "core/StyleStore.h"
#include "data/InstrumentSet.h"
#include "data/StyleFile.h"
#include "data/WorkFile.h"
#include "library/PlaylistFiles.h"
#include "library/PlaylistLine.h"
#include "library/StyleFacts.h"
#include "library/StylePlaylist.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "platform/RecordingPrompter.h"
#include "stylecreator/ChannelRules.h"
#include "stylecreator/PartSetFiles.h"
#include "stylecreator/StyleConversion.h"
#include "stylecreator/BassFinding.h"
#include "stylecreator/VolumeNormalisation.h"
#include "stylecreator/WorkFiles.h"

namespace chordella::app {

namespace {

namespace fs = std::filesystem;
using namespace stylecreator;

// A session of one file: its own style, state, modules, creator and prompter that never
// waits, so the batch neither asks nor touches the style or the song that play.
struct FileSession {
    explicit FileSession(const platform::Paths& paths)
        : session(MakeParts(paths, shown)), arranger(session, app), creator(session, state, CreatorLiveStateOf(app)) {
        creator.SetUnattended(true);
    }

    static core::SessionParts MakeParts(const platform::Paths& paths, platform::RecordingPrompter*& shown) {
        auto prompter = std::make_unique<platform::RecordingPrompter>();
        shown = prompter.get();
        core::SessionParts parts;
        parts.prompter = std::move(prompter);
        parts.paths = paths;
        return parts;
    }

    // The last text the session showed, or `fallback`.
    std::string LastShown(const std::string& fallback) const {
        return shown->LastShown(fallback);
    }

    platform::RecordingPrompter* shown = nullptr;
    core::Session session;
    AppState app;
    Arranger arranger;  // the creator stops its transport before it generates
    CreatorState state;
    StyleCreator creator;
};

std::string NameOf(const std::string& path) { return std::string(platform::FileNamePart(path)); }

// The parts of a style file whose first event is the stream's end byte.
std::vector<int> ZeroByteParts(const data::StyleImage& image) {
    std::vector<int> parts;
    for (int part = 0; part < data::PartCount; ++part) {
        const data::PartRecord& record = image.Parts[static_cast<std::size_t>(part)];
        if (!record.Present()) continue;
        const auto start = static_cast<std::size_t>(std::max(record.RangeStart, 0));
        if (start >= image.Stream.size() || image.Stream[start] == 0) parts.push_back(part);
    }
    return parts;
}

// Reads a style file whole and checks it. False with the reason.
bool ReadImage(const std::string& path, std::vector<std::uint8_t>& bytes, data::StyleImage& image, std::string& error) {
    if (const std::string why = platform::WhyNotAFile(path); !why.empty()) {
        error = why;
        return false;
    }
    if (!platform::ReadFileBytes(path, library::MaxStyleFileBytes, bytes, error)) return false;
    if (bytes.empty()) {
        error = "the file is empty";
        return false;
    }
    return data::ReadStyleFile(bytes, image, error);
}

// Loads the style into the file session as the player's "Open style" would. False with the reason.
bool LoadStyle(FileSession& file, const std::string& path, std::string& error) {
    data::StyleStore store(file.session);
    if (store.Load(path, false) != data::StyleLoadResult::Loaded) {
        error = file.LastShown("cannot be loaded");
        return false;
    }
    const data::PartTable& parts = file.session.Style().style.Parts;
    if (std::none_of(parts.begin(), parts.end(), [](const data::PartRecord& part) { return part.Present(); })) {
        error = "the style has no part (its Basic part starts at the end of the stream)";
        return false;
    }
    return true;
}

// The loaded style as a file again, its channel rules kept: they fitted beside the stream when
// the file was read, and nothing here changes the stream's length.
std::vector<std::uint8_t> LoadedStyleBytes(const data::StyleState& style) {
    const auto length = static_cast<std::size_t>(std::clamp(style.StyleLength, 0, data::StreamCapacity));
    std::vector<std::uint8_t> bytes;
    std::string tooLong;
    if (!data::StyleFileBytes(style.Header, style.Parts, {style.StreamBytes(), length}, style.Native, bytes, tooLong))
        bytes = data::StyleFileBytes(style.Header, style.Parts, {style.StreamBytes(), length});
    return bytes;
}

// The loaded style becomes the creator's material, as the creator holds a style it edits.
void StyleIntoWork(FileSession& file) {
    data::StyleState& style = file.session.Style().style;
    data::WorkFile material;
    const auto length = static_cast<std::size_t>(std::clamp(style.StyleLength, 0, data::StreamCapacity));
    material.Stream.assign(style.StreamBytes(), style.StreamBytes() + length);
    data::CreatorWork& work = file.session.Style().Work;
    data::PutWorkMaterial(material, work);
    const auto units = static_cast<std::uint16_t>(std::min<std::int64_t>(data::MaterialTicks(work) / 6, 0xFFFF));
    work.WorkLengthUnits = units;
    work.Chunks[0].LengthUnits = units;
    for (int part = 0; part < data::PartCount; ++part) {
        const data::PartRecord& record = style.Parts[static_cast<std::size_t>(part)];
        style.PartBounds[static_cast<std::size_t>(part)] = {record.StartMeasure, record.EndMeasure};
    }
    if (style.Header.StyleMeter > 0) file.app.clock.MeasureUnits = style.Header.StyleMeter;
    file.creator.RebuildBeatIndex();
}

}  // namespace

struct BatchRun::Work {
    data::InstrumentSet generalMidi = data::BuiltInGeneralMidiSet();
    bool playlistChanged = false;
    std::vector<std::string> report;   // the check report's lines
    // Tag: the playlist's style lines by the file they name here, found once for the run.
    std::optional<std::multimap<std::string, std::size_t>> linesOfFile;
};

BatchRun::BatchRun(BatchJob job, BatchContext context)
    : job_(std::move(job)), context_(std::move(context)), work_(std::make_unique<Work>()) {
    if ((job_.Mode == BatchMode::Add || job_.Mode == BatchMode::Tag) && context_.Playlist == nullptr) {
        stopReason_ = "No style playlist to add to !";
        stopped_ = true;
        Finish();
        return;
    }
    if (job_.Mode == BatchMode::Convert && !platform::FolderExists(job_.OutputFolder)) {
        stopReason_ = "The output folder \"" + job_.OutputFolder + "\" does not exist !";
        stopped_ = true;
        Finish();
        return;
    }
    if (job_.Mode == BatchMode::Add && job_.ClearPlaylistFirst) {
        library::StyleList& list = context_.Playlist->List(library::StyleListKind::Playlist);
        std::string error;
        if (!list.Lines.empty() && !list.File.empty() && !library::WriteBackup(list.File, list.Lines, error)) {
            stopReason_ = "The playlist was not cleared: its backup cannot be written (" + error + ") !";
            stopped_ = true;
            Finish();
            return;
        }
        context_.Playlist->ClearPlaylist();
        work_->playlistChanged = true;
    }
    if (job_.Inputs.empty()) Finish();
}

BatchRun::~BatchRun() = default;

bool BatchRun::Step() {
    if (finished_) return false;
    if (next_ >= job_.Inputs.size()) {
        Finish();
        return false;
    }
    current_ = job_.Inputs[next_++];
    DoFile(current_);
    if (stopped_ || next_ >= job_.Inputs.size()) Finish();
    return !finished_;
}

void BatchRun::Cancel() {
    if (finished_) return;
    cancelled_ = true;
    Finish();
}

BatchProgress BatchRun::Progress() const {
    BatchProgress progress;
    progress.FileCount = static_cast<int>(job_.Inputs.size());
    progress.Done = static_cast<int>(next_);
    progress.CurrentFile = current_;
    progress.Errors = static_cast<int>(errors_.size());
    progress.Finished = finished_;
    progress.Cancelled = cancelled_;
    progress.Stopped = stopped_;
    return progress;
}

void BatchRun::Fail(const std::string& file, const std::string& reason) { errors_.push_back({file, reason}); }

namespace {

const data::InstrumentSet& InstrumentsOf(const BatchContext& context, const data::InstrumentSet& generalMidi) {
    return context.Instruments != nullptr ? *context.Instruments : generalMidi;
}

}  // namespace

void BatchRun::DoFile(const std::string& file) {
    const data::InstrumentSet& instruments = InstrumentsOf(context_, work_->generalMidi);
    const auto normalise = [&](data::StyleState& style) {
        OfflineChannelRules quiet;
        NormalisationState state;
        NormaliseVolumes(style, RuleNamesOf(style, instruments), state, {.Target = job_.NormaliseTarget},
                         quiet);
    };

    std::string error;
    switch (job_.Mode) {
    case BatchMode::Check: {
        std::vector<std::uint8_t> bytes;
        data::StyleImage image;
        if (!ReadImage(file, bytes, image, error)) {
            work_->report.push_back(file + " - cannot be read: " + error);
            return Fail(file, error);
        }
        work_->report.push_back(file);
        for (int part : ZeroByteParts(image)) {
            const std::string message = "0-Byte at " + std::to_string(part) + " found in " + NameOf(file);
            messages_.push_back(message);
            work_->report.push_back("  " + message);
        }
        return;
    }
    case BatchMode::DeleteBassless: {
        std::vector<std::uint8_t> bytes;
        data::StyleImage image;
        if (!ReadImage(file, bytes, image, error)) return Fail(file, error);
        bool remove = !ZeroByteParts(image).empty();
        if (!remove) {
            FileSession session(context_.Paths);
            if (!LoadStyle(session, file, error)) return Fail(file, error);
            data::StyleState& style = session.session.Style().style;
            OfflineChannelRules quiet;
            // The bass rule on the loaded copy only: what it would move is of no interest here.
            remove = MoveBassToChannel11(TargetOf(style), RuleNamesOf(style, instruments), quiet, true)
                         .Result == BassMoveResult::NotFound;
        }
        if (!remove) return;
        if (!job_.DryRun) {
            std::error_code fault;
            if (!fs::remove(file, fault)) return Fail(file, "cannot be deleted: " + fault.message());
        }
        deleted_.push_back(file);
        return;
    }
    case BatchMode::Normalize:
    case BatchMode::Refresh: {
        FileSession session(context_.Paths);
        if (!LoadStyle(session, file, error)) return Fail(file, error);
        data::StyleState& style = session.session.Style().style;
        normalise(style);
        if (job_.Mode == BatchMode::Normalize) {
            WriteStyle(file, file, LoadedStyleBytes(style));
            return;
        }
        StyleIntoWork(session);
        session.state.Conversion.Stylemode = true;
        ConvertWithOptions(session.creator, {});
        session.state.Conversion.Stylemode = false;
        const std::vector<std::uint8_t> stream = StyleStreamOf(session.session.Style().Work);
        if (!data::CheckStyleStream(style.Parts, stream, error)) return Fail(file, "the refreshed style is damaged: " + error);
        WriteStyle(file, file, data::StyleFileBytes(style.Header, style.Parts, stream));
        return;
    }
    case BatchMode::Convert: return ConvertFile(file);
    case BatchMode::Add: {
        const std::string line = context_.Playlist->LineForStyle(file, DescriptionFor(file), error).value_or("");
        if (line.empty()) return Fail(file, error.empty() ? "cannot be read" : error);
        context_.Playlist->List(library::StyleListKind::Playlist).Lines.push_back(line);
        work_->playlistChanged = true;
        ++linesChanged_;
        return;
    }
    case BatchMode::Tag: {
        std::vector<std::string>& lines = context_.Playlist->List(library::StyleListKind::Playlist).Lines;
        if (!work_->linesOfFile) {
            work_->linesOfFile.emplace();
            for (std::size_t i = 0; i < lines.size(); ++i)
                if (library::IsStyleLine(lines[i]))
                    if (const std::optional<std::string> found = context_.Playlist->FileOf(lines[i]))
                        work_->linesOfFile->emplace(*found, i);
        }
        const auto [first, last] = work_->linesOfFile->equal_range(file);
        bool listed = false;
        std::optional<library::StyleFacts> facts;
        for (auto at = first; at != last; ++at) {
            // The list may have been changed in the window since the index was made.
            if (at->second >= lines.size() || context_.Playlist->FileOf(lines[at->second]) != file) continue;
            listed = true;
            std::string& line = lines[at->second];
            library::PlaylistEntry entry = library::ParsePlaylistLine(line);
            if (entry.Tagged) continue;   // the tags are there already ("||")
            if (!facts) facts = library::ReadStyleFactsOfFile(file);
            if (!facts->Readable) return Fail(file, facts->Problem);
            entry.Tags = facts->Tags;
            entry.Tagged = true;
            line = library::FormatPlaylistLine(entry);
            work_->playlistChanged = true;
            ++linesChanged_;
        }
        if (!listed) Fail(file, "not in the style playlist");
        return;
    }
    case BatchMode::Songs: {
        if (context_.Items == nullptr) return Fail(file, "no song creator is connected");
        const std::string why = context_.Items->Process(static_cast<int>(next_) - 1, file);
        if (!why.empty()) return Fail(file, why);
        for (const std::string& path : context_.Items->LastWritten()) written_.push_back(path);
        return;
    }
    }
}

std::string BatchRun::DescriptionFor(const std::string& file) const {
    switch (job_.Descriptions) {
    case DescriptionPolicy::None: return {};
    case DescriptionPolicy::Given: return job_.Description;
    case DescriptionPolicy::FromFolder: return DescriptionFromFolder(file);
    }
    return {};
}

void BatchRun::ConvertFile(const std::string& file) {
    if (const std::string why = platform::WhyNotAFile(file); !why.empty()) return Fail(file, why);
    FileSession session(context_.Paths);
    StyleConversion conversion(session.session, session.creator);
    std::string error;
    if (!conversion.Import(file, error)) return Fail(file, "cannot be converted: " + session.LastShown(error));
    const data::InstrumentSet& instruments = InstrumentsOf(context_, work_->generalMidi);
    const std::string description = DescriptionFor(file);
    platform::Random random(1);
    int writtenSets = 0;
    std::size_t partsWritten = 0;
    for (int set = 1; set <= std::clamp(job_.Sets, 1, VariationSetCount); ++set) {
        const SetReport report = conversion.ConvertSet(set - 1, random);
        data::StyleState& style = session.session.Style().style;
        if (report.Parts.empty() || !style.Parts[data::Index(data::StylePart::Basic)].Present()) continue;
        OfflineChannelRules quiet;
        NormalisationState state;
        NormaliseVolumes(style, RuleNamesOf(style, instruments), state, {.Target = job_.NormaliseTarget},
                         quiet);
        const std::vector<std::uint8_t> stream = StyleStreamOf(session.session.Style().Work);
        if (!data::CheckStyleStream(style.Parts, stream, error)) {
            Fail(file, "set " + std::to_string(set) + " gives a damaged style: " + error);
            continue;
        }
        const std::string path = (fs::path(job_.OutputFolder) / ConvertedName(file, set, description)).string();
        if (!WriteStyle(file, path, data::StyleFileBytes(style.Header, style.Parts, stream))) return;
        if (writtenSets++ == 0) partsWritten = report.Parts.size();
    }
    if (writtenSets == 0) return Fail(file, "cannot be converted: no variations set gives a Basic part");
    if (!conversion.Damage().empty())
        Fail(file, "damaged: " + conversion.Damage() + ": " + std::to_string(partsWritten) + " of " +
                       std::to_string(data::PartCount) + " parts written");
}

bool BatchRun::WriteStyle(const std::string& input, const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const StyleWrite result = ReplaceStyleFile(path, bytes);
    if (result.Ok) {
        written_.push_back(path);
        return true;
    }
    if (result.NoRoom) {
        stopped_ = true;
        stopReason_ = "The disk is full: " + NameOf(path) + " was not written (" + result.Error +
                      "); the styles written before it are complete !";
    }
    Fail(input, NameOf(path) + " " + result.Error);
    return false;
}

void BatchRun::Finish() {
    if (finished_) return;
    finished_ = true;
    if (job_.Mode == BatchMode::Check && next_ > 0) WriteCheckReport();
    if (work_ && work_->playlistChanged && context_.Playlist != nullptr) {
        std::string error;
        if (!context_.Playlist->SavePlaylist("", error))
            errors_.push_back({context_.Playlist->List(library::StyleListKind::Playlist).File,
                               "the playlist cannot be saved: " + error});
    }
}

void BatchRun::WriteCheckReport() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y.%m.%d-%H.%M.%S", &local);
    const std::string folder = context_.Paths.Lists();
    platform::MakeFolders(folder);
    const std::string path = folder + "/CHECKED STYLES-" + stamp + ".txt";
    std::string error;
    if (!library::WriteListFile(path, work_->report, error)) {
        errors_.push_back({path, "the check report cannot be written: " + error});
        return;
    }
    reportFile_ = path;
    messages_.push_back("Checked styles saved as \"" + path + "\" !");
}

std::string BatchRun::Summary() const {
    return "Done with " + std::to_string(errors_.size()) + " errors ! - It is recommended to restart \r\n" +
           "Chordella before the created styles are used !";
}

std::string BatchRun::CountLine() const {
    std::string line = std::to_string(next_) + " of " + std::to_string(job_.Inputs.size()) + " files done, " +
                       std::to_string(errors_.size()) + (errors_.size() == 1 ? " error" : " errors");
    if (cancelled_) line += " (cancelled)";
    if (stopped_) line += " (stopped)";
    return line;
}

}  // namespace chordella::app
