// The style creator's pipeline on the command line: import → generate chords → convert → set
// parts → save. Questions are never asked: every step runs as a batch run would.
#include "cli/CreateCommand.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>

#include "app/AppState.h"
#include "app/Arranger.h"
#include "app/StateParts.h"
#include "cli/ImportFindings.h"
#include "cli/OutputGuard.h"
#include "cli/RenderCommands.h"
#include "core/MidiImport.h"
#include "core/Session.h"
#include "data/StyleFile.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/RecordingPrompter.h"
#include "platform/TextCase.h"
#include "stylecreator/HeadlessCreatorHost.h"
#include "stylecreator/MaterialWalk.h"
#include "stylecreator/PartSetter.h"
#include "stylecreator/QuickStyle.h"
#include "stylecreator/StructureApply.h"
#include "stylecreator/StyleCreator.h"

namespace chordella::cli {

namespace {

using stylecreator::StyleCreator;

// Lower case, letters and digits only: "Fill in Basic", "fill-in-basic" and "FILLINBASIC" name one part.
std::string Squeezed(std::string_view text) {
    std::string out;
    for (const char c : text)
        if (std::isalnum(static_cast<unsigned char>(c))) out += platform::LowerAscii(c);
    return out;
}

bool ParsePart(const std::string& text, stylecreator::PartRequest& request, std::string& error) {
    const auto equals = text.find('=');
    const auto dash = text.find('-', equals == std::string::npos ? 0 : equals);
    if (equals == std::string::npos || dash == std::string::npos) {
        error = "--part " + text + ": expected NAME=FIRST-LAST";
        return false;
    }
    request.Part = PartIndexOf(text.substr(0, equals));
    if (request.Part < 0) {
        error = "--part " + text + ": no part is named \"" + text.substr(0, equals) + "\"";
        return false;
    }
    try {
        std::size_t used = 0;
        const std::string first = text.substr(equals + 1, dash - equals - 1);
        const std::string last = text.substr(dash + 1);
        request.StartMeasure = std::stoi(first, &used);
        if (used != first.size()) throw std::invalid_argument(first);
        request.EndMeasure = std::stoi(last, &used);
        if (used != last.size()) throw std::invalid_argument(last);
    } catch (const std::exception&) {
        error = "--part " + text + ": FIRST and LAST are measure numbers";
        return false;
    }
    if (request.StartMeasure < 1 || request.EndMeasure < request.StartMeasure || request.EndMeasure > 999) {
        error = "--part " + text + ": measures run from 1 to 999 and LAST is not below FIRST";
        return false;
    }
    return true;
}

// The import's findings in the style header: tempo, meter, channels used and each channel's
// set-up as the material leaves the controller table.
void TakeImportIntoHeader(core::Session& session, const ImportFindings& hooks, int measureUnits) {
    data::StyleHeader& header = session.Style().style.Header;
    header.Reset();
    header.StyleTempo = static_cast<std::int16_t>(std::clamp(hooks.tempo, 1, 999));
    header.StyleMeter = static_cast<std::int16_t>(measureUnits);
    header.ChannelUsed = hooks.channelsUsed;
    for (int channel = 0; channel < data::StyleChannels; ++channel)
        for (int index = 0; index < data::ChannelSetupSize; ++index) {
            const std::uint8_t value = session.Controllers().Value(channel, index);
            header.ChannelSetup[static_cast<std::size_t>(channel)][static_cast<std::size_t>(index)] =
                value <= 127 ? value : data::SetupNotSet;
        }
}

std::string PartsReport(const data::PartTable& parts, int& count) {
    std::string text;
    count = 0;
    for (int part = 0; part < data::PartCount; ++part) {
        const data::PartRecord& record = parts[static_cast<std::size_t>(part)];
        if (!record.Present()) continue;
        ++count;
        text += (text.empty() ? "" : ", ") + std::string(data::PartSelectorText(part).substr(1)) + " " +
                std::to_string(record.StartMeasure);
        if (record.EndMeasure != record.StartMeasure) text += "-" + std::to_string(record.EndMeasure);
    }
    return text;
}

int Fail(std::FILE* err, const std::string& file, const std::string& reason) {
    std::fprintf(err, "%s: %s\n", file.c_str(), reason.c_str());
    return 1;
}

int Usage(std::FILE* err, const std::string& value, const std::string& reason) {
    std::fprintf(err, "chordella create: %s: %s\n", value.c_str(), reason.c_str());
    return 2;
}

}  // namespace

int IntervalBeats(const std::string& text) {
    static constexpr std::array<const char*, 8> texts = {"1/4", "1/2", "3/4", "1/1", "5/4", "6/4", "7/4", "2/1"};
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (text == texts[i]) return static_cast<int>(i) + 1;
    return 0;
}

int PartIndexOf(const std::string& name) {
    static constexpr std::array<std::array<const char*, 3>, data::PartCount> names = {{
        {"intro", "intro", "intro"},
        {"basic", "basic", "basic"},
        {"extended", "extended", "extended"},
        {"ending", "ending", "ending"},
        {"fillinbasic", "fillbasic", "variationbasic"},
        {"fillinextended", "fillextended", "variationextended"},
        {"toextended", "toextended", "toextended"},
        {"tobasic", "tobasic", "tobasic"},
    }};
    const std::string wanted = Squeezed(name);
    for (int part = 0; part < data::PartCount; ++part)
        for (const char* known : names[static_cast<std::size_t>(part)])
            if (wanted == known) return part;
    return -1;
}

int RunCreateCommand(const CreateCommandFlags& flags, std::FILE* out, std::FILE* err) {
    // Every value is checked before anything is read or written.
    const int interval = IntervalBeats(flags.interval);
    if (interval == 0) return Usage(err, flags.interval, "--interval takes 1/4, 1/2, 3/4, 1/1, 5/4, 6/4, 7/4 or 2/1");
    if (flags.chordSet < 1 || flags.chordSet > 4) return Usage(err, std::to_string(flags.chordSet), "--chord-set takes 1 … 4");
    if (flags.sensitivity < 1 || flags.sensitivity > 4)
        return Usage(err, std::to_string(flags.sensitivity), "--sensitivity takes 1 … 4");
    if (flags.mode < 0 || flags.mode > 6) return Usage(err, std::to_string(flags.mode), "--mode takes 0 … 6");
    const int layouts = (flags.quick ? 1 : 0) + (flags.structure.empty() ? 0 : 1) + (flags.parts.empty() ? 0 : 1);
    if (layouts > 1) return Usage(err, flags.output, "give one of --quick, --structure and --part");
    std::optional<stylecreator::StructureStyle> structure;
    if (!flags.structure.empty()) {
        if (flags.structure != "A" && flags.structure != "a" && flags.structure != "B" && flags.structure != "b")
            return Usage(err, flags.structure, "--structure takes A or B");
        structure = (flags.structure == "A" || flags.structure == "a") ? stylecreator::StructureStyle::A
                                                                        : stylecreator::StructureStyle::B;
    }
    std::vector<stylecreator::PartRequest> requests;
    for (const std::string& text : flags.parts) {
        stylecreator::PartRequest request;
        std::string error;
        if (!ParsePart(text, request, error)) return Usage(err, flags.output, error);
        requests.push_back(request);
    }
    if (const std::string why = platform::WhyNotAFile(flags.input); !why.empty()) return Fail(err, flags.input, why);
    std::string refused;
    if (!MayWriteOutput(flags.output, {flags.input}, OutputKind::StyleFile, flags.force, refused))
        return Fail(err, flags.output, refused);
    if (!flags.work.empty() && !MayWriteOutput(flags.work, {flags.input, flags.output}, OutputKind::WorkFile, flags.force, refused))
        return Fail(err, flags.work, refused);

    auto prompter = std::make_unique<platform::RecordingPrompter>();
    platform::RecordingPrompter* shown = prompter.get();
    core::SessionParts sessionParts;
    sessionParts.prompter = std::move(prompter);
    sessionParts.paths = platform::Paths::Resolve(flags.home, platform::ExecutablePath());
    core::Session session(std::move(sessionParts));
    app::AppState appState;
    app::Arranger arranger(session, appState);  // the creator stops and starts its transport
    stylecreator::CreatorState state;
    StyleCreator creator(session, state, app::CreatorLiveStateOf(appState));
    creator.SetUnattended(true);

    // The material.
    const bool workFile = app::LowerExtensionOf(flags.input) == ".vxw";
    if (workFile) {
        std::string error;
        if (!creator.LoadWork(flags.input, error)) return Fail(err, flags.input, error);
    } else {
        ImportFindings hooks;
        data::MidiImporter importer(session, appState.options, &hooks);
        if (importer.Import(flags.input, false, true) != data::ImportOutcome::Imported)
            return Fail(err, flags.input, shown->LastShown("nothing imported"));
        const int units = std::max(data::UnitsPerBeat, importer.LastResult().MeasureUnits);
        appState.clock.MeasureUnits = static_cast<std::int16_t>(units);
        TakeImportIntoHeader(session, hooks, units);
        state.LastImportedFile = flags.input;
        creator.RebuildBeatIndex();
    }
    if (!creator.HasWork() || !stylecreator::MaterialHasNotes(session.Style().Work))
        return Fail(err, flags.input, "the material plays no notes to make a style from");

    state.Generator = {interval, flags.chordSet, flags.sensitivity};
    // A work file's chords may have been corrected by hand: they stay unless new generator
    // settings were asked for (or the work holds none, when they are generated).
    const bool keepChords = workFile && !flags.newChords && stylecreator::HoldsChords(appState.arrangement.Chords);
    if (keepChords) state.StoredSettingsCode = state.Generator.SettingsCode();
    state.Conversion.Mode = static_cast<stylecreator::ConvertMode>(flags.mode);
    stylecreator::HeadlessCreatorHost host(session, appState.clock);
    stylecreator::PartSetter setter(session.Style().style, session.Prompter(), host);
    bool converted = false;
    auto convertAll = [&] {
        creator.ConvertAll([&](bool changed) { converted = changed; });
        return converted;
    };

    // The parts; the quick style converts first by itself.
    if (flags.quick || (!structure && requests.empty())) {
        stylecreator::QuickStyle quick(session.Style().style, setter, host, session.Prompter());
        quick.Run({}, 1, state.LoopLength(), true, convertAll);
    } else {
        convertAll();
        if (structure) {
            stylecreator::StructureData layout;
            std::string error;
            const std::string path = session.Paths().ProgramFile(stylecreator::StructureFileName);
            if (!stylecreator::LoadStructureFile(path, *structure, layout, error)) return Fail(err, path, error);
            stylecreator::ApplyStructure(layout, setter, session.Style().style, host, appState.engine.ChannelMute,
                                         session.Prompter(), false);
        }
        for (const stylecreator::PartRequest& request : requests) {
            stylecreator::PartOutcome outcome;
            if (setter.SetNow(request, outcome) == stylecreator::PartSetter::Result::BeyondMaterial)
                return Fail(err, flags.input, stylecreator::MeasuresAvailableMessage(host.MeasuresAvailable()));
        }
    }
    if (!converted) return Fail(err, flags.input, "the material could not be converted");

    int partsSet = 0;
    const std::string parts = PartsReport(session.Style().style.Parts, partsSet);
    if (partsSet == 0)
        return Fail(err, flags.input,
                    shown->LastShown("no part could be set from the material"));
    std::string error;
    if (!creator.SaveStyle(flags.output, error)) return Fail(err, flags.output, error);
    if (!flags.work.empty() && !creator.SaveWork(flags.work, error)) return Fail(err, flags.work, error);

    int chords = 0;
    const data::ChordMemory& memory = appState.arrangement.Chords;
    for (int position = data::FirstPosition; position < memory.ChordMemoryLength; position += data::BeatRecordSize)
        chords += data::StartsChord(memory.RecordAt(position)) ? 1 : 0;
    std::fprintf(out, "%s: %d chord changes %s, %d notes converted, %d parts set (%s) -> %s\n", flags.input.c_str(),
                 chords, keepChords ? "kept" : "found", creator.LastConvertedNotes(), partsSet, parts.c_str(), flags.output.c_str());
    if (session.Style().Work.Chunks[1].Present)
        std::fprintf(err, "%s: only the measures of the first %d bytes of material can be style parts\n",
                     flags.input.c_str(), session.Style().Work.Chunks[0].Size);
    return 0;
}

}  // namespace chordella::cli
