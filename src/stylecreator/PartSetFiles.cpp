#include "stylecreator/PartSetFiles.h"

#include <algorithm>

#include "core/MidiImport.h"
#include "data/SmfWriter.h"
#include "stylecreator/ChannelRoles.h"
#include "stylecreator/CreatorPositions.h"
#include "stylecreator/HeadlessCreatorHost.h"
#include "stylecreator/PartPlacement.h"
#include "stylecreator/StructureApply.h"

namespace chordella::stylecreator {

namespace {

bool IsFillPart(int part) { return part >= data::Index(data::StylePart::FillInBasic); }
bool IsMainPart(int part) { return part == 1 || part == 2; }
bool IsIntroOrEnding(int part) { return part == 0 || part == 3; }

// Channels an imported part brings are marked used and get their first controller values
// where the style has none.
void TakeImportedChannels(data::StyleHeader& header, const data::ImportResult& imported) {
    for (std::size_t c = 0; c < data::StyleChannels; ++c) {
        if (imported.ChannelUsed[c]) header.ChannelUsed[c] = 1;
        for (std::size_t i = 0; i < data::ChannelSetupSize; ++i)
            if (header.ChannelSetup[c][i] == data::SetupNotSet) header.ChannelSetup[c][i] = imported.FirstValues[c][i];
    }
}

}  // namespace

std::vector<int> ConvertWithOptions(StyleCreator& creator, const PopupConvertOptions& options) {
    std::vector<int> converted;
    CreatorState& state = creator.State();
    const data::PartTable& parts = creator.Session().Style().style.Parts;
    creator.SetUnattended(true);
    for (int part = data::PartCount - 1; part >= 0; --part) {
        const data::PartRecord& record = parts[static_cast<std::size_t>(part)];
        if (!record.Present()) continue;
        if (IsIntroOrEnding(part) && options.DontConvertIntroAndEnding) continue;
        if (IsMainPart(part) && options.DontConvertBasicAndExtended) continue;
        if (IsFillPart(part) && options.DontConvertFills) continue;
        state.Mode = CreatorMode::Style;
        state.SelectedPart = part;
        state.StyleRange = {record.StartMeasure, std::max<int>(1, record.StartBeat), record.EndMeasure};
        creator.ConvertMeasures();
        converted.push_back(part);
    }
    creator.SetUnattended(false);
    return converted;
}

SetImportResult ImportPartSet(core::Session& session, StyleCreator& creator, const std::string& folder,
                              const SetImportItem& item, const PopupConvertOptions& options) {
    SetImportResult result;
    if (folder.empty()) return result;
    const SetImportPlan plan = PlanSetImport(FirstSetFile(folder, item), DiskFileSize);
    if (!plan.Error.empty()) {
        result.Message = plan.Error;
        return result;
    }
    if (plan.Files.empty()) return result;
    creator.ClearWork();
    data::CreatorWork& work = session.Style().Work;
    if (work.WorkLength > 0) return result;   // the work was kept (a question answered No)

    // The set is read in the "2 Simple" chord set with "Adjust ..." on.
    creator.State().Generator.ChordSet = 2;
    creator.State().Conversion.Adjust = true;
    data::StyleState& style = session.Style().style;
    style.Header.Reset();
    style.Parts = {};
    const int units = creator.MeasureUnits();
    HeadlessCreatorHost host(session, creator.Live().clock);
    PartSetter setter(style, session.Prompter(), host);
    data::MidiImporter importer(session, creator.Live().options);
    int previousEnd = 0;
    for (const PartFile& file : plan.Files) {
        work.AppendMode = work.WorkLength > 0;
        if (importer.Import(file.Path, true, true) != data::ImportOutcome::Imported) continue;
        TakeImportedChannels(style.Header, importer.LastResult());
        const int end = MeasuresInChunk0(work, units);
        if (end <= previousEnd) continue;
        PartRequest request;
        request.Part = file.Part;
        request.StartMeasure = previousEnd + 1;
        request.EndMeasure = end;
        PartOutcome outcome;
        if (setter.SetNow(request, outcome) == PartSetter::Result::Set) result.PartsSet.push_back(file.Part);
        previousEnd = end;
    }
    work.AppendMode = false;
    creator.State().Mode = CreatorMode::Style;
    const data::PartRecord& intro = style.Parts[0];
    style.Header.IntroMeasures = static_cast<std::int16_t>(intro.Present() ? -intro.LengthMeasures : 1);
    auto material = host.Material();
    if (options.MovePercussionToTrack10 && style.Header.ChannelUsed[10] != 0) {
        MoveStyleChannel(ChannelTarget{style.Header, material, &style.StyleModified}, 10, 9);
        style.Header.ChannelSetup[10].fill(data::SetupNotSet);
    }
    if (options.OnlyStandardPercussion) {
        // Drum notes below key 35 are silenced in every part.
        for (std::size_t at = 0; at + 2 < material.size();) {
            const std::uint8_t b = material[at];
            if (b == 0x00 || b == 0xF0) break;
            if (b >= 0x80 && b <= 0xEF) {
                if (b == 0x99 && material[at + 1] < 35) material[at + 2] = 0;
                at += 3;
            } else {
                ++at;
            }
        }
    }
    RebuildNotesEnd(style, material, false);
    SavePartBounds(style);
    ConvertWithOptions(creator, options);
    ApplySetImportChannelDefaults(style.Header);
    return result;
}

bool ImportPartFile(core::Session& session, StyleCreator& creator, const std::string& path, int part,
                    std::string& error) {
    if (part < 0 || part >= data::PartCount) {
        error = "no such part";
        return false;
    }
    data::CreatorWork& work = session.Style().Work;
    data::StyleState& style = session.Style().style;
    const int units = creator.MeasureUnits();
    const int previousEnd = work.WorkLength > 0 ? MeasuresInChunk0(work, units) : 0;
    work.AppendMode = work.WorkLength > 0;
    data::MidiImporter importer(session, creator.Live().options);
    const bool imported = importer.Import(path, true, true) == data::ImportOutcome::Imported;
    work.AppendMode = false;
    if (!imported) {
        error = "the file could not be imported";
        return false;
    }
    TakeImportedChannels(style.Header, importer.LastResult());
    const int end = MeasuresInChunk0(work, units);
    if (end <= previousEnd) {
        error = "the file holds no measure";
        return false;
    }
    HeadlessCreatorHost host(session, creator.Live().clock);
    PartSetter setter(style, session.Prompter(), host);
    PartRequest request;
    request.Part = part;
    request.StartMeasure = previousEnd + 1;
    request.EndMeasure = end;
    PartOutcome outcome;
    if (setter.SetNow(request, outcome) != PartSetter::Result::Set) {
        error = "the part could not be set";
        return false;
    }
    creator.State().Mode = CreatorMode::Style;
    RebuildNotesEnd(style, host.Material(), false);
    SavePartBounds(style);
    return true;
}

bool WritePartFile(core::Session& session, int part, const std::string& path, std::string& error) {
    const data::StyleState& style = session.Style().style;
    if (part < 0 || part >= data::PartCount || !style.Parts[static_cast<std::size_t>(part)].Present()) {
        error = "the part is not set";
        return false;
    }
    const data::PartRecord& record = style.Parts[static_cast<std::size_t>(part)];
    const auto material = data::FirstChunkMaterial(session.Style().Work);
    const int measureUnits = std::max(data::UnitsPerBeat, static_cast<int>(style.Header.StyleMeter));
    data::SmfContent content;
    content.Name = std::string(data::PartSelectorText(part)).substr(1);
    content.MeasureTicks = measureUnits * 6;
    content.Tempos.push_back({0, style.Header.StyleTempo > 0 ? style.Header.StyleTempo : 120});
    for (int c = 0; c < data::StyleChannels; ++c) {
        const auto& setup = style.Header.ChannelSetup[static_cast<std::size_t>(c)];
        const auto status = static_cast<std::uint8_t>(c);
        if (setup[data::SetupProgramIndex] != data::SetupNotSet) {
            content.Programs[static_cast<std::size_t>(c)] = setup[data::SetupProgramIndex];
            content.Messages.push_back({0, static_cast<std::uint8_t>(0xC0 | status), setup[data::SetupProgramIndex], 0});
        }
        for (int controller : {7, 10, 91, 93})
            if (setup[static_cast<std::size_t>(controller)] != data::SetupNotSet)
                content.Messages.push_back({0, static_cast<std::uint8_t>(0xB0 | status),
                                            static_cast<std::uint8_t>(controller),
                                            setup[static_cast<std::size_t>(controller)]});
    }
    std::int64_t tick = 0;
    const auto end = std::min<std::size_t>(static_cast<std::size_t>(std::max(record.RangeEnd, 0)), material.size());
    for (std::size_t at = static_cast<std::size_t>(std::max(record.RangeStart, 0)); at < end;) {
        const std::uint8_t b = material[at];
        if (b == 0x00 || b == 0xF0) break;
        if (b >= 0x80 && b <= 0xEF) {
            if (at + 2 >= material.size()) break;
            content.Messages.push_back({tick, b, material[at + 1], material[at + 2]});
            at += 3;
        } else {
            if (b >= 0xF8) tick += b - 247;
            ++at;
        }
    }
    content.EndTick = std::max<std::int64_t>(tick, static_cast<std::int64_t>(record.LengthMeasures) * content.MeasureTicks);
    return data::WriteSmfFile(path, content, error);
}

bool ExportPartSet(core::Session& session, const std::string& folder, int setDigit, std::vector<std::string>& written,
                   std::string& error) {
    const data::StyleState& style = session.Style().style;
    for (int part = 0; part < data::PartCount; ++part) {
        const data::PartRecord& record = style.Parts[static_cast<std::size_t>(part)];
        if (!record.Present()) continue;
        const std::string path =
            ExportSetFile(folder, setDigit, part, record.FollowUpCode == data::followup::Variation);
        if (!WritePartFile(session, part, path, error)) return false;
        written.push_back(path);
    }
    return true;
}

}  // namespace chordella::stylecreator
