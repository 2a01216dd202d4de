#include "support/StyleBuilder.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <stdexcept>

#include "data/StyleFile.h"
#include "data/StyleStream.h"
#include "platform/Bytes.h"
#include "platform/Files.h"

namespace chordella::testing {

namespace {

std::uint8_t Byte(int value, const char* what) {
    if (value < 0 || value > 255) throw std::invalid_argument(std::string("StyleBuilder: ") + what + " out of range");
    return static_cast<std::uint8_t>(value);
}

std::uint8_t Data(int value, const char* what) {
    if (value < 0 || value > 127) throw std::invalid_argument(std::string("StyleBuilder: ") + what + " is not 0 … 127");
    return static_cast<std::uint8_t>(value);
}

std::uint8_t Status(int kind, int channel) {
    if (channel < 0 || channel > 15) throw std::invalid_argument("StyleBuilder: channel is not 0 … 15");
    return static_cast<std::uint8_t>(kind | channel);
}

}  // namespace

PartBuilder::PartBuilder(data::StylePart part)
    : part_(part), followUp_(data::DefaultFollowUpCode(data::Index(part))) {}

PartBuilder& PartBuilder::Measures(int count) {
    if (count < 1) throw std::invalid_argument("StyleBuilder: a part has at least one measure");
    measures_ = count;
    return *this;
}

PartBuilder& PartBuilder::FollowUp(std::uint16_t code) {
    followUp_ = code;
    return *this;
}

PartBuilder& PartBuilder::Mute(int channel) {
    Status(0, channel);
    mutes_.push_back(channel);
    return *this;
}

PartBuilder& PartBuilder::CutNotes(int channel) {
    Status(0, channel);
    cuts_.push_back(channel);
    return *this;
}

void PartBuilder::Add(int at, bool off, std::vector<std::uint8_t> bytes) {
    if (at < 0) throw std::invalid_argument("StyleBuilder: an event before the part's start");
    items_.push_back({at, off, static_cast<int>(items_.size()), std::move(bytes)});
}

PartBuilder& PartBuilder::Note(int channel, int note, int velocity, int at, int length) {
    if (length < 1 || velocity < 1) throw std::invalid_argument("StyleBuilder: a note needs a length and a velocity");
    NoteOn(channel, note, velocity, at);
    offsToClamp_.push_back(static_cast<int>(items_.size()));
    return NoteOff(channel, note, at + length);
}

PartBuilder& PartBuilder::NoteOn(int channel, int note, int velocity, int at) {
    Add(at, false, {Status(0x90, channel), Data(note, "note"), Data(velocity, "velocity")});
    return *this;
}

PartBuilder& PartBuilder::NoteOff(int channel, int note, int at) {
    Add(at, true, {Status(0x90, channel), Data(note, "note"), 0});
    return *this;
}

PartBuilder& PartBuilder::Controller(int channel, int controller, int value, int at) {
    Add(at, false, {Status(0xB0, channel), Data(controller, "controller"), Data(value, "controller value")});
    return *this;
}

PartBuilder& PartBuilder::Program(int channel, int program, int at) {
    Add(at, false, {Status(0xC0, channel), Data(program, "program"), 0});
    return *this;
}

PartBuilder& PartBuilder::Event(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, int at) {
    Add(at, false, {status, data1, data2});
    return *this;
}

PartBuilder& PartBuilder::Raw(std::vector<std::uint8_t> bytes, int at) {
    Add(at, false, std::move(bytes));
    return *this;
}

StyleBuilder::StyleBuilder() {
    header_.StyleTempo = 120;
    header_.StyleMeter = 16;
}

StyleBuilder& StyleBuilder::Meter(int beats) {
    if (beats < 1 || beats > 16) throw std::invalid_argument("StyleBuilder: meter of 1 … 16 beats");
    header_.StyleMeter = static_cast<std::int16_t>(4 * beats);
    return *this;
}

StyleBuilder& StyleBuilder::EighthMeter(int eighths) {
    if (eighths < 1 || eighths > 32) throw std::invalid_argument("StyleBuilder: meter of 1 … 32 eighths");
    header_.StyleMeter = static_cast<std::int16_t>(-2 * eighths);
    return *this;
}

StyleBuilder& StyleBuilder::RawMeter(std::int16_t styleMeter) {
    header_.StyleMeter = styleMeter;
    return *this;
}

StyleBuilder& StyleBuilder::Tempo(int bpm) {
    header_.StyleTempo = static_cast<std::int16_t>(bpm);
    return *this;
}

StyleBuilder& StyleBuilder::IntroMeasures(int measures) {
    header_.IntroMeasures = static_cast<std::int16_t>(measures);
    return *this;
}

StyleBuilder& StyleBuilder::Converted(bool on) {
    header_.ConvertedFlag = on ? 1 : 0;
    return *this;
}

StyleBuilder& StyleBuilder::SuppressControllers(bool on) {
    header_.SuppressControllers = on ? 1 : 0;
    return *this;
}

StyleBuilder& StyleBuilder::ClearSuppressOnLoad(bool on) {
    header_.ClearSuppressOnLoad = on ? 1 : 0;
    return *this;
}

StyleBuilder& StyleBuilder::Setup(int channel, int index, int value) {
    if (index < 0 || index >= data::ChannelSetupSize) throw std::invalid_argument("StyleBuilder: set-up index 0 … 97");
    header_.ChannelSetup[Status(0, channel)][static_cast<std::size_t>(index)] = Byte(value, "set-up value");
    return *this;
}

StyleBuilder& StyleBuilder::Tag(std::int32_t value) {
    tag_ = value;
    return *this;
}

StyleBuilder& StyleBuilder::StreamEnd(std::vector<std::uint8_t> bytes) {
    streamEnd_ = std::move(bytes);
    return *this;
}

StyleBuilder& StyleBuilder::AdjustParts(std::function<void(data::PartTable&)> adjust) {
    adjustments_.push_back(std::move(adjust));
    return *this;
}

PartBuilder& StyleBuilder::Part(data::StylePart part) {
    for (auto& existing : parts_) {
        if (existing.Which() == part) return existing;
    }
    return parts_.emplace_back(part);
}

int StyleBuilder::MeasureTicks() const {
    const int units = header_.StyleMeter == 0 ? 16 : std::abs(static_cast<int>(header_.StyleMeter));
    return (units / 4) * 24;
}

int StyleBuilder::Position(int measure, int beat) const {
    return MeasureTicks() * (measure - 1) + (beat - 1) * 24;
}

data::StyleHeader StyleBuilder::Header() const { return header_; }

data::PartTable StyleBuilder::Parts() const {
    data::PartTable parts{};
    std::vector<std::uint8_t> stream;
    Layout(parts, stream);
    return parts;
}

std::vector<std::uint8_t> StyleBuilder::Stream() const {
    data::PartTable parts{};
    std::vector<std::uint8_t> stream;
    Layout(parts, stream);
    return stream;
}

std::vector<std::uint8_t> StyleBuilder::Bytes() const {
    data::PartTable parts{};
    std::vector<std::uint8_t> stream;
    Layout(parts, stream);
    std::vector<std::uint8_t> file;
    if (tag_ != 0) {
        platform::ByteWriter w(file);
        w.I32(tag_);
    }
    const auto body = data::StyleFileBytes(header_, parts, stream, 0);
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

bool StyleBuilder::Write(const std::string& path) const {
    std::string error;
    return platform::WriteFileAtomically(path, Bytes(), error);
}

namespace {

// Writes one part's waits, noting where the running time first reaches beats 2, 3 and 4.
struct PartWriter {
    std::vector<std::uint8_t>& stream;
    data::PartRecord& record;
    int now = 0;

    void WaitUntil(int tick) {
        std::array<std::int32_t*, 3> beatOffsets = {&record.Beat2Offset, &record.Beat3Offset, &record.Beat4Offset};
        while (now < tick) {
            const int step = std::min(8, tick - now);
            stream.push_back(data::stream::WaitByte(step));
            now += step;
            for (std::size_t b = 0; b < beatOffsets.size(); ++b) {
                if (*beatOffsets[b] == 0 && now >= static_cast<int>(b + 1) * 24) {
                    *beatOffsets[b] = static_cast<std::int32_t>(stream.size());
                }
            }
        }
    }
};

}  // namespace

std::vector<PartBuilder::Item> PartBuilder::Ordered(int length) const {
    auto items = items_;
    for (int index : offsToClamp_) {
        auto& off = items[static_cast<std::size_t>(index)];
        off.At = std::min(off.At, length - 1);
    }
    for (const auto& item : items) {
        if (item.At >= length) throw std::invalid_argument("StyleBuilder: an event after the part's end");
    }
    std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) {
        if (a.At != b.At) return a.At < b.At;
        if (a.Off != b.Off) return a.Off;
        return a.Order < b.Order;
    });
    return items;
}

void StyleBuilder::Layout(data::PartTable& parts, std::vector<std::uint8_t>& stream) const {
    const int measureTicks = MeasureTicks();
    if (measureTicks < 1) throw std::invalid_argument("StyleBuilder: the meter gives measures of no ticks");
    int measure = 1;
    for (const PartBuilder& builder : parts_) {
        const int length = builder.measures_ * measureTicks;
        data::PartRecord& record = parts[static_cast<std::size_t>(data::Index(builder.part_))];
        record.StartMeasure = static_cast<std::int16_t>(measure);
        record.EndMeasure = static_cast<std::int16_t>(measure + builder.measures_ - 1);
        record.StartBeat = 1;
        record.LengthMeasures = static_cast<std::int16_t>(builder.measures_);
        record.RangeStart = record.RangeStart2 = static_cast<std::int32_t>(stream.size());
        record.FollowUpCode = builder.followUp_;
        for (int c : builder.mutes_) record.PartMute[static_cast<std::size_t>(c)] = 1;
        for (int c : builder.cuts_) record.CutNotes[static_cast<std::size_t>(c)] = 1;

        PartWriter writer{stream, record};
        for (const auto& item : builder.Ordered(length)) {
            writer.WaitUntil(item.At);
            stream.insert(stream.end(), item.Bytes.begin(), item.Bytes.end());
        }
        writer.WaitUntil(length);
        record.RangeEnd = static_cast<std::int32_t>(stream.size());
        measure += builder.measures_;
    }
    stream.insert(stream.end(), streamEnd_.begin(), streamEnd_.end());
    for (const auto& adjust : adjustments_) adjust(parts);
}

}  // namespace chordella::testing
