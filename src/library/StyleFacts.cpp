#include "library/StyleFacts.h"

#include <array>
#include <cmath>

#include "data/SmfFile.h"
#include "data/StyleAnalysis.h"
#include "data/StyleFile.h"
#include "engine/ClockTables.h"
#include "platform/Files.h"

namespace chordella::library {

namespace {

constexpr int DrumChannel = 9;
// Keyboard style files of other makers keep their bass on channel 11, whatever voice
// (often of a bank the General MIDI numbers do not describe) plays it.
constexpr int KeyboardStyleBassChannel = 10;
constexpr std::uint8_t NotSet = 255;

struct ChannelFacts {
    std::array<bool, 16> Plays{};
    std::array<int, 16> Program{};
    std::array<bool, 16> DrumKit{};
    ChannelFacts() { Program.fill(-1); }

    InstrumentTags Tags(bool keyboardStyle) const {
        InstrumentTags tags = 0;
        for (int channel = 0; channel < 16; ++channel) {
            const auto c = static_cast<std::size_t>(channel);
            if (channel == DrumChannel || !Plays[c] || DrumKit[c]) continue;
            if (keyboardStyle && channel == KeyboardStyleBassChannel) {
                tags |= TagBass;
                continue;
            }
            if (Program[c] >= 0) tags |= TagOfProgram(Program[c]);
        }
        return tags;
    }
};

std::string MetrumOfStyleMeter(std::int16_t styleMeter) {
    const data::StyleMeterChoice meter = data::MeterChoiceOf(styleMeter);
    if (meter.EighthNotes) {
        // Eighth-note meters: two units per eighth.
        if (meter.MeasureUnits % 2 == 0) return std::to_string(meter.MeasureUnits / 2) + "/8";
    }
    const int index = engine::MetrumIndexForUnits(meter.MeasureUnits, engine::MeterKind::Quarter);
    if (index >= 0) return std::string(engine::MetrumTable[static_cast<std::size_t>(index)].Caption);
    return std::to_string(meter.MeasureUnits) + "/16";
}

StyleFacts OwnStyleFacts(std::span<const std::uint8_t> bytes) {
    StyleFacts facts;
    data::StyleImage image;
    if (!data::ReadStyleFile(bytes, image, facts.Problem)) return facts;
    for (const data::PartRecord& part : image.Parts) {
        if (!part.Present()) continue;
        const auto start = static_cast<std::size_t>(part.RangeStart);
        if (part.RangeStart < 0 || start >= image.Stream.size() || image.Stream[start] == 0) {
            facts.Problem = "a part starts at the end of the event stream";
            return facts;
        }
    }
    ChannelFacts channels;
    for (int channel = 0; channel < 16; ++channel) {
        const std::uint8_t program = image.Header.ChannelSetup[static_cast<std::size_t>(channel)][data::SetupProgramIndex];
        if (program != NotSet && program < 128) channels.Program[static_cast<std::size_t>(channel)] = program;
    }
    const std::span<const std::uint8_t> stream = image.Stream;
    for (std::size_t i = 0; i < stream.size();) {
        const std::uint8_t b = stream[i];
        if (b == 0x00 || b == 0xF0) break;
        if (b >= 0xF8) {
            ++i;
            continue;
        }
        if (i + 2 >= stream.size()) break;
        const auto channel = static_cast<std::size_t>(b & 0x0F);
        const int kind = b & 0xF0;
        if (kind == 0x90 && stream[i + 2] > 0) channels.Plays[channel] = true;
        if (kind == 0xC0 && channels.Program[channel] < 0) channels.Program[channel] = stream[i + 1] & 0x7F;
        i += 3;
    }
    facts.Readable = true;
    facts.Tempo = image.Header.StyleTempo;
    facts.Metrum = MetrumOfStyleMeter(image.Header.StyleMeter);
    facts.Tags = channels.Tags(false);
    return facts;
}

StyleFacts MidiStyleFacts(std::span<const std::uint8_t> bytes) {
    StyleFacts facts;
    data::SmfLayout layout;
    const data::SmfLayoutError layoutError = data::ReadSmfLayout(bytes, layout);
    if (layoutError != data::SmfLayoutError::None) {
        // Keyboard style files are MIDI files: what does not even begin as one is no style.
        const bool midiAtAll = bytes.size() >= 4 && bytes[0] == 'M' && bytes[1] == 'T' && bytes[2] == 'h' && bytes[3] == 'd';
        facts.Problem = midiAtAll ? data::SmfLayoutMessage(layoutError, layout.Division)
                                  : std::string("not a style (neither a .vxs style nor a keyboard style file)");
        return facts;
    }
    ChannelFacts channels;
    bool tempoSeen = false, meterSeen = false;
    for (const data::SmfTrackChunk& track : layout.Tracks) {
        data::SmfTrackReader reader(track.Data);
        std::uint32_t delta = 0;
        data::SmfEvent event;
        while (reader.ReadDelta(delta) == data::SmfRead::Ok && reader.ReadEvent(event) == data::SmfRead::Ok) {
            if (event.Type == data::SmfEvent::Kind::Meta) {
                if (event.MetaType == 0x51 && event.Payload.size() >= 3 && !tempoSeen) {
                    const std::uint32_t micros = (std::uint32_t{event.Payload[0]} << 16) |
                                                 (std::uint32_t{event.Payload[1]} << 8) | event.Payload[2];
                    if (micros > 0) facts.Tempo = static_cast<int>(std::lround(60000000.0 / micros));
                    tempoSeen = true;
                }
                if (event.MetaType == 0x58 && event.Payload.size() >= 2 && !meterSeen && event.Payload[1] < 8 &&
                    event.Payload[0] > 0) {
                    facts.Metrum = std::to_string(event.Payload[0]) + "/" + std::to_string(1 << event.Payload[1]);
                    meterSeen = true;
                }
                continue;
            }
            if (event.Type != data::SmfEvent::Kind::Channel) continue;
            const auto channel = static_cast<std::size_t>(event.Status & 0x0F);
            const int kind = event.Status & 0xF0;
            if (kind == 0x90 && event.Data2 > 0) channels.Plays[channel] = true;
            if (kind == 0xC0 && channels.Program[channel] < 0) channels.Program[channel] = event.Data1;
            if (kind == 0xB0 && event.Data1 == 0) channels.DrumKit[channel] = event.Data2 >= 126;
        }
    }
    facts.Readable = true;
    facts.Tags = channels.Tags(true);
    return facts;
}

}  // namespace

InstrumentTags TagOfProgram(int program) {
    if (program < 0 || program > 127) return 0;
    if (program <= 7) return TagPianos;
    if (program >= 16 && program <= 23) return TagOrgans;
    if (program >= 24 && program <= 31) return TagGuitars;
    if (program >= 32 && program <= 39) return TagBass;
    if (program >= 80 && program <= 87) return TagLeads;
    if (program >= 88 && program <= 95) return TagPads;
    if ((program >= 96 && program <= 103) || program >= 120) return TagFxs;
    return 0;
}

StyleFacts ReadStyleFacts(std::span<const std::uint8_t> bytes, std::string_view fileName) {
    if (IsOwnStyleFileName(fileName)) return OwnStyleFacts(bytes);
    return MidiStyleFacts(bytes);
}

StyleFacts ReadStyleFactsOfFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    StyleFacts facts;
    if (!platform::ReadFileBytes(path, MaxStyleFileBytes, bytes, facts.Problem)) return facts;
    return ReadStyleFacts(bytes, path);
}

}  // namespace chordella::library
