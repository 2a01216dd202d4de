// `chordella info FILE`: a short readable summary of a file. Each kind of file is one entry
// of the table below: how it is recognised and how it is described.
#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <vector>

#include "cli/FileCommands.h"
#include "cli/RenderCommands.h"
#include "composer/ChordSymbols.h"
#include "composer/EditorGrid.h"
#include "core/MidiImport.h"
#include "core/SongFiles.h"
#include "data/ArrangementState.h"
#include "data/ChordMemory.h"
#include "data/GeneralMidi.h"
#include "data/InstrumentSet.h"
#include "data/SmfInfo.h"
#include "data/SongCommands.h"
#include "data/SongFile.h"
#include "data/StyleAnalysis.h"
#include "data/StyleFile.h"
#include "data/VoiceMap.h"
#include "data/WorkFile.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "stylecreator/BassFinding.h"
#include "stylecreator/CasmChunk.h"

namespace chordella::cli {

namespace {

constexpr std::size_t LargestInfoFile = 16 * 1024 * 1024;

// By content, or by the extensions the import dialog offers (so a damaged one gets the import's message).
bool IsMidi(const std::string& path, std::span<const std::uint8_t> bytes) {
    if (bytes.size() >= 4 && std::equal(bytes.begin(), bytes.begin() + 4, "MThd")) return true;
    const std::string extension = app::LowerExtensionOf(path);
    for (const char* known : {".mid", ".midi", ".kar", ".sty", ".prs", ".bcs", ".sst"})
        if (extension == known) return true;
    return false;
}

bool IsWork(const std::string& path, std::span<const std::uint8_t>) { return app::LowerExtensionOf(path) == ".vxw"; }
bool IsStyle(const std::string& path, std::span<const std::uint8_t>) { return app::LowerExtensionOf(path) == ".vxs"; }
bool IsSong(const std::string& path, std::span<const std::uint8_t>) { return app::LowerExtensionOf(path) == ".vxa"; }

std::string Printable(const std::string& text) {
    std::string result;
    for (char c : text) result.push_back(std::isprint(static_cast<unsigned char>(c)) ? c : '?');
    return result;
}

// "bass: ch 11, by its voice: its voice bank 8/0 program 17 is a maker's Electric Bass (finger)"
void DescribeBass(const stylecreator::BassFinding& bass, std::FILE* out) {
    if (bass.Channel < 0) {
        std::fprintf(out, "bass: none found (no bass part in a channel table, no bass voice, no bass program name)\n");
        return;
    }
    std::string voice;
    if (bass.Voice.Program >= 0) {
        voice = ", " + data::VoiceText(bass.Voice);
        const int gm = data::BuiltInVoiceMap().NearestGm(bass.Voice);
        if (gm >= 0) voice += " (General MIDI: " + std::string(data::GeneralMidiProgramNames()[static_cast<std::size_t>(gm)]) + ")";
    }
    std::fprintf(out, "bass: ch %d, by its %s: %s%s\n", bass.Channel + 1, stylecreator::EvidenceText(bass.Evidence).c_str(),
                 Printable(bass.Why).c_str(), voice.c_str());
}

// The bass of a keyboard style file: its channel table's bass part, else the voices and names
// of its set-up.
void DescribeForeignBass(std::span<const std::uint8_t> bytes, const data::ImportResult& import, std::FILE* out) {
    data::StyleHeader header;
    header.Reset();
    for (std::size_t c = 0; c < data::StyleChannels; ++c) {
        std::copy(import.FirstValues[c].begin(), import.FirstValues[c].end(), header.ChannelSetup[c].begin());
        header.ChannelUsed[c] = import.ChannelUsed[c];
    }
    const auto voices = stylecreator::VoicesOfChannels(header, {});
    stylecreator::BassFinding bass = stylecreator::BassOfChannelTable(stylecreator::ReadCasm(bytes), voices);
    if (bass.Channel < 0)
        bass = stylecreator::FindBass(header, {}, stylecreator::NamesOfChannels(header, data::BuiltInGeneralMidiSet()),
                                      data::BuiltInVoiceMap());
    DescribeBass(bass, out);
}

// The CASM channel table of a keyboard style file: per section group, per source channel its
// output channel, the chord kinds it plays under, its note mask and the chord it is written in.
void DescribeChannelTable(std::span<const std::uint8_t> bytes, std::FILE* out) {
    const stylecreator::CasmTable table = stylecreator::ReadCasm(bytes);
    if (!table.Present) return;
    std::fprintf(out, "channel table (CASM), %zu groups:\n", table.Groups.size());
    for (const stylecreator::CasmGroup& group : table.Groups) {
        std::string sections;
        for (const std::string& name : group.Sections) sections += (sections.empty() ? "" : ", ") + name;
        std::fprintf(out, "  %s\n", Printable(sections).c_str());
        for (const stylecreator::CasmChannel& c : group.Channels) {
            int kinds = 0;
            for (int kind = 0; kind < stylecreator::casmchord::KindCount; ++kind) kinds += c.PlaysUnder(kind) ? 1 : 0;
            std::fprintf(out, "    ch %2d -> %2d  %-8s  %s under major, %2d chord kinds, notes %03X, written in %s%s\n",
                         c.SourceChannel + 1, c.DestinationChannel + 1, Printable(c.VoiceName).c_str(),
                         c.PlaysUnderMajor() ? "plays" : "silent", kinds, c.NoteMute,
                         std::string(stylecreator::casmchord::KindName(c.SourceKind)).c_str(),
                         c.SourceRoot ? (" on pitch class " + std::to_string(c.SourceRoot)).c_str() : "");
        }
    }
    for (const std::string& message : table.Messages) std::fprintf(out, "  note: %s\n", Printable(message).c_str());
}

bool DescribeMidi(const std::string& path, std::span<const std::uint8_t> bytes, std::FILE* out, std::string& error) {
    data::SmfSummary summary;
    const bool style = data::IsStyleFormat(path);
    if (!data::SummarizeSmf(bytes, summary, error)) return false;
    const data::SmfLayout& layout = summary.Layout;
    std::fprintf(out, "%s: %s, %zu bytes\n", path.c_str(), style ? "keyboard style / MIDI file" : "Standard MIDI File",
                 summary.FileSize);
    std::fprintf(out, "format %d, %d tracks declared (%zu read), division %d (%d file ticks per tick)\n", layout.Format,
                 layout.DeclaredTracks, layout.Tracks.size(), layout.Division, layout.FileTicksPerTick());
    for (std::size_t index = 0; index < summary.Tracks.size(); ++index) {
        const data::SmfTrackSummary& track = summary.Tracks[index];
        std::fprintf(out, "  track %2zu: %6zu bytes, %5d events, ends at tick %lld%s%s%s\n", index + 1,
                     track.PresentBytes, track.Events, static_cast<long long>(track.EndTick),
                     track.Name.empty() ? "" : ", \"", Printable(track.Name).c_str(), track.Name.empty() ? "" : "\"");
        if (!track.Problem.empty()) std::fprintf(out, "            note: %s\n", track.Problem.c_str());
    }
    const auto list = [&](const char* title, const std::vector<data::SmfTimedText>& items) {
        std::fprintf(out, "%s (%zu):", title, items.size());
        const std::size_t shown = std::min<std::size_t>(items.size(), 12);
        for (std::size_t index = 0; index < shown; ++index)
            std::fprintf(out, " %s@%lld", items[index].Text.c_str(), static_cast<long long>(items[index].Tick));
        std::fprintf(out, "%s\n", items.size() > shown ? " ..." : "");
    };
    list("meters", summary.Meters);
    list("tempos", summary.Tempos);
    std::fprintf(out, "imports as %lld beats\n", static_cast<long long>(summary.Import.ImportedBeats));
    if (style || !summary.Import.Markers.empty()) {
        std::fprintf(out, "markers (%zu):\n", summary.Import.Markers.size());
        // A section that starts off the bar line says on which beat, and how long it is.
        for (const data::SectionMarker& marker : summary.Import.Markers)
            std::fprintf(out, "  %s%s\n", Printable(marker.DisplayText()).c_str(),
                         marker.StartBeat > 1 ? (" (from beat " + std::to_string(marker.StartBeat) + ", " +
                                                 std::to_string(marker.Beats) + " beats)").c_str()
                                              : "");
    }
    if (!summary.ImportMessage.empty()) std::fprintf(out, "import says: %s\n", summary.ImportMessage.c_str());
    if (style) {
        DescribeChannelTable(bytes, out);
        DescribeForeignBass(bytes, summary.Import, out);
    }
    return true;
}

// "chords: 1:1 C, 2:1 Am, …": where the chord memory of a work file starts a chord.
void DescribeWorkChords(const data::WorkFile& work, int meter, std::FILE* out) {
    data::ChordMemory memory;
    data::ClearChordMemory(memory);
    std::copy_n(work.ChordMemory.begin(), std::min(work.ChordMemory.size(), memory.Bytes.size()), memory.Bytes.begin());
    memory.ChordMemoryLength = static_cast<std::int16_t>(std::min<int>(work.ChordMemoryLength, data::ChordMemorySize));
    std::string list;
    int count = 0;
    for (int position = data::ChordMemoryHeaderSize; position < memory.ChordMemoryLength; position += 4) {
        const data::BeatRecord record = memory.RecordAt(position);
        if (!data::StartsChord(record)) continue;
        ++count;
        const int beat = (position - 4) % meter / 4 + 1;
        list += (list.empty() ? "" : ", ") + std::to_string(data::MeasureOf(position, meter)) + ":" +
                std::to_string(beat) + " " +
                composer::ChordSymbol(record.ChordRoot % 12, data::DisplayChordType(record), false);
    }
    std::fprintf(out, "chords (%d): %s\n", count, list.empty() ? "none" : list.c_str());
}

// "parts: Basic 1-4, …" from the part table of a work file.
void DescribeWorkParts(const data::WorkFile& work, std::FILE* out) {
    std::string list;
    for (int part = 0; part < data::PartCount; ++part) {
        const auto at = static_cast<std::size_t>(part * data::PartRecordSize);
        const int start = static_cast<std::int16_t>(work.PartTable[at] | work.PartTable[at + 1] << 8);
        const int end = static_cast<std::int16_t>(work.PartTable[at + 2] | work.PartTable[at + 3] << 8);
        if (start < 1) continue;
        list += (list.empty() ? "" : ", ") + std::string(data::PartSelectorText(part).substr(1)) + " " +
                std::to_string(start) + (end != start ? "-" + std::to_string(end) : "");
    }
    std::fprintf(out, "parts: %s\n", list.empty() ? "none" : list.c_str());
}

bool DescribeWork(const std::string& path, std::span<const std::uint8_t> bytes, std::FILE* out, std::string& error) {
    data::WorkFile work;
    if (!data::ParseWorkFile(bytes, work, error)) return false;
    int used = 0;
    std::string channels;
    for (int channel = 0; channel < 16; ++channel) {
        if (!work.ChannelUsed(channel)) continue;
        ++used;
        channels += (channels.empty() ? "" : " ") + std::to_string(channel + 1);
    }
    int parts = 0;
    for (int part = 0; part < 8; ++part) parts += (work.PartTable[part * 66] | work.PartTable[part * 66 + 1] << 8) != 0;
    const int meter = work.StyleMeter() == 0 ? 16 : std::abs(work.StyleMeter());
    std::fprintf(out, "%s: style creator work file, %zu bytes\n", path.c_str(), bytes.size());
    std::fprintf(out, "work length %u units (%u beats, %u measures of %d units)\n", work.WorkLengthUnits,
                 work.WorkLengthUnits / 4u, (work.WorkLengthUnits + meter - 1u) / static_cast<unsigned>(meter), meter);
    std::fprintf(out, "stream %zu bytes, chord memory %u bytes, tempo %d, %d parts set\n", work.Stream.size(),
                 work.ChordMemoryLength, work.StyleTempo(), parts);
    std::fprintf(out, "channels used (%d): %s\n", used, channels.empty() ? "none" : channels.c_str());
    DescribeWorkChords(work, meter, out);
    DescribeWorkParts(work, out);
    return true;
}

std::string ChannelList(const std::array<std::uint8_t, 16>& used) {
    std::string list;
    for (int channel = 0; channel < 16; ++channel)
        if (used[static_cast<std::size_t>(channel)] != 0) list += (list.empty() ? "" : " ") + std::to_string(channel + 1);
    return list.empty() ? "none" : list;
}

bool DescribeStyle(const std::string& path, std::span<const std::uint8_t> bytes, std::FILE* out, std::string& error) {
    data::StyleImage image;
    if (!data::ReadStyleFile(bytes, image, error) || !data::CheckStyleHeader(image.Header, error) ||
        !data::CheckStyleStream(image.Parts, image.Stream, error))
        return false;
    const data::StyleMeterChoice meter = data::MeterChoiceOf(image.Header.StyleMeter);
    std::fprintf(out, "%s: style, %zu bytes, stream %zu bytes\n", path.c_str(), bytes.size(), image.Stream.size());
    std::fprintf(out, "tempo %d, meter %s\n", image.Header.StyleTempo, data::MeterName(meter.MeasureUnits, meter.EighthNotes).c_str());
    for (int part = 0; part < data::PartCount; ++part) {
        const data::PartRecord& record = image.Parts[static_cast<std::size_t>(part)];
        if (!record.Present()) continue;
        // The channels the part plays a note on (its muted channels left out).
        std::array<std::uint8_t, 16> channels{};
        const std::int32_t end = std::min<std::int32_t>(record.RangeEnd, static_cast<std::int32_t>(image.Stream.size()));
        for (std::int32_t pos = std::max(record.RangeStart, 0); pos + 2 < end;) {
            const std::uint8_t b = image.Stream[static_cast<std::size_t>(pos)];
            if ((b & 0xF0) == 0x90 && image.Stream[static_cast<std::size_t>(pos) + 2] > 0 && record.PartMute[b & 0x0F] == 0)
                channels[b & 0x0F] = 1;
            pos += data::stream::IsChannelMessage(b) ? 3 : 1;
        }
        std::fprintf(out, "  %-17s measures %3d - %3d, channels %s\n",
                     std::string(data::PartSelectorText(part).substr(1)).c_str(), record.StartMeasure,
                     record.EndMeasure, ChannelList(channels).c_str());
    }
    std::fprintf(out, "channels used: %s\n", ChannelList(image.Header.ChannelUsed).c_str());
    if (image.Native.Present) {
        int channels = 0;
        for (const auto& part : image.Native.Parts)
            for (const data::NativeChannelRules& rules : part) channels += rules.Active ? 1 : 0;
        std::fprintf(out, "channel rules: %d part channels play natively\n", channels);
    } else if (!image.NativeProblem.empty()) {
        std::fprintf(out, "channel rules: not used, %s\n", image.NativeProblem.c_str());
    }
    DescribeBass(stylecreator::FindBass(image.Header, image.Stream,
                                        stylecreator::NamesOfChannels(image.Header, data::BuiltInGeneralMidiSet()),
                                        data::BuiltInVoiceMap()),
                 out);
    return true;
}

bool DescribeSong(const std::string& path, std::span<const std::uint8_t> bytes, std::FILE* out, std::string& error) {
    const data::SongReadResult read = data::ReadSongFile(bytes);
    if (!read.Ok) {
        error = "damaged song (" + read.Error + ")";
        return false;
    }
    data::ArrangementState song;
    data::ApplySongFile(read.Content, song);
    const data::ChordMemory& memory = song.Chords;
    const int units = memory.SongMeter() >= 4 && memory.SongMeter() <= 48 ? memory.SongMeter() : 16;
    std::fprintf(out, "%s: song, %zu bytes\n", path.c_str(), bytes.size());
    if (!song.Text.SongTitle.empty()) std::fprintf(out, "title \"%s\"\n", Printable(song.Text.SongTitle).c_str());
    std::fprintf(out, "%d measures, tempo %d, meter %s, %d melody events\n",
                 data::MeasureCount(memory.ChordMemoryLength, units), memory.SongTempo(),
                 data::MeterName(units, false).c_str(), song.Melody.MelodyCount);
    if (read.Content.ChordMemoryBytesCut > 0) std::fprintf(out, "%s\n", data::SongCutNotice(units).c_str());
    std::fprintf(out, "style: %s\n", song.HasStyleReference && !song.StyleReference.empty()
                                          ? Printable(song.StyleReference).c_str() : "none named");
    const data::CommandTextContext context;
    std::string commands;
    int count = 0;
    for (int position = data::ChordMemoryHeaderSize; position < memory.ChordMemoryLength; position += data::BeatRecordSize) {
        const std::string text = data::CommandText(memory.RecordAt(position), context);
        if (text.empty()) continue;
        if (++count <= 16) {
            const int beats = units / 4 > 0 ? units / 4 : 4;
            const int beat = (position - data::ChordMemoryHeaderSize) / data::BeatRecordSize;
            commands += "  " + std::to_string(beat / beats + 1) + "." + std::to_string(beat % beats + 1) + " " + text + "\n";
        }
    }
    std::fprintf(out, "commands (%d):\n%s%s", count, commands.c_str(), count > 16 ? "  ...\n" : "");
    composer::GridContext grid;
    grid.MeasureUnits = units;
    std::fprintf(out, "grid:\n%s", composer::GridText(memory, grid).c_str());
    return true;
}

struct FileKind {
    bool (*Matches)(const std::string& path, std::span<const std::uint8_t> bytes);
    bool (*Describe)(const std::string& path, std::span<const std::uint8_t> bytes, std::FILE* out, std::string& error);
};

constexpr std::array<FileKind, 4> Kinds = {
    {{IsStyle, DescribeStyle}, {IsSong, DescribeSong}, {IsMidi, DescribeMidi}, {IsWork, DescribeWork}}};

}  // namespace

int RunInfoCommand(const std::string& path, std::FILE* out, std::FILE* err) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!platform::ReadFileBytes(path, LargestInfoFile, bytes, error)) {
        std::fprintf(err, "%s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    for (const FileKind& kind : Kinds) {
        if (!kind.Matches(path, bytes)) continue;
        if (kind.Describe(path, bytes, out, error)) return 0;
        std::fprintf(err, "%s: %s\n", path.c_str(), error.c_str());
        return 1;
    }
    std::fprintf(err, "%s: not a file kind info knows (styles, songs, MIDI files, keyboard style files, work files)\n", path.c_str());
    return 1;
}

}  // namespace chordella::cli
