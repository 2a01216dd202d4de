#include "data/MidiImportRun.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "data/CreatorWorkWriter.h"
#include "midi/ControllerTable.h"

namespace chordella::data {

const std::array<MeterEntry, 8> MeterTable = {{
    {{6, 2, 24, 8}, "6/4", 24, 1},
    {{5, 2, 24, 8}, "5/4", 20, 4},
    {{4, 2, 24, 8}, "4/4", 16, -1},
    {{3, 2, 24, 8}, "3/4", 12, 2},
    {{2, 2, 24, 8}, "2/4", 8, 1},
    {{1, 2, 24, 8}, "1/4", 4, 0},
    {{6, 3, 36, 8}, "6/8", 12, 2},
    {{2, 3, 12, 8}, "2/8", 4, 0},
}};

const std::array<const char*, 8> ChordChangeIntervals = {"1/4", "1/2", "3/4", "1/1", "5/4", "6/4", "7/4", "2/1"};

namespace {

struct TrackState {
    TrackState(std::span<const std::uint8_t> data, std::size_t fileOffset) : Reader(data), FileOffset(fileOffset) {}
    SmfTrackReader Reader;
    std::size_t FileOffset = 0;   // where the track's data begins in the file
    std::int64_t Time = 0;        // file tick of the next event once its delta is read
    bool DeltaPending = false;    // the delta of the next event is read and added to Time
    bool Done = false;
};

class Run {
public:
    Run(const SmfLayout& layout, const ImportSettings& settings, CreatorWorkWriter& out)
        : settings_(settings), out_(out), ticksPerTick_(std::max(1, layout.FileTicksPerTick())) {
        for (const SmfTrackChunk& chunk : layout.Tracks) tracks_.emplace_back(chunk.Data, chunk.Offset);
        trimming_ = settings.TrimLeadingSilence;
        measureUnits_ = settings.MeasureUnits > 0 ? settings.MeasureUnits : 16;
        position_ = settings.StartPosition;
        UpdateTempoLimit();
    }

    ImportResult Go();

private:
    bool Stopped() const { return result_.Status != ImportStatus::Done; }
    void PassOutputTicks(std::int64_t count);
    void AdvanceClock(std::int64_t ticks);
    void UpdateTempoLimit();
    void ServeTrack(std::size_t index, std::int64_t fileTick);
    void Damaged(std::size_t index, const std::string& problem);
    void UnknownCode(const TrackState& track);
    void Channel(const SmfEvent& event);
    void Meta(const SmfEvent& event, TrackState& track);
    void TimeSignature(std::span<const std::uint8_t> bytes);
    void Marker(std::span<const std::uint8_t> text);
    // A section ends where the next one's marker stands, the last one where the file ends (a
    // started beat counting).
    void CloseSection(SectionMarker& marker, std::int64_t endBeat) const;

    const ImportSettings& settings_;
    CreatorWorkWriter& out_;
    const int ticksPerTick_;
    std::vector<TrackState> tracks_;
    ImportResult result_;
    bool trimming_ = false;
    int newWaits_ = 0;
    int clockInBeat_ = 0;
    std::int64_t position_ = FirstPosition;
    int measureUnits_ = 16;
    bool tempoApplies_ = true;
};

ImportResult Run::Go() {
    std::int64_t fileTick = -1;
    bool anyActive = !tracks_.empty();
    while (anyActive && !Stopped()) {
        // The passes in which no track has an event only let output ticks pass; jump over them.
        std::int64_t target = fileTick + 1;
        bool allPending = true;
        std::int64_t nextEvent = std::numeric_limits<std::int64_t>::max();
        for (const TrackState& track : tracks_) {
            if (track.Done) continue;
            allPending = allPending && track.DeltaPending;
            nextEvent = std::min(nextEvent, track.Time);
        }
        if (allPending) target = std::max(target, nextEvent);
        const std::int64_t first = fileTick + 1;
        const std::int64_t passes = target / ticksPerTick_ - (first >= 1 ? (first - 1) / ticksPerTick_ : 0);
        PassOutputTicks(passes);
        if (Stopped()) break;
        fileTick = target;
        anyActive = false;
        for (std::size_t index = 0; index < tracks_.size() && !Stopped(); ++index) {
            ServeTrack(index, fileTick);
            anyActive = anyActive || !tracks_[index].Done;
        }
    }
    if (!result_.Markers.empty() && result_.Markers.back().EndMeasure == 0)
        CloseSection(result_.Markers.back(), result_.ImportedBeats + (clockInBeat_ > 0 ? 1 : 0));
    result_.Position = static_cast<std::int32_t>(std::min<std::int64_t>(position_, std::numeric_limits<std::int32_t>::max()));
    result_.MeasureUnits = measureUnits_;
    return result_;
}

void Run::PassOutputTicks(std::int64_t count) {
    if (!trimming_) {
        // Nothing is held back: the ticks become full waits at once.
        const std::int64_t written = out_.Waits(count);
        AdvanceClock(written);
        if (out_.Full()) result_.Status = ImportStatus::OutputFull;
        return;
    }
    while (count > 0) {
        const bool mayAddNew = !trimming_ || newWaits_ < LeadingWaitLimit;
        if (!mayAddNew && !out_.CanMerge()) {
            // Leading silence beyond the kept waits: the clock runs on, nothing is written.
            AdvanceClock(count);
            return;
        }
        const bool wroteNew = out_.Wait(mayAddNew);
        if (out_.Full()) {
            result_.Status = ImportStatus::OutputFull;
            return;
        }
        if (wroteNew && trimming_) ++newWaits_;
        AdvanceClock(1);
        --count;
    }
}

void Run::AdvanceClock(std::int64_t ticks) {
    result_.OutputTicks += ticks;
    const std::int64_t total = clockInBeat_ + ticks;
    const std::int64_t beats = total / TicksPerQuarter;
    clockInBeat_ = static_cast<int>(total % TicksPerQuarter);
    result_.ImportedBeats += beats;
    position_ += beats * UnitsPerBeat;
    UpdateTempoLimit();
}

void Run::UpdateTempoLimit() {
    // Tempo changes count only in the first measures: (units div 4) × units chord-memory units.
    if (position_ > static_cast<std::int64_t>(measureUnits_ / 4) * measureUnits_) tempoApplies_ = false;
}

void Run::Damaged(std::size_t index, const std::string& problem) {
    result_.Status = ImportStatus::Damaged;
    result_.Problem = "track " + std::to_string(index + 1) + ": " + problem;
}

void Run::UnknownCode(const TrackState& track) {
    // The reader stops on the status byte it does not know.
    const std::size_t at = track.Reader.Position();
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", at < track.Reader.Size() ? track.Reader.ByteAt(at) : 0);
    result_.Status = ImportStatus::UnknownCode;
    result_.Problem = std::string("byte ") + byte + " at offset " + std::to_string(track.FileOffset + at);
}

void Run::ServeTrack(std::size_t index, std::int64_t fileTick) {
    TrackState& track = tracks_[index];
    while (!track.Done && !Stopped()) {
        if (!track.DeltaPending) {
            std::uint32_t delta = 0;
            const SmfRead read = track.Reader.ReadDelta(delta);
            if (read == SmfRead::Damaged) return Damaged(index, track.Reader.Problem());
            if (read != SmfRead::Ok) {
                track.Done = true;
                return;
            }
            track.Time += delta;
            track.DeltaPending = true;
        }
        if (track.Time > fileTick) return;
        track.DeltaPending = false;
        SmfEvent event;
        switch (track.Reader.ReadEvent(event)) {
            case SmfRead::Ok: break;
            case SmfRead::End: track.Done = true; return;
            case SmfRead::UnknownCode: return UnknownCode(track);
            case SmfRead::Damaged: return Damaged(index, track.Reader.Problem());
        }
        if (event.Type == SmfEvent::Kind::Channel) Channel(event);
        else if (event.Type == SmfEvent::Kind::Meta) Meta(event, track);
    }
}

void Run::Channel(const SmfEvent& event) {
    const int kind = event.Status & 0xF0;
    const int channel = event.Status & 0x0F;
    const bool oneDataByte = kind == 0xC0 || kind == 0xD0;
    if (!out_.Message(event.Status, event.Data1, oneDataByte ? 0 : event.Data2)) {
        result_.Status = ImportStatus::OutputFull;
        return;
    }
    int index = -1;
    if (kind == 0xB0 && midi::IsTrackedController(event.Data1)) index = event.Data1;
    if (kind == 0xC0) index = midi::ControllerTable::ProgramIndex;
    if (kind == 0xD0) index = midi::ControllerTable::PressureIndex;
    const std::uint8_t value = kind == 0xB0 ? event.Data2 : event.Data1;
    if (index >= 0 && result_.FirstValues[channel][index] == 255) result_.FirstValues[channel][index] = value;
    if (kind == 0x90) {
        result_.ChannelUsed[channel] = 1;
        trimming_ = false;
    }
}

void Run::Meta(const SmfEvent& event, TrackState& track) {
    const auto& data = event.Payload;
    switch (event.MetaType) {
        case 0x2F:
            track.Done = true;
            break;
        case 0x51:
            if (tempoApplies_ && data.size() >= 3) {
                const std::uint32_t micros = static_cast<std::uint32_t>(data[0]) << 16 | data[1] << 8 | data[2];
                if (micros > 0) result_.Tempo = static_cast<int>(60000000 / micros);
            }
            break;
        case 0x58:
            if (settings_.MetersFromFile && data.size() >= 4) TimeSignature(data);
            break;
        case 0x06:
            if (settings_.CollectMarkers) Marker(data);
            break;
        default:
            break;
    }
}

void Run::TimeSignature(std::span<const std::uint8_t> bytes) {
    for (std::size_t entry = 0; entry < MeterTable.size(); ++entry) {
        const MeterEntry& meter = MeterTable[entry];
        if (!std::equal(meter.Bytes.begin(), meter.Bytes.begin() + 3, bytes.begin())) continue;
        if (static_cast<int>(entry) != FourFourEntry) {
            result_.Meter = static_cast<int>(entry);
            measureUnits_ = meter.MeasureUnits;
        }
        return;
    }
}

void Run::CloseSection(SectionMarker& marker, std::int64_t endBeat) const {
    // Its last measure is counted from its own first beat, so that a section that starts off
    // the bar line does not take the next one's first bar.
    const std::int64_t beatsPerMeasure = std::max(1, measureUnits_ / 4);
    marker.Beats = std::max<std::int64_t>(0, endBeat - marker.FirstBeat);
    const std::int64_t measures = (marker.Beats + beatsPerMeasure - 1) / beatsPerMeasure;
    marker.EndMeasure = static_cast<int>(
        std::min<std::int64_t>(marker.StartMeasure + std::max<std::int64_t>(measures - 1, 0), 1 << 30));
}

void Run::Marker(std::span<const std::uint8_t> text) {
    std::vector<SectionMarker>& markers = result_.Markers;
    const std::int64_t beatsPerMeasure = std::max(1, measureUnits_ / 4);
    const std::int64_t beat = result_.ImportedBeats;
    if (!markers.empty() && markers.back().EndMeasure == 0) CloseSection(markers.back(), beat);
    if (static_cast<int>(markers.size()) >= MaxMarkers) return;
    SectionMarker marker;
    for (std::size_t index = 0; index < text.size() && index < MarkerTextBytes && text[index] != 0; ++index)
        marker.Text.push_back(static_cast<char>(text[index]));
    marker.StartMeasure = static_cast<int>(std::min<std::int64_t>(beat / beatsPerMeasure + 1, 1 << 30));
    marker.StartBeat = static_cast<int>(beat % beatsPerMeasure) + 1;
    marker.FirstBeat = beat;
    markers.push_back(std::move(marker));
}

}  // namespace

std::string UnknownCodeMessage(const std::string& where) {
    return "Error - Unknown Code !" + (where.empty() ? std::string() : " (" + where + ")");
}

ImportResult RunImport(const SmfLayout& layout, const ImportSettings& settings, CreatorWorkWriter& out) {
    Run run(layout, settings, out);
    return run.Go();
}

}  // namespace chordella::data
