#include "data/SmfWriter.h"

#include <algorithm>
#include <string_view>

#include "data/GeneralMidi.h"
#include "data/SmfBytes.h"
#include "platform/Bytes.h"
#include "platform/Files.h"

namespace chordella::data {

namespace {

constexpr int DrumChannelIndex = 9;
constexpr std::uint8_t MetaEvent = 0xFF;
constexpr std::uint8_t MetaTrackName = 0x03;
constexpr std::uint8_t MetaMarker = 0x06;
constexpr std::uint8_t MetaEndOfTrack = 0x2F;
constexpr std::uint8_t MetaTempo = 0x51;
constexpr std::uint8_t MetaTimeSignature = 0x58;
constexpr std::size_t LongestText = 127;

bool IsChannelStatus(std::uint8_t status) { return status >= 0x80 && status <= 0xEF; }
int KindOf(const SmfChannelMessage& m) { return m.Status & 0xF0; }
bool IsNoteOn(const SmfChannelMessage& m) { return KindOf(m) == 0x90 && m.Data2 > 0; }

// A message that only silences: a note-off, or "all sound off" (120), "reset all
// controllers" (121) and "all notes off" (123).
bool OnlySilences(const SmfChannelMessage& m) {
    if (KindOf(m) == 0x80 || (KindOf(m) == 0x90 && m.Data2 == 0)) return true;
    return KindOf(m) == 0xB0 && (m.Data1 == 120 || m.Data1 == 121 || m.Data1 == 123);
}

// One track's events as they are written: the time (file ticks) of the last event and the
// writer of its bytes.
class TrackWriter {
public:
    TrackWriter(std::vector<std::uint8_t>& file, int fileTicksPerTick)
        : file_(file), out_(file), scale_(fileTicksPerTick), start_(smf::BeginChunk(file, "MTrk")) {}

    void Meta(std::int64_t tick, std::uint8_t type, std::string_view text) {
        const std::size_t length = std::min(text.size(), LongestText);
        Delta(tick);
        out_.U8(MetaEvent);
        out_.U8(type);
        smf::WriteVariableLength(out_, static_cast<std::uint32_t>(length));
        for (std::size_t i = 0; i < length; ++i) out_.U8(static_cast<std::uint8_t>(text[i]));
    }
    void Meta(std::int64_t tick, std::uint8_t type, std::span<const std::uint8_t> bytes) {
        Delta(tick);
        out_.U8(MetaEvent);
        out_.U8(type);
        smf::WriteVariableLength(out_, static_cast<std::uint32_t>(bytes.size()));
        out_.Bytes(bytes);
    }
    void Channel(const SmfChannelMessage& m) {
        Delta(m.Tick);
        out_.U8(m.Status);
        out_.U8(m.Data1 & 0x7F);
        const int kind = KindOf(m);
        if (kind != 0xC0 && kind != 0xD0) out_.U8(m.Data2 & 0x7F);
    }
    void End(std::int64_t tick) {
        Meta(tick, MetaEndOfTrack, std::span<const std::uint8_t>());
        smf::EndChunk(file_, start_);
    }

private:
    void Delta(std::int64_t tick) {
        const std::int64_t at = std::max(tick, std::int64_t{0}) * scale_;
        const std::int64_t delta = std::max(at - last_, std::int64_t{0});
        smf::WriteVariableLength(out_, static_cast<std::uint32_t>(std::min<std::int64_t>(delta, smf::MaxVariableLength)));
        last_ = std::max(last_, at);
    }

    std::vector<std::uint8_t>& file_;
    platform::ByteWriter out_;
    int scale_;
    std::size_t start_;
    std::int64_t last_ = 0;
};

std::uint32_t MicrosPerQuarter(int bpm) {
    const int clamped = std::clamp(bpm, 4, 1000);
    return static_cast<std::uint32_t>(60'000'000 / clamped);
}

void WriteConductor(std::vector<std::uint8_t>& file, const SmfContent& content, int scale, std::int64_t end) {
    TrackWriter track(file, scale);
    if (!content.Name.empty()) track.Meta(0, MetaTrackName, content.Name);
    const auto signature = TimeSignatureBytes(content.MeasureTicks, content.EighthMeter);
    track.Meta(0, MetaTimeSignature, signature);
    std::vector<SmfTempo> tempos = content.Tempos;
    if (tempos.empty() || tempos.front().Tick > 0) tempos.insert(tempos.begin(), SmfTempo{0, 120});
    std::vector<SmfMarker> markers = content.Markers;
    std::stable_sort(tempos.begin(), tempos.end(), [](const auto& a, const auto& b) { return a.Tick < b.Tick; });
    std::stable_sort(markers.begin(), markers.end(), [](const auto& a, const auto& b) { return a.Tick < b.Tick; });
    std::size_t marker = 0;
    for (const SmfTempo& tempo : tempos) {
        for (; marker < markers.size() && markers[marker].Tick < tempo.Tick; ++marker)
            track.Meta(markers[marker].Tick, MetaMarker, markers[marker].Text);
        const std::uint32_t micros = MicrosPerQuarter(tempo.BeatsPerMinute);
        const std::array<std::uint8_t, 3> bytes{static_cast<std::uint8_t>(micros >> 16),
                                                static_cast<std::uint8_t>(micros >> 8),
                                                static_cast<std::uint8_t>(micros)};
        track.Meta(tempo.Tick, MetaTempo, bytes);
    }
    for (; marker < markers.size(); ++marker) track.Meta(markers[marker].Tick, MetaMarker, markers[marker].Text);
    track.End(end);
}

}  // namespace

std::array<std::uint8_t, 4> TimeSignatureBytes(int measureTicks, bool eighthMeter) {
    const int beatTicks = eighthMeter ? 12 : 24;
    const int numerator = std::clamp(measureTicks / beatTicks, 1, 127);
    if (!eighthMeter) return {static_cast<std::uint8_t>(numerator), 2, 24, 8};
    // Compound meters click on the dotted quarter.
    const std::uint8_t clocks = numerator % 3 == 0 ? 36 : 12;
    return {static_cast<std::uint8_t>(numerator), 3, clocks, 8};
}

bool ChannelPlays(const std::vector<SmfChannelMessage>& messages, int channel) {
    return std::any_of(messages.begin(), messages.end(), [channel](const SmfChannelMessage& m) {
        return IsChannelStatus(m.Status) && (m.Status & 0x0F) == channel && !OnlySilences(m);
    });
}

std::string ChannelTrackName(const std::vector<SmfChannelMessage>& messages, int channel, int setupProgram) {
    if (channel == DrumChannelIndex) return "Drums";
    int program = setupProgram;
    for (const SmfChannelMessage& m : messages) {
        if (!IsChannelStatus(m.Status) || (m.Status & 0x0F) != channel) continue;
        if (IsNoteOn(m)) break;
        if (KindOf(m) == 0xC0) program = m.Data1 & 0x7F;
    }
    return std::string(GeneralMidiProgramNames()[static_cast<std::size_t>(program >= 0 && program < 128 ? program : 0)]);
}

std::vector<std::uint8_t> WriteSmf(const SmfContent& content) {
    const int division = content.Division >= 24 && content.Division % 24 == 0 && content.Division <= 0x7FF8
                             ? content.Division
                             : ExportDivision;
    const int scale = division / 24;
    std::int64_t end = std::max<std::int64_t>(content.EndTick, 0);
    for (const SmfChannelMessage& m : content.Messages) end = std::max(end, m.Tick);
    for (const SmfMarker& m : content.Markers) end = std::max(end, m.Tick);
    for (const SmfTempo& t : content.Tempos) end = std::max(end, t.Tick);

    std::vector<int> channels;
    for (int channel = 0; channel < 16; ++channel)
        if (ChannelPlays(content.Messages, channel)) channels.push_back(channel);

    std::vector<std::uint8_t> file;
    file.reserve(64 + content.Messages.size() * 4);
    platform::ByteWriter header(file);
    smf::WriteHeaderChunk(header, 1, static_cast<std::uint16_t>(1 + channels.size()), static_cast<std::uint16_t>(division));
    WriteConductor(file, content, scale, end);
    for (const int channel : channels) {
        TrackWriter track(file, scale);
        track.Meta(0, MetaTrackName,
                   ChannelTrackName(content.Messages, channel, content.Programs[static_cast<std::size_t>(channel)]));
        for (const SmfChannelMessage& m : content.Messages)
            if (IsChannelStatus(m.Status) && (m.Status & 0x0F) == channel) track.Channel(m);
        track.End(end);
    }
    return file;
}

bool WriteSmfFile(const std::string& path, const SmfContent& content, std::string& error) {
    return platform::WriteFileAtomically(path, WriteSmf(content), error);
}

}  // namespace chordella::data
