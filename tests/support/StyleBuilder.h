#pragma once
// Builds style files for tests in musical terms: parts of whole measures holding notes,
// controllers and programs at tick positions (24 ticks per quarter note), a meter, a tempo,
// follow-up codes and the channels' set-up. The result has the real .vxs byte layout, so
// tests read like music instead of hex:
//
//   StyleBuilder b;
//   b.Meter(4).Tempo(120).Program(0, 33);
//   b.Part(StylePart::Basic).Measures(2).Note(0, 36, 100, 0, 24).Note(9, 42, 80, b.Beat(2), 12);
//   b.Part(StylePart::Ending).Measures(1).Note(0, 36, 100, 0, 48);
//   auto bytes = b.Bytes();            // the whole file
//   b.Write(folder.File("Pop.vxs"));
//
// Parts are laid out in the stream in the order they are first named, each starting on a
// measure boundary; the stream ends with 0x00. Channels are 0-based (9 is the drum channel).

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "data/StyleModel.h"

namespace chordella::testing {

class PartBuilder {
public:
    explicit PartBuilder(data::StylePart part);

    // Length in measures (default 1).
    PartBuilder& Measures(int count);
    PartBuilder& FollowUp(std::uint16_t code);
    PartBuilder& Mute(int channel);
    PartBuilder& CutNotes(int channel);

    // A note-on at `at` and its note-off (note-on with velocity 0) at `at + length`. An off
    // that would fall on or after the part's end is written at the part's last tick.
    PartBuilder& Note(int channel, int note, int velocity, int at, int length);
    // A note-on without a note-off (a note left sounding at the part's end).
    PartBuilder& NoteOn(int channel, int note, int velocity, int at);
    PartBuilder& NoteOff(int channel, int note, int at);
    PartBuilder& Controller(int channel, int controller, int value, int at);
    PartBuilder& Program(int channel, int program, int at);
    // Any three-byte message.
    PartBuilder& Event(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, int at);
    // Bytes written verbatim at `at` (for damaged streams).
    PartBuilder& Raw(std::vector<std::uint8_t> bytes, int at);

    data::StylePart Which() const { return part_; }

private:
    friend class StyleBuilder;
    struct Item {
        int At = 0;
        bool Off = false;   // note-offs come first among the items of one tick
        int Order = 0;
        std::vector<std::uint8_t> Bytes;
    };
    void Add(int at, bool off, std::vector<std::uint8_t> bytes);
    // The items in stream order for a part of `length` ticks.
    std::vector<Item> Ordered(int length) const;

    data::StylePart part_;
    int measures_ = 1;
    std::uint16_t followUp_;
    std::vector<int> mutes_;
    std::vector<int> cuts_;
    std::vector<Item> items_;
    std::vector<int> offsToClamp_;  // indexes of note-offs that may move to the part's last tick
};

class StyleBuilder {
public:
    StyleBuilder();

    // Quarter-note meter of `beats` beats (StyleMeter = 4 × beats).
    StyleBuilder& Meter(int beats);
    // Eighth-note meter of `eighths` eighths (6/8 → StyleMeter −12).
    StyleBuilder& EighthMeter(int eighths);
    // StyleMeter exactly as stored (0, −32768 …).
    StyleBuilder& RawMeter(std::int16_t styleMeter);
    StyleBuilder& Tempo(int bpm);
    StyleBuilder& IntroMeasures(int measures);
    StyleBuilder& Converted(bool on = true);
    StyleBuilder& SuppressControllers(bool on = true);
    StyleBuilder& ClearSuppressOnLoad(bool on = true);

    // The channel set-up (0-based channel): any byte, or the common ones.
    StyleBuilder& Setup(int channel, int index, int value);
    StyleBuilder& Controller(int channel, int controller, int value) { return Setup(channel, controller, value); }
    StyleBuilder& Program(int channel, int program) { return Setup(channel, data::SetupProgramIndex, program); }
    StyleBuilder& Volume(int channel, int value) { return Setup(channel, 7, value); }

    // The file's tag: written by default (the value the program writes); Tag(0) or WithoutTag() omits it.
    StyleBuilder& Tag(std::int32_t value);
    StyleBuilder& WithoutTag() { return Tag(0); }
    // What ends the stream after the last part (default the single byte 0x00).
    StyleBuilder& StreamEnd(std::vector<std::uint8_t> bytes);
    // Changes the part table after layout (for offsets that lie, crossing ranges …).
    StyleBuilder& AdjustParts(std::function<void(data::PartTable&)> adjust);

    // The part's builder, made on first use; parts are laid out in the order first named.
    PartBuilder& Part(data::StylePart part);

    // Ticks per measure of the meter; ticks from a part's start to (measure, beat), 1-based.
    int MeasureTicks() const;
    int Beat(int beat) const { return Position(1, beat); }
    int Position(int measure, int beat) const;

    // The results.
    data::StyleHeader Header() const;
    data::PartTable Parts() const;
    std::vector<std::uint8_t> Stream() const;
    std::vector<std::uint8_t> Bytes() const;    // the whole file
    // Writes Bytes() to `path`; false when it cannot be written.
    bool Write(const std::string& path) const;

private:
    void Layout(data::PartTable& parts, std::vector<std::uint8_t>& stream) const;

    data::StyleHeader header_;
    std::int32_t tag_ = data::StyleFileTagWritten;
    std::vector<std::uint8_t> streamEnd_{0x00};
    std::deque<PartBuilder> parts_;
    std::vector<std::function<void(data::PartTable&)>> adjustments_;
};

}  // namespace chordella::testing
