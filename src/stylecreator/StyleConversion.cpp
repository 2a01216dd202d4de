#include "stylecreator/StyleConversion.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "core/MidiImport.h"
#include "data/InstrumentSet.h"
#include "engine/ClockState.h"
#include "engine/SongPlayState.h"
#include "platform/Files.h"
#include "stylecreator/ChannelRules.h"
#include "stylecreator/CreatorPositions.h"
#include "stylecreator/HeadlessCreatorHost.h"
#include "stylecreator/PartPlacement.h"
#include "stylecreator/StructureApply.h"

namespace chordella::stylecreator {

namespace {

constexpr std::size_t MaxStyleFileBytes = 16 * 1024 * 1024;
constexpr int SubRhythmChannel = 8;   // channel 9 of the keyboard files: the second drum channel

// The creator's chord type (1 … 17) for a chord kind of the channel table.
int CreatorTypeOfKind(int kind) {
    switch (kind) {
        case 7: return 10;                               // aug
        case 8: case 9: case 10: case 12: case 13: case 14: case 15: case 16: return 2;   // minor family
        case 11: return 15;                              // m7b5
        case 17: case 18: return 5;                      // dim
        case 20: return 17;                              // 7sus4
        case 21: case 22: case 23: case 24: case 25: case 26: case 27: case 29: case 19: return 3;  // sevenths
        case 32: return 6;                               // sus4
        default: return 1;                               // major family, 1+5, 1+8, 1+2+5
    }
}

bool IsRhythm(int channel) { return channel == SubRhythmChannel || channel == 9; }

std::string KindsText(const CasmChannel& channel) {
    std::string text;
    int shown = 0;
    for (int kind = 0; kind < casmchord::KindCount; ++kind) {
        if (!channel.PlaysUnder(kind)) continue;
        if (shown++ == 3) {
            text += ", …";
            break;
        }
        text += (text.empty() ? "" : ", ") + std::string(casmchord::KindName(kind));
    }
    return text.empty() ? "no chord" : text;
}

std::span<std::uint8_t> Chunk0(data::CreatorWork& work) {
    data::WorkChunk& chunk = work.Chunks[0];
    if (!chunk.Buffer) return {};
    return {chunk.Buffer.get(), static_cast<std::size_t>(std::clamp(chunk.Size, 0, data::WorkChunkCapacity))};
}

// The channels with a sounding note between two offsets.
std::array<bool, data::StyleChannels> ChannelsWithNotes(std::span<const std::uint8_t> stream, std::size_t begin,
                                                        std::size_t end) {
    std::array<bool, data::StyleChannels> found{};
    data::stream::ForEachMessageIn(stream, begin, end, [&](std::size_t at) {
        const std::uint8_t b = stream[at];
        if ((b & 0xF0) == 0x90 && stream[at + 2] > 0) found[b & 0x0F] = true;
    });
    return found;
}

// A chunk that claims more bytes than the file holds: the file was cut, and what followed the
// cut is missing. Names the byte the file ends at and what it ends inside: the section of a
// track cut short, or the channel table.
std::string DamageOf(std::span<const std::uint8_t> file, const std::vector<data::SectionMarker>& markers) {
    for (std::size_t at = 14; at + 8 <= file.size();) {
        const std::string tag(file.begin() + static_cast<long>(at), file.begin() + static_cast<long>(at) + 4);
        const std::size_t size = static_cast<std::size_t>(file[at + 4]) << 24 | static_cast<std::size_t>(file[at + 5]) << 16 |
                                 static_cast<std::size_t>(file[at + 6]) << 8 | file[at + 7];
        if (size > file.size() - at - 8) {
            std::string inside = "the " + tag + " chunk";
            if (tag == "MTrk") inside = markers.size() > 2 ? markers.back().Text : std::string("the set-up");
            if (tag == "CASM") inside = "the channel table";
            return "ends at byte " + std::to_string(file.size()) + " inside " + inside;
        }
        at += 8 + size;
    }
    return {};
}

}  // namespace

int SetReport::ChannelsKept() const {
    return static_cast<int>(std::count_if(Channels.begin(), Channels.end(),
                                          [](const ChannelDecision& d) { return d.Fate != ChannelFate::Dropped; }));
}

std::string FateText(ChannelFate fate) {
    switch (fate) {
        case ChannelFate::Kept: return "kept";
        case ChannelFate::Moved: return "moved";
        case ChannelFate::Dropped: return "dropped";
    }
    return {};
}

StyleConversion::StyleConversion(core::Session& session, StyleCreator& creator)
    : session_(session), creator_(creator) {}

bool StyleConversion::Import(const std::string& path, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadFileBytes(path, MaxStyleFileBytes, bytes, error)) return false;
    data::MidiImporter importer(session_, creator_.Live().options);
    // Leading silence stays: the section markers count measures from the file's start.
    if (importer.Import(path, true, true) != data::ImportOutcome::Imported) {
        error = "the import refused the file";
        return false;
    }
    const data::ImportResult& result = importer.LastResult();
    data::CreatorWork& work = session_.Style().Work;
    if (work.Markers.size() <= 2) {
        error = "no section markers: not a keyboard style file";
        return false;
    }
    measureUnits_ = std::max(data::UnitsPerBeat, result.MeasureUnits);
    engine::ClockState& clock = creator_.Live().clock;
    clock.MeasureUnits = static_cast<decltype(clock.MeasureUnits)>(measureUnits_);

    data::StyleHeader& header = session_.Style().style.Header;
    header.Reset();
    for (std::size_t c = 0; c < data::StyleChannels; ++c) {
        std::copy(result.FirstValues[c].begin(), result.FirstValues[c].end(), header.ChannelSetup[c].begin());
        header.ChannelUsed[c] = result.ChannelUsed[c];
    }
    header.StyleTempo = static_cast<std::int16_t>(std::clamp(result.Tempo > 0 ? result.Tempo : 120, 1, 999));
    header.StyleMeter = static_cast<std::int16_t>(measureUnits_);
    header.ConvertedFlag = 1;
    importedHeader_ = header;
    const auto material = Chunk0(work);
    importedMaterial_.assign(material.begin(), material.end());
    importedSize_ = work.Chunks[0].Size;

    casm_ = ReadCasm(bytes);
    lists_.Fill(work.Markers);
    damage_ = DamageOf(bytes, work.Markers);
    return true;
}

void StyleConversion::RestoreImported() {
    data::CreatorWork& work = session_.Style().Work;
    data::WorkChunk& chunk = work.Chunks[0];
    if (chunk.Buffer && !importedMaterial_.empty()) {
        std::memcpy(chunk.Buffer.get(), importedMaterial_.data(), importedMaterial_.size());
        chunk.Size = importedSize_;
    }
    session_.Style().style.Header = importedHeader_;
    CreatorState& state = creator_.State();
    state.ConvertedFlag = false;
    state.RestoreEnabled = false;
    state.BackupSize = 0;
    state.StoredSettingsCode = NoSettingsCode;
    tableRoot_ = {};
    tableKind_ = {};
    fromTable_ = {};
    nativeRules_ = {};
}

std::string StyleConversion::SectionOf(int part) const {
    for (int list = 0; list < ConverterListCount; ++list) {
        if (PartOfList(list) != part) continue;
        const int choice = lists_.Selected()[static_cast<std::size_t>(list)];
        if (choice < 0) return {};
        return lists_.List(list)[static_cast<std::size_t>(choice)].Name;
    }
    return {};
}

SetReport StyleConversion::ConvertSet(int item, platform::Random& random) {
    SetReport report;
    report.SetItem = item;
    RestoreImported();
    data::CreatorWork& work = session_.Style().Work;
    data::StyleState& style = session_.Style().style;

    if (item == RandomPartsItem) lists_.ChooseRandomParts(random);
    else lists_.ChooseSet(item, random);
    const auto ranges = lists_.ChosenRanges();
    remembered_ = lists_.Selected();

    // The second drum channel joins the first.
    moved89_ = false;
    if (options_.ProcessChannels9And11 && style.Header.ChannelUsed[SubRhythmChannel] != 0) {
        MoveStyleChannel(ChannelTarget{style.Header, Chunk0(work), nullptr}, SubRhythmChannel, 9);
        moved89_ = true;
    }

    // Every part starts where its section's marker stands and is as long as the section, in
    // every meter: the ranges are exact, so they need neither the 2/4 adjustment of ranges
    // counted in 4/4 bars nor a start moved to beat 2 in 3/4.
    StructureData structure;
    for (int part = 0; part < data::PartCount; ++part) {
        const SectionRange& range = ranges[static_cast<std::size_t>(part)];
        structure.Ranges[static_cast<std::size_t>(part)] = {range.First, range.Last, range.StartBeat};
    }
    HeadlessCreatorHost host(session_, creator_.Live().clock);
    PartSetter setter(style, session_.Prompter(), host);
    ChannelFlags muteBoxes{};
    ApplyStructure(structure, setter, style, host, muteBoxes, session_.Prompter(), false);
    if (!host.status.empty()) report.Warnings.push_back(host.status);
    for (int part = 0; part < data::PartCount; ++part) {
        const data::PartRecord& record = style.Parts[static_cast<std::size_t>(part)];
        if (!record.Present()) continue;
        report.Parts.push_back({part, SectionOf(part), record.StartMeasure, record.EndMeasure, false});
    }
    tableBass_ = {};
    if (useCasm_ && casm_.Present) {
        tableBass_ = BassOfChannelTable(casm_, VoicesOfChannels(importedHeader_, importedMaterial_));
        ApplyChannelTable(report);
    }
    if (native_) ShareTableWithSameMeasures();
    for (ConvertedPart& part : report.Parts) part.FromChannelTable = fromTable_[static_cast<std::size_t>(part.Part)];
    RunConversion(report);
    RebuildNotesEnd(style, Chunk0(work), true);
    PlaceBass(report);
    RebuildNotesEnd(style, Chunk0(work), true);
    SavePartBounds(style);
    style.StyleModified = 0;
    return report;
}

void StyleConversion::ApplyChannelTable(SetReport& report) {
    data::CreatorWork& work = session_.Style().Work;
    data::StyleState& style = session_.Style().style;
    const std::span<std::uint8_t> material = Chunk0(work);
    std::set<std::pair<int, int>> handled;   // ranges whose channels were already decided
    for (int part = 0; part < data::PartCount; ++part) {
        const data::PartRecord& record = style.Parts[static_cast<std::size_t>(part)];
        if (!record.Present()) continue;
        const std::string section = SectionOf(part);
        const CasmGroup* group = casm_.GroupFor(section);
        if (!group) {
            if (!section.empty())
                report.Warnings.push_back("\"" + section + "\" is not in the channel table: chords are detected");
            continue;
        }
        fromTable_[static_cast<std::size_t>(part)] = true;
        auto& roots = tableRoot_[static_cast<std::size_t>(part)];
        auto& kinds = tableKind_[static_cast<std::size_t>(part)];
        roots.fill(-1);
        kinds.fill(-1);
        const auto begin = static_cast<std::size_t>(std::max(record.RangeStart, 0));
        const auto end = static_cast<std::size_t>(std::max(record.RangeEnd, record.RangeStart));
        const bool again = !handled.insert({record.RangeStart, record.RangeEnd}).second;
        const auto sounding = ChannelsWithNotes(material, begin, end);

        // Where every channel goes; −1 = silenced.
        std::array<int, data::StyleChannels> target{};
        for (int c = 0; c < data::StyleChannels; ++c) target[static_cast<std::size_t>(c)] = c;
        std::array<bool, data::StyleChannels> decided{};
        for (const CasmChannel& entry : group->Channels) {
            int source = entry.SourceChannel;
            if (moved89_ && source == SubRhythmChannel) source = 9;
            if (decided[static_cast<std::size_t>(source)] && !entry.PlaysUnderMajor()) continue;
            int destination = entry.DestinationChannel;
            if (moved89_ && destination == SubRhythmChannel) destination = 9;
            decided[static_cast<std::size_t>(source)] = true;
            ChannelDecision decision{part, entry.SourceChannel, destination, ChannelFate::Kept, {}};
            if (!entry.PlaysUnderMajor()) {
                target[static_cast<std::size_t>(source)] = -1;
                decision.Fate = ChannelFate::Dropped;
                decision.Destination = source;
                decision.Reason = "plays under " + KindsText(entry) + " only";
            } else {
                target[static_cast<std::size_t>(source)] = destination;
                if (destination != source) decision.Fate = ChannelFate::Moved;
                if (!IsRhythm(destination)) {
                    roots[static_cast<std::size_t>(destination)] = entry.SourceRoot;
                    kinds[static_cast<std::size_t>(destination)] = entry.SourceKind;
                    if (native_) {
                        nativeRules_.Present = true;
                        nativeRules_.Parts[static_cast<std::size_t>(part)][static_cast<std::size_t>(destination)] =
                            entry.Rules;
                    }
                }
                decision.Reason = entry.VoiceName + ", written in " +
                                  std::string(casmchord::KindName(entry.SourceKind)) +
                                  (entry.SourceRoot ? " on pitch class " + std::to_string(entry.SourceRoot) : "");
            }
            if (sounding[static_cast<std::size_t>(source)] && !again) report.Channels.push_back(decision);
        }
        for (int c = 0; c < data::StyleChannels; ++c) {
            if (!sounding[static_cast<std::size_t>(c)] || decided[static_cast<std::size_t>(c)]) continue;
            target[static_cast<std::size_t>(c)] = -1;
            if (!again) report.Channels.push_back({part, c, c, ChannelFate::Dropped, "not in the channel table"});
        }
        if (again) continue;   // the same measures were decided for another part already

        // One pass over the range: moves by the map (so that swaps stay swaps), silenced notes.
        data::stream::ForEachMessageIn(material, begin, end, [&](std::size_t at) {
            const std::uint8_t b = material[at];
            const int to = target[b & 0x0F];
            if (to < 0) {
                if ((b & 0xF0) == 0x90) material[at + 2] = 0;
            } else if (to != (b & 0x0F)) {
                material[at] = static_cast<std::uint8_t>((b & 0xF0) | to);
            }
        });
        for (int c = 0; c < data::StyleChannels; ++c) {
            const int to = target[static_cast<std::size_t>(c)];
            if (to < 0 || to == c) continue;
            auto& destination = style.Header.ChannelSetup[static_cast<std::size_t>(to)];
            // The bass part takes its source's voice even where the file set channel 11 up
            // for another voice: the set-up is all that selects the voice the bass plays.
            const bool bass = to == BassChannel && c == tableBass_.Channel;
            if (destination[data::SetupProgramIndex] != data::SetupNotSet && !bass) continue;
            for (int index : data::MixerSetupIndexes)
                destination[static_cast<std::size_t>(index)] =
                    style.Header.ChannelSetup[static_cast<std::size_t>(c)][static_cast<std::size_t>(index)];
        }
    }
}

// A part without a section of its own that plays the measures of a part the table steers (a
// fill the style lacks, standing in with its main section) plays by the same rules: converting
// it would change the notes the other part plays natively.
void StyleConversion::ShareTableWithSameMeasures() {
    const data::PartTable& parts = session_.Style().style.Parts;
    for (std::size_t part = 0; part < parts.size(); ++part) {
        if (!parts[part].Present() || fromTable_[part]) continue;
        for (std::size_t other = 0; other < parts.size(); ++other) {
            if (!fromTable_[other] || parts[other].RangeStart != parts[part].RangeStart ||
                parts[other].RangeEnd != parts[part].RangeEnd)
                continue;
            fromTable_[part] = true;
            tableRoot_[part] = tableRoot_[other];
            tableKind_[part] = tableKind_[other];
            nativeRules_.Parts[part] = nativeRules_.Parts[other];
            break;
        }
    }
}

void StyleConversion::PlaceBass(SetReport& report) {
    data::StyleState& style = session_.Style().style;
    const std::span<std::uint8_t> material = Chunk0(session_.Style().Work);
    const ChannelNames names = NamesOfChannels(style.Header, data::BuiltInGeneralMidiSet());
    // The channel table moved the bass to channel 11 in the parts it plays in; without a
    // table (or a table without a bass part) the style's voices and names tell.
    const bool tableBassPlays = std::any_of(report.Channels.begin(), report.Channels.end(), [](const ChannelDecision& d) {
        return d.Destination == BassChannel && d.Fate != ChannelFate::Dropped;
    });
    if (tableBass_.Channel >= 0 && tableBassPlays) {
        report.Bass = tableBass_;
        report.Bass.Channel = BassChannel;
    } else {
        report.Bass = FindBass(style.Header, material, names, data::BuiltInVoiceMap());
    }
    if (!options_.ProcessChannels9And11 || report.Bass.Channel < 0) return;
    OfflineChannelRules silent;
    const BassMove move =
        MoveBassToChannel11(ChannelTarget{style.Header, material, nullptr, &nativeRules_}, NamesWithBass(names, report.Bass),
                            silent, true);
    if (move.Result == BassMoveResult::Moved) {
        report.BassMovedFrom = move.From;
        report.Bass.Channel = BassChannel;
    }
    // Channel 11's set-up names the bass voice, also when the file set the channel up as
    // something else and switched it to the bass later: the mixer, the channel rules and a
    // General MIDI output go by the set-up.
    const data::Voice& voice = report.Bass.Voice;
    if (report.Bass.Channel != BassChannel || voice.Program < 0) return;
    auto& setup = style.Header.ChannelSetup[static_cast<std::size_t>(BassChannel)];
    setup[0] = static_cast<std::uint8_t>(voice.Msb < 0 ? data::SetupNotSet : voice.Msb);
    setup[32] = static_cast<std::uint8_t>(voice.Lsb < 0 ? data::SetupNotSet : voice.Lsb);
    setup[data::SetupProgramIndex] = static_cast<std::uint8_t>(voice.Program);
}

void StyleConversion::ConvertFromTable(int part, ConvertMode mode, bool stylemode, SetReport&) {
    data::CreatorWork& work = session_.Style().Work;
    const data::PartRecord& record = session_.Style().style.Parts[static_cast<std::size_t>(part)];
    const std::span<std::uint8_t> material = Chunk0(work);
    const auto& roots = tableRoot_[static_cast<std::size_t>(part)];
    const auto& kinds = tableKind_[static_cast<std::size_t>(part)];
    const auto begin = static_cast<std::size_t>(std::max(record.RangeStart, 0));
    const auto end = std::min(static_cast<std::size_t>(std::max(record.RangeEnd, record.RangeStart)), material.size());
    for (std::size_t at = 0; at < end;) {
        const std::uint8_t b = material[at];
        if (b == data::stream::EndOfStream || b == data::stream::EndOfBuffer) break;
        if (!data::stream::IsChannelMessage(b)) {
            ++at;
            continue;
        }
        if (at + 2 >= material.size()) break;
        const int channel = b & 0x0F;
        const int status = b & 0xF0;
        if (at >= begin && (status == 0x80 || status == 0x90) && roots[static_cast<std::size_t>(channel)] >= 0) {
            // The chord is the same for the whole part, so a note-off gets its note-on's key.
            const int type = stylemode ? 1 : CreatorTypeOfKind(kinds[static_cast<std::size_t>(channel)]);
            const int key = ConvertKey(material[at + 1], roots[static_cast<std::size_t>(channel)], type, mode);
            material[at + 1] = static_cast<std::uint8_t>(std::clamp(key, 0, 127));
        }
        at += data::stream::MessageLength;
    }
}

void StyleConversion::RunConversion(SetReport& report) {
    CreatorState& state = creator_.State();
    // The settings the run changes; the unconverted copy and the flags the run sets stay.
    const GeneratorSettings savedGenerator = state.Generator;
    const ConversionSettings savedConversion = state.Conversion;
    const CreatorMode savedMode = state.Mode;
    const MeasureRange savedRange = state.StyleRange;
    const int savedPart = state.SelectedPart;
    engine::SongPlayState& songPlay = creator_.Live().songPlay;
    const auto transpose = songPlay.SongTranspose;
    songPlay.SongTranspose = 0;
    creator_.SetUnattended(true);

    const ConvertMode userMode = state.Conversion.Mode;
    const bool keepIntroEnding = options_.DoNotConvertIntroAndEnding;
    state.Generator.IntervalBeats = 4;   // "1/1"
    state.Generator.ChordSet = 3;        // "3 Normal"
    state.Generator.Sensitivity = 2;     // "2 Middle"
    state.Conversion.Confirm = false;

    std::set<std::pair<int, int>> converted;
    auto convert = [&](data::StylePart which, ConvertMode mode, bool stylemode) {
        const int part = data::Index(which);
        const data::PartRecord& record = session_.Style().style.Parts[static_cast<std::size_t>(part)];
        if (!record.Present()) return;
        // Two parts on the same measures (a fill that is also a transition) are converted once:
        // a second pass would move its notes again.
        if (!converted.insert({record.RangeStart, record.RangeEnd}).second) return;
        if (fromTable_[static_cast<std::size_t>(part)]) {
            if (!native_) ConvertFromTable(part, mode, stylemode, report);
            return;
        }
        state.Conversion.Mode = mode;
        state.Conversion.Stylemode = stylemode;
        state.Mode = CreatorMode::Style;
        state.SelectedPart = part;
        state.StyleRange = {record.StartMeasure, std::max<int>(1, record.StartBeat), record.EndMeasure};
        creator_.ConvertMeasures();
    };

    using data::StylePart;
    convert(StylePart::Ending, ConvertMode::ImproperNotes, keepIntroEnding);
    const ConvertMode mainMode = keepIntroEnding ? userMode : ConvertMode::ImproperNotes;
    for (StylePart part : {StylePart::FillInBasic, StylePart::FillInExtended, StylePart::ToExtended, StylePart::ToBasic,
                           StylePart::Basic, StylePart::Extended})
        convert(part, mainMode, false);
    convert(StylePart::Intro, keepIntroEnding ? ConvertMode::NoneNC : mainMode, keepIntroEnding);

    creator_.SetUnattended(false);
    state.Generator = savedGenerator;
    state.Conversion = savedConversion;
    state.Mode = savedMode;
    state.StyleRange = savedRange;
    state.SelectedPart = savedPart;
    songPlay.SongTranspose = transpose;
    session_.Style().style.StyleModified = 0;
}

}  // namespace chordella::stylecreator
