#include "library/StyleEntry.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "data/StyleAnalysis.h"
#include "data/SmfFile.h"
#include "data/StyleFile.h"
#include "data/StyleStream.h"
#include "engine/ClockTables.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/TextCase.h"

namespace chordella::library {

namespace {

// A style file is at most its tag, header, part table and a full stream; a little more is
// read so the reader can say the file is too long rather than quietly cutting it.
constexpr std::size_t LargestStyleFile = 4 + 1593 + 528 + data::StreamCapacity + 1024;

void EraseAll(std::string& text, std::string_view what) {
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at)) text.erase(at, what.size());
}

// Channels with a sounding note-on or key pressure anywhere in the stream (as the loader counts them).
int ChannelsWithNotes(std::span<const std::uint8_t> stream) {
    std::array<bool, data::StyleChannels> used{};
    for (std::size_t at = 0; at < stream.size();) {
        const std::uint8_t b = stream[at];
        if (b == data::stream::EndOfStream) break;
        if (!data::stream::IsChannelMessage(b)) {
            ++at;
            continue;
        }
        if (at + 2 >= stream.size()) break;
        if (((b & 0xF0) == 0x90 || (b & 0xF0) == 0xA0) && stream[at + 2] > 0) used[b & 0x0F] = true;
        at += data::stream::MessageLength;
    }
    return static_cast<int>(std::count(used.begin(), used.end(), true));
}

// A keyboard style file of another maker is a MIDI file: its first time signature, its
// first tempo and the channels that play notes.
bool ReadMidiStyleInfo(std::span<const std::uint8_t> bytes, StyleInfo& info, std::string& error) {
    data::SmfLayout layout;
    const data::SmfLayoutError layoutError = data::ReadSmfLayout(bytes, layout);
    if (layoutError != data::SmfLayoutError::None) {
        error = data::SmfLayoutMessage(layoutError, layout.Division);
        return false;
    }
    std::array<bool, data::StyleChannels> used{};
    bool meterFound = false, tempoFound = false;
    info.MetrumText = "4/4";  // what a MIDI file without a time signature means
    info.Tempo = 120;
    for (const data::SmfTrackChunk& track : layout.Tracks) {
        data::SmfTrackReader reader(track.Data);
        std::uint32_t delta = 0;
        data::SmfEvent event;
        while (reader.ReadDelta(delta) == data::SmfRead::Ok && reader.ReadEvent(event) == data::SmfRead::Ok) {
            if (event.Type == data::SmfEvent::Kind::Channel) {
                if ((event.Status & 0xF0) == 0x90 && event.Data2 > 0) used[event.Status & 0x0F] = true;
            } else if (event.Type == data::SmfEvent::Kind::Meta && event.MetaType == 0x58 && !meterFound &&
                       event.Payload.size() >= 2 && event.Payload[1] < 8) {
                meterFound = true;
                info.MetrumText = std::to_string(event.Payload[0]) + "/" + std::to_string(1 << event.Payload[1]);
            } else if (event.Type == data::SmfEvent::Kind::Meta && event.MetaType == 0x51 && !tempoFound &&
                       event.Payload.size() >= 3) {
                const std::uint32_t micros = (std::uint32_t{event.Payload[0]} << 16) |
                                             (std::uint32_t{event.Payload[1]} << 8) | event.Payload[2];
                if (micros > 0) {
                    tempoFound = true;
                    info.Tempo = static_cast<int>((60000000u + micros / 2) / micros);
                }
            }
        }
    }
    info.Tracks = static_cast<int>(std::count(used.begin(), used.end(), true));
    return true;
}

}  // namespace

std::string CleanDescription(std::string_view description) {
    std::string clean(description);
    std::replace(clean.begin(), clean.end(), '\r', ' ');
    std::replace(clean.begin(), clean.end(), '\n', ' ');
    clean.erase(std::remove(clean.begin(), clean.end(), '\0'), clean.end());
    // Removing one mark may join the pieces of another ("{{1}1}"), so repeat until none is left.
    for (std::size_t before = 0; before != clean.size();) {
        before = clean.size();
        EraseAll(clean, DescriptionMark);
        EraseAll(clean, PathMark);
    }
    return clean;
}

std::string FormatStyleEntry(const std::string& path, const StyleInfo& info, std::string_view description) {
    const std::string name = platform::LowerCase(platform::FileNamePart(path));
    std::string head = name.substr(0, EntryNameWidth);
    head.resize(EntryNameWidth, ' ');
    std::string metrum = CleanDescription(info.MetrumText);
    const std::string counts = "  Beat: " + std::to_string(info.Tempo) + "  Tracks: " + std::to_string(info.Tracks);
    return head + "Met: " + metrum + counts + std::string(DescriptionMark) + CleanDescription(description) +
           std::string(PathMark) + path;
}

StyleEntryParts SplitStyleEntry(std::string_view entry) {
    StyleEntryParts parts;
    // The name column may itself hold "{1}" or "{2}" (they are legal in file names): the
    // marks are looked for after it.
    const auto description = entry.find(DescriptionMark, std::min(entry.size(), EntryNameWidth));
    const std::size_t pathSearch = description == std::string_view::npos ? std::min(entry.size(), EntryNameWidth)
                                                                         : description + DescriptionMark.size();
    const auto path = entry.find(PathMark, pathSearch);
    const std::size_t infoEnd = std::min({description, path, entry.size()});
    const std::size_t infoStart = std::min(EntryNameWidth, infoEnd);
    parts.Info = std::string(entry.substr(infoStart, infoEnd - infoStart));
    if (description != std::string_view::npos) {
        const std::size_t end = path == std::string_view::npos ? entry.size() : path;
        parts.Description = std::string(entry.substr(pathSearch, end - pathSearch));
    }
    if (path != std::string_view::npos) parts.Path = std::string(entry.substr(path + PathMark.size()));
    return parts;
}

bool EntryNamesPath(std::string_view entry, std::string_view path) {
    if (path.empty()) return false;
    return SplitStyleEntry(entry).Path == path;
}

std::string MetrumTextOf(std::int16_t styleMeter) {
    const data::StyleMeterChoice meter = data::MeterChoiceOf(styleMeter);
    const auto kind = meter.EighthNotes ? engine::MeterKind::Eighth : engine::MeterKind::Quarter;
    const int index = engine::MetrumIndexForUnits(meter.MeasureUnits, kind);
    if (index < 0) return "?";
    return std::string(engine::MetrumTable[static_cast<std::size_t>(index)].Caption);
}

StyleInfo StyleInfoOf(const data::StyleHeader& header, std::string_view metrumText) {
    StyleInfo info;
    info.MetrumText = std::string(metrumText);
    info.Tempo = header.StyleTempo;
    info.Tracks = static_cast<int>(std::count_if(header.ChannelUsed.begin(), header.ChannelUsed.end(),
                                                 [](std::uint8_t used) { return used != 0; }));
    return info;
}

bool ReadStyleInfo(const std::string& path, StyleInfo& info, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadFileBytes(path, LargestStyleFile, bytes, error)) return false;
    if (bytes.size() >= 4 && bytes[0] == 'M' && bytes[1] == 'T' && bytes[2] == 'h' && bytes[3] == 'd')
        return ReadMidiStyleInfo(bytes, info, error);
    data::StyleImage image;
    if (!data::ReadStyleFile(bytes, image, error)) return false;
    info.MetrumText = MetrumTextOf(image.Header.StyleMeter);
    info.Tempo = image.Header.StyleTempo;
    info.Tracks = ChannelsWithNotes(image.Stream);
    return true;
}

}  // namespace chordella::library
