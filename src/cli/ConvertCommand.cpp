#include "cli/ConvertCommand.h"

#include <chrono>
#include <filesystem>
#include <memory>

#include "app/AppState.h"
#include "app/Arranger.h"
#include "app/ForeignStyleSets.h"
#include "app/StateParts.h"
#include "core/Session.h"
#include "data/GeneralMidi.h"
#include "data/InstrumentSet.h"
#include "data/VoiceMap.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/RecordingPrompter.h"
#include "stylecreator/PartSetFiles.h"
#include "stylecreator/StyleConversion.h"
#include "stylecreator/VolumeNormalisation.h"

namespace chordella::cli {

namespace {

namespace fs = std::filesystem;
using namespace stylecreator;

std::string WithSlash(const std::string& folder) {
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

core::SessionParts PartsFor(const ConvertCommandFlags& flags, std::unique_ptr<platform::RecordingPrompter> prompter) {
    core::SessionParts parts;
    parts.prompter = std::move(prompter);
    parts.paths = platform::Paths::Resolve(flags.home, platform::ExecutablePath());
    return parts;
}

// The parts of the style now in the creator as set `digit`'s MIDI files in the output folder.
int ExportParts(core::Session& session, const std::string& input, const ConvertCommandFlags& flags, std::FILE* out,
                std::FILE* err) {
    std::vector<std::string> written;
    std::string error;
    if (!ExportPartSet(session, WithSlash(flags.outputFolder), flags.exportParts, written, error)) {
        std::fprintf(err, "%s: the parts cannot be written: %s\n", input.c_str(), error.c_str());
        return 1;
    }
    std::fprintf(out, "  %zu part files: set %d in %s\n", written.size(), flags.exportParts, flags.outputFolder.c_str());
    return 0;
}

// A folder of style-part MIDI files read as one set and saved as FOLDERNAME.vxs.
int ConvertPartSet(const std::string& folder, const ConvertCommandFlags& flags, const PartSetItem& item,
                   std::FILE* out, std::FILE* err) {
    if (!platform::FolderExists(folder)) {
        std::fprintf(err, "%s: no such folder\n", folder.c_str());
        return 1;
    }
    auto prompter = std::make_unique<platform::RecordingPrompter>();
    platform::RecordingPrompter* shown = prompter.get();
    core::Session session(PartsFor(flags, std::move(prompter)));
    app::AppState appState;
    app::Arranger arranger(session, appState);  // the creator stops and starts its transport
    CreatorState state;
    StyleCreator creator(session, state, app::CreatorLiveStateOf(appState));
    creator.SetUnattended(true);
    PopupConvertOptions options;
    options.DontConvertIntroAndEnding = flags.keepIntroEnding;
    const SetImportResult result = ImportPartSet(session, creator, WithSlash(folder), {item.SetDigit, item.Variant}, options);
    if (result.PartsSet.empty()) {
        const std::string reason = !result.Message.empty()          ? result.Message
                                   : !shown->Shown().empty()        ? shown->Shown().back()
                                                                    : "no file of the set " + std::to_string(item.SetDigit) +
                                                                          " - " + std::to_string(item.Variant) + " there";
        std::fprintf(err, "%s: cannot be converted: %s\n", folder.c_str(), reason.c_str());
        return 1;
    }
    std::string name = fs::path(folder).filename().string();
    if (name.empty()) name = fs::path(folder).parent_path().filename().string();
    const std::string path = WithSlash(flags.outputFolder) + name + ".vxs";
    std::string error;
    if (!creator.SaveStyle(path, error)) {
        std::fprintf(err, "%s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    std::fprintf(out, "%s: %zu parts -> %s\n", folder.c_str(), result.PartsSet.size(), path.c_str());
    return flags.exportParts > 0 ? ExportParts(session, folder, flags, out, err) : 0;
}

std::string PartName(int part) {
    std::string name(data::PartSelectorText(part));
    return name.empty() ? name : name.substr(1);
}

// "ch 11 (channel table: the channel table sends channel 13 (\"Aco.Bass\") to the bass part),
// bank 8/0 program 17, nearest General MIDI voice Electric Bass (finger)"
std::string BassLine(const SetReport& report) {
    const BassFinding& bass = report.Bass;
    if (bass.Channel < 0) return "none found (no bass part in the channel table, no bass voice, no bass program name)";
    std::string line = "ch " + std::to_string(bass.Channel + 1) + " (" + EvidenceText(bass.Evidence) + ": " + bass.Why + ")";
    if (report.BassMovedFrom >= 0) line += ", moved there from ch " + std::to_string(report.BassMovedFrom + 1);
    if (bass.Voice.Program >= 0) {
        line += ", " + data::VoiceText(bass.Voice);
        const int gm = data::BuiltInVoiceMap().NearestGm(bass.Voice);
        if (gm >= 0) line += ", nearest General MIDI voice " + std::string(data::GeneralMidiProgramNames()[static_cast<std::size_t>(gm)]);
    }
    return line;
}

// How the styles were made: "native (channel rules kept)", "CASM" or "chords detected".
std::string ModeText(const StyleConversion& conversion, const ConvertCommandFlags& flags) {
    if (flags.native && conversion.ChannelTable().NativeProblem().empty()) return "native (channel rules kept)";
    return conversion.ChannelTable().Present && !flags.noCasm ? "CASM" : "chords detected";
}

// One style file: every requested set written. 0, or 1 with the reason on `err`.
int ConvertOne(const std::string& input, const ConvertCommandFlags& flags, const std::vector<int>& sets,
               std::FILE* out, std::FILE* err) {
    if (const std::string why = platform::WhyNotAFile(input); !why.empty()) {
        std::fprintf(err, "%s: %s\n", input.c_str(), why.c_str());
        return 1;
    }
    const auto started = std::chrono::steady_clock::now();
    auto prompter = std::make_unique<platform::RecordingPrompter>();
    platform::RecordingPrompter* shown = prompter.get();
    core::Session session(PartsFor(flags, std::move(prompter)));
    app::AppState appState;
    app::Arranger arranger(session, appState);  // the creator stops and starts its transport
    CreatorState state;
    StyleCreator creator(session, state, app::CreatorLiveStateOf(appState));
    StyleConversion conversion(session, creator);
    conversion.UseChannelTable(!flags.noCasm);
    ConverterOptions& options = conversion.Options();
    options.DoNotConvertIntroAndEnding = flags.keepIntroEnding;
    options.StartWithBeat2At3_4 = !flags.noBeat2;
    options.ProcessChannels9And11 = !flags.keepChannels9And11;

    std::string error;
    if (!conversion.Import(input, error)) {
        const std::string reason = shown->LastShown(error);
        std::fprintf(err, "%s: cannot be converted: %s\n", input.c_str(), reason.c_str());
        return 1;
    }
    const std::string name = fs::path(input).stem().string();
    app::StyleSetsRequest request;
    request.Sets = sets;
    if (!flags.random.empty()) {
        // The set list's two random items follow its six sets.
        request.Sets = {flags.random == "parts" ? RandomPartsItem + 1 : RandomSetItem + 1};
        request.Description = "random";
    }
    request.Folder = flags.outputFolder;
    request.NormaliseTarget = flags.normalize ? MainWindowNormaliseTarget : 0;
    request.Native = flags.native;
    const app::StyleSetsOutcome written = app::WriteStyleSets(session, appState, creator, conversion, input, request);
    if (!written.Error.empty()) {
        std::fprintf(err, "%s: %s\n", input.c_str(), written.Error.c_str());
        return 1;
    }
    std::string summary;
    if (!written.Written.empty()) {
        const SetReport& report = written.Written.front().Report;
        int fromTable = 0;
        for (const ConvertedPart& part : report.Parts) fromTable += part.FromChannelTable ? 1 : 0;
        summary = std::to_string(report.Parts.size()) + " parts (" + std::to_string(fromTable) +
                  " from the channel table), " + std::to_string(written.Written.front().ChannelsUsed) +
                  " channels used";
        if (fromTable > 0)
            summary += ", part channels " + std::to_string(report.ChannelsKept()) + " kept, " +
                       std::to_string(report.Channels.size() - static_cast<std::size_t>(report.ChannelsKept())) +
                       " dropped";
        if (flags.channels) {
            for (const ChannelDecision& d : report.Channels)
                std::fprintf(out, "  %s ch %d: %s%s (%s)\n", PartName(d.Part).c_str(), d.Channel + 1,
                             FateText(d.Fate).c_str(),
                             d.Fate == ChannelFate::Moved ? (" to ch " + std::to_string(d.Destination + 1)).c_str() : "",
                             d.Reason.c_str());
        }
    }
    const std::vector<std::string>& warnings = written.Warnings;
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
    if (summary.empty()) {
        std::fprintf(err, "%s: cannot be converted: no section gives a style part\n", input.c_str());
        return 1;
    }
    std::fprintf(out, "%s: %s; %s; %zu sets -> %s/%s-N.vxs (%lld ms)\n", input.c_str(), summary.c_str(),
                 ModeText(conversion, flags).c_str(), sets.size(),
                 flags.outputFolder.c_str(), name.c_str(), static_cast<long long>(millis));
    for (const std::string& message : conversion.ChannelTable().Messages)
        std::fprintf(out, "  channel table: %s\n", message.c_str());
    if (!written.Written.empty()) std::fprintf(out, "  bass: %s\n", BassLine(written.Written.front().Report).c_str());
    for (const std::string& warning : warnings) std::fprintf(out, "  warning: %s\n", warning.c_str());
    if (!conversion.Damage().empty()) {
        // What is there is written, but the file is not whole: the run fails.
        const std::size_t parts = written.Written.empty() ? 0 : written.Written.front().Report.Parts.size();
        std::fprintf(err, "%s: damaged: %s: %zu of %d parts written\n", input.c_str(), conversion.Damage().c_str(),
                     parts, data::PartCount);
        return 1;
    }
    return flags.exportParts > 0 ? ExportParts(session, input, flags, out, err) : 0;
}

}  // namespace

std::vector<int> ParseSetRange(const std::string& text) {
    int first = 0, last = 0;
    char dash = 0, extra = 0;
    const int read = std::sscanf(text.c_str(), "%d%c%d%c", &first, &dash, &last, &extra);
    if (read == 1) last = first;
    else if (read != 3 || dash != '-') return {};
    if (first < 1 || last > VariationSetCount || first > last) return {};
    std::vector<int> sets;
    for (int set = first; set <= last; ++set) sets.push_back(set);
    return sets;
}

std::optional<PartSetItem> ParsePartSetItem(const std::string& text) {
    int digit = 0, variant = 0;
    char dash = 0, extra = 0;
    if (std::sscanf(text.c_str(), " %d %c %d %c", &digit, &dash, &variant, &extra) != 3 || dash != '-') return std::nullopt;
    if (digit < 1 || digit > 4 || (variant != 11 && variant != 21)) return std::nullopt;
    return PartSetItem{digit, variant};
}

int RunConvertCommand(const ConvertCommandFlags& flags, std::FILE* out, std::FILE* err) {
    if (!flags.random.empty() && flags.random != "set" && flags.random != "parts") {
        std::fprintf(err, "--random %s: give set or parts\n", flags.random.c_str());
        return 2;
    }
    if (flags.native && (flags.noCasm || !flags.importParts.empty())) {
        std::fprintf(err, "--native keeps the channel table's rules: it goes with neither --no-casm nor --import-parts\n");
        return 2;
    }
    if (flags.exportParts < 0 || flags.exportParts > 4) {
        std::fprintf(err, "--export-parts %d: give a set 1 … 4\n", flags.exportParts);
        return 2;
    }
    std::optional<PartSetItem> item;
    if (!flags.importParts.empty() && !(item = ParsePartSetItem(flags.importParts))) {
        std::fprintf(err, "--import-parts %s: give 1 - 11, 1 - 21 … 4 - 21\n", flags.importParts.c_str());
        return 2;
    }
    const std::vector<int> sets = ParseSetRange(flags.sets);
    if (sets.empty()) {
        std::fprintf(err, "--sets %s: give a set 1 … 6 or a range such as 1-6\n", flags.sets.c_str());
        return 2;
    }
    if (!platform::FolderExists(flags.outputFolder)) {
        std::fprintf(err, "%s: no such folder\n", flags.outputFolder.c_str());
        return 1;
    }
    int result = 0;
    for (const std::string& input : flags.inputs)
        result |= item ? ConvertPartSet(input, flags, *item, out, err) : ConvertOne(input, flags, sets, out, err);
    return result;
}

}  // namespace chordella::cli
