#include "make_assets/StyleSource.h"

#include <algorithm>
#include <array>
#include <map>
#include <tuple>
#include <utility>

#include "data/StyleFile.h"
#include "data/StyleStream.h"
#include "engine/ChordShift.h"
#include "make_assets/Notation.h"

namespace chordella::tools {

namespace {

constexpr std::array<std::string_view, data::PartCount> PartNames = {
    "Intro", "Basic", "Extended", "Ending", "FillBasic", "FillExtended", "ToExtended", "ToBasic"};

struct SourceLine {
    int Number = 0;
    std::vector<std::string> Words;
};

struct PartSource {
    int Measures = 1;
    std::uint16_t FollowUp = 0;
    std::vector<SourceLine> Lines;   // drum, notes and use lines, in order
    std::vector<int> Mutes;
    std::vector<int> Cuts;
    bool Defined = false;
};

// A drum hit's length: drums sound their whole sample anyway, and a short note leaves room
// for a hit placed just ahead of the next step.
constexpr int DrumTicks = 6;

struct Note {
    int Channel = 0;
    int Key = 0;
    int Velocity = 0;
    int On = 0;
    int Off = 0;
    int Offset = 0;   // ticks ahead of (−) or behind (+) the written place
};

// How a line's straight positions are played: the swing of its eighths or sixteenths.
struct Feel {
    int Swing = 50;       // percent of the pair the first step takes; 50 = straight
    int StepTicks = 12;   // 12: eighths swing, 6: sixteenths swing
    int Place(int tick, int offset) const { return (Swing == 50 ? tick : SwingTick(tick, Swing, StepTicks)) + offset; }
};

struct Item {
    int At = 0;
    int Rank = 0;      // note-offs, then set-up, then the rest, at one tick
    int Order = 0;
    std::array<std::uint8_t, 3> Bytes{};
};

class StyleCompiler {
public:
    bool Compile(std::string_view source, CompiledStyle& style, std::string& error);

private:
    bool Fail(int line, const std::string& reason) {
        error_ = "line " + std::to_string(line) + ": " + reason;
        return false;
    }
    bool ReadLine(const SourceLine& line);
    bool ReadChannel(const SourceLine& line);
    bool ReadPart(const SourceLine& line);
    bool ReadFeel(const SourceLine& line, Feel& feel);
    bool ExpandPart(int part, std::vector<Note>& notes, int depth);
    bool DrumLine(const SourceLine& line, int partTicks, const Feel& feel, std::vector<Note>& notes);
    bool NotesLine(const SourceLine& line, int partTicks, const Feel& feel, std::vector<Note>& notes);
    bool CheckOverlaps(const std::vector<Note>& notes, int part);
    void LayOut(CompiledStyle& style);
    int MeasureTicks() const { return beats_ * TicksPerBeat; }

    std::string error_;
    std::string fileName_;
    int tempo_ = 120;
    int beats_ = 4;
    data::StyleHeader header_;
    std::array<PartSource, data::PartCount> parts_{};
    std::array<std::vector<Note>, data::PartCount> partNotes_{};
    int current_ = -1;
    Feel feel_;   // the style's own, before its first part
};

bool StyleCompiler::Compile(std::string_view source, CompiledStyle& style, std::string& error) {
    int number = 0;
    std::size_t start = 0;
    while (start < source.size()) {
        auto end = source.find('\n', start);
        if (end == std::string_view::npos) end = source.size();
        std::string_view text = source.substr(start, end - start);
        start = end + 1;
        ++number;
        text = WithoutComment(text);
        SourceLine line{number, SplitWords(text)};
        if (line.Words.empty()) continue;
        if (!ReadLine(line)) {
            error = error_;
            return false;
        }
    }
    if (fileName_.empty()) {
        error = "no \"style NAME.vxs\" line";
        return false;
    }
    for (int p = 0; p < data::PartCount; ++p) {
        if (!parts_[static_cast<std::size_t>(p)].Defined) {
            error = "the part " + std::string(PartNames[static_cast<std::size_t>(p)]) + " is missing";
            return false;
        }
        if (!ExpandPart(p, partNotes_[static_cast<std::size_t>(p)], 0) ||
            !CheckOverlaps(partNotes_[static_cast<std::size_t>(p)], p)) {
            error = error_;
            return false;
        }
    }
    header_.StyleTempo = static_cast<std::int16_t>(tempo_);
    header_.StyleMeter = static_cast<std::int16_t>(4 * beats_);
    style = CompiledStyle{};
    style.FileName = fileName_;
    LayOut(style);
    if (style.Stream.size() > static_cast<std::size_t>(data::StreamCapacity)) {
        error = fileName_ + ": the stream takes " + std::to_string(style.Stream.size()) + " bytes, more than a style holds (" +
                std::to_string(data::StreamCapacity) + ")";
        return false;
    }
    if (!data::CheckStyleHeader(style.Header, error) || !data::CheckStyleStream(style.Parts, style.Stream, error)) {
        error = fileName_ + " fails the style file's checks: " + error;
        return false;
    }
    return true;
}

bool StyleCompiler::ReadLine(const SourceLine& line) {
    const std::string& word = line.Words[0];
    const auto count = line.Words.size();
    std::string reason;
    if (word == "style") {
        if (count != 2 || !line.Words[1].ends_with(".vxs")) return Fail(line.Number, "expected \"style NAME.vxs\"");
        fileName_ = line.Words[1];
        return true;
    }
    if (word == "tempo") {
        if (count != 2 || !ParseNumber(line.Words[1], 25, 250, tempo_, reason)) return Fail(line.Number, "tempo: " + reason);
        return true;
    }
    if (word == "meter") {
        if (count != 2 || !ParseNumber(line.Words[1], 2, 7, beats_, reason)) return Fail(line.Number, "meter: " + reason);
        return true;
    }
    if (word == "channel") return ReadChannel(line);
    if (word == "swing" && current_ < 0) return ReadFeel(line, feel_);
    if (word == "part") return ReadPart(line);
    if (current_ < 0) return Fail(line.Number, "\"" + word + "\" before the first part");
    PartSource& part = parts_[static_cast<std::size_t>(current_)];
    if (word == "swing") {
        Feel check;
        if (!ReadFeel(line, check)) return false;
        part.Lines.push_back(line);
        return true;
    }
    if (word == "drum" || word == "notes" || word == "use") {
        part.Lines.push_back(line);
        return true;
    }
    if (word == "cut" || word == "mute") {
        int channel = 0;
        if (count != 2 || !ParseNumber(line.Words[1], 1, 16, channel, reason)) return Fail(line.Number, word + ": " + reason);
        (word == "cut" ? part.Cuts : part.Mutes).push_back(channel - 1);
        return true;
    }
    return Fail(line.Number, "unknown word \"" + word + "\"");
}

bool StyleCompiler::ReadChannel(const SourceLine& line) {
    static const std::map<std::string, int> Settings = {
        {"program", data::SetupProgramIndex}, {"volume", 7}, {"pan", 10}, {"reverb", 91},
        {"chorus", 93}, {"expression", 11}, {"bank", 0}};
    std::string reason;
    int channel = 0;
    if (line.Words.size() < 2 || line.Words.size() % 2 != 0 || !ParseNumber(line.Words[1], 1, 16, channel, reason))
        return Fail(line.Number, "expected \"channel N program P volume V …\"" + (reason.empty() ? "" : ": " + reason));
    auto& row = header_.ChannelSetup[static_cast<std::size_t>(channel - 1)];
    for (std::size_t i = 2; i + 1 < line.Words.size(); i += 2) {
        const auto setting = Settings.find(line.Words[i]);
        int value = 0;
        if (setting == Settings.end()) return Fail(line.Number, "unknown channel setting \"" + line.Words[i] + "\"");
        if (!ParseNumber(line.Words[i + 1], 0, 127, value, reason)) return Fail(line.Number, line.Words[i] + ": " + reason);
        row[static_cast<std::size_t>(setting->second)] = static_cast<std::uint8_t>(value);
    }
    if (row[0] == data::SetupNotSet && row[data::SetupProgramIndex] != data::SetupNotSet) row[0] = 0;
    return true;
}

bool StyleCompiler::ReadFeel(const SourceLine& line, Feel& feel) {
    std::string reason;
    const auto count = line.Words.size();
    if (count < 2 || count > 3 || !ParseNumber(line.Words[1], 50, 75, feel.Swing, reason))
        return Fail(line.Number, "expected \"swing PERCENT [e|s]\" with PERCENT 50 … 75" + (reason.empty() ? "" : ": " + reason));
    feel.StepTicks = 12;
    if (count == 3) {
        if (line.Words[2] != "e" && line.Words[2] != "s") return Fail(line.Number, "swing: the step is e (eighths) or s (sixteenths)");
        feel.StepTicks = line.Words[2] == "s" ? 6 : 12;
    }
    return true;
}

bool StyleCompiler::ReadPart(const SourceLine& line) {
    const auto name = std::find(PartNames.begin(), PartNames.end(), line.Words.size() > 1 ? line.Words[1] : "");
    if (name == PartNames.end())
        return Fail(line.Number, "expected \"part NAME MEASURES\" with NAME one of Intro, Basic, Extended, Ending, "
                                 "FillBasic, FillExtended, ToExtended, ToBasic");
    current_ = static_cast<int>(name - PartNames.begin());
    PartSource& part = parts_[static_cast<std::size_t>(current_)];
    if (part.Defined) return Fail(line.Number, "the part " + line.Words[1] + " is written twice");
    part.Defined = true;
    part.FollowUp = data::DefaultFollowUpCode(current_);
    std::string reason;
    if (line.Words.size() < 3 || !ParseNumber(line.Words[2], 1, 16, part.Measures, reason))
        return Fail(line.Number, "part length: " + (reason.empty() ? "missing" : reason));
    if (line.Words.size() == 5 && line.Words[3] == "followup") {
        int code = 0;
        if (!ParseNumber(line.Words[4], 0, 255, code, reason)) return Fail(line.Number, "followup: " + reason);
        part.FollowUp = static_cast<std::uint16_t>(code);
    } else if (line.Words.size() != 3) {
        return Fail(line.Number, "expected \"part NAME MEASURES [followup N]\"");
    }
    return true;
}

bool StyleCompiler::ExpandPart(int index, std::vector<Note>& notes, int depth) {
    const PartSource& part = parts_[static_cast<std::size_t>(index)];
    const int partTicks = part.Measures * MeasureTicks();
    Feel feel = feel_;
    for (const SourceLine& line : part.Lines) {
        const std::string& word = line.Words[0];
        if (word == "swing") {
            if (!ReadFeel(line, feel)) return false;
        } else if (word == "drum") {
            if (!DrumLine(line, partTicks, feel, notes)) return false;
        } else if (word == "notes") {
            if (!NotesLine(line, partTicks, feel, notes)) return false;
        } else {
            const auto name = std::find(PartNames.begin(), PartNames.end(), line.Words.size() >= 2 ? line.Words[1] : "");
            if (name == PartNames.end()) return Fail(line.Number, "expected \"use PARTNAME [CHANNEL …]\"");
            std::vector<int> channels;
            for (std::size_t i = 2; i < line.Words.size(); ++i) {
                int channel = 0;
                std::string reason;
                if (!ParseNumber(line.Words[i], 1, 16, channel, reason)) return Fail(line.Number, "use: " + reason);
                channels.push_back(channel - 1);
            }
            const int other = static_cast<int>(name - PartNames.begin());
            if (depth > 4 || other == index) return Fail(line.Number, "\"use\" goes round in a circle");
            if (!parts_[static_cast<std::size_t>(other)].Defined) return Fail(line.Number, "\"use\" of a part not written");
            std::vector<Note> borrowed;
            if (!ExpandPart(other, borrowed, depth + 1)) return false;
            // The borrowed lines repeat through this part's length as they would in their own.
            const int otherTicks = parts_[static_cast<std::size_t>(other)].Measures * MeasureTicks();
            for (int offset = 0; offset < partTicks; offset += otherTicks) {
                for (Note note : borrowed) {
                    if (!channels.empty() && std::find(channels.begin(), channels.end(), note.Channel) == channels.end()) continue;
                    note.On += offset;
                    note.Off += offset;
                    if (note.On < partTicks) notes.push_back(note);
                }
            }
        }
    }
    return true;
}

bool StyleCompiler::DrumLine(const SourceLine& line, int partTicks, const Feel& feel, std::vector<Note>& notes) {
    std::string reason;
    int key = 0;
    int offset = 0;
    // "snare@+1": the whole line a tick behind the grid (laid back), "hhc@-1" ahead of it.
    const std::string& name = line.Words.size() > 1 ? line.Words[1] : std::string();
    const auto at = name.find('@');
    const bool placed = at == std::string::npos || ParseOffset(std::string_view(name).substr(at + 1), offset, reason);
    if (line.Words.size() < 3 || !placed || !ParseDrum(name.substr(0, at), key, reason))
        return Fail(line.Number, "expected \"drum NAME[@±TICKS] GRID\"" + (reason.empty() ? "" : ": " + reason));
    std::string grid;
    for (std::size_t i = 2; i < line.Words.size(); ++i) grid += line.Words[i];
    const auto measures = SplitTrimmed(grid, '|');
    if (measures.empty()) return Fail(line.Number, "the grid is empty");
    const int period = static_cast<int>(measures.size()) * MeasureTicks();
    for (std::size_t m = 0; m < measures.size(); ++m) {
        const int steps = static_cast<int>(measures[m].size());
        if (MeasureTicks() % steps != 0)
            return Fail(line.Number, "a measure of " + std::to_string(steps) + " steps does not divide " +
                                         std::to_string(MeasureTicks()) + " ticks");
        const int stepTicks = MeasureTicks() / steps;
        for (int s = 0; s < steps; ++s) {
            int velocity = 0;
            if (!GridVelocity(measures[m][static_cast<std::size_t>(s)], velocity))
                return Fail(line.Number, std::string("unknown grid step '") + measures[m][static_cast<std::size_t>(s)] +
                                             "' (use X x o g 1 … 9 . -)");
            if (velocity == 0) continue;
            const int on = static_cast<int>(m) * MeasureTicks() + s * stepTicks;
            if (feel.Place(on, offset) < 0) return Fail(line.Number, "the first step is placed before the part's start");
            for (int repeat = 0; on + repeat < partTicks; repeat += period) {
                if (feel.Place(on + repeat, offset) >= partTicks - 1)
                    return Fail(line.Number, "a step is placed past the part's end");
                notes.push_back({9, key, velocity, feel.Place(on + repeat, offset),
                                 feel.Place(on + repeat + std::min(stepTicks, DrumTicks), offset)});
            }
        }
    }
    return true;
}

bool StyleCompiler::NotesLine(const SourceLine& line, int partTicks, const Feel& feel, std::vector<Note>& notes) {
    std::string reason;
    int channel = 0;
    if (line.Words.size() < 3 || !ParseNumber(line.Words[1], 1, 16, channel, reason))
        return Fail(line.Number, "expected \"notes CHANNEL position pitches length [velocity], …\"");
    if (channel == 10) return Fail(line.Number, "write the drums with \"drum\" lines");
    std::string items;
    for (std::size_t i = 2; i < line.Words.size(); ++i) items += line.Words[i] + " ";
    std::vector<Note> written;
    int lastMeasure = 1;
    for (const std::string& item : SplitTrimmed(items, ',')) {
        const auto words = SplitWords(item);
        int at = 0;
        int offset = 0;
        int length = 0;
        int velocity = 90;
        std::vector<int> pitches;
        if (words.size() < 3 || words.size() > 4) return Fail(line.Number, "expected \"position pitches length [velocity]\" in \"" + item + "\"");
        if (!ParsePlacement(words[0], beats_, at, offset, reason) || !ParsePitches(words[1], pitches, reason) ||
            !ParseLength(words[2], length, reason) ||
            (words.size() == 4 && !ParseNumber(words[3], 1, 127, velocity, reason)))
            return Fail(line.Number, reason);
        // The line's period: the measures its notes start and sound in (a held pad of two
        // measures written from 3.1 makes a four-measure line).
        lastMeasure = std::max({lastMeasure, at / MeasureTicks() + 1, (at + length + MeasureTicks() - 1) / MeasureTicks()});
        if (feel.Place(at, offset) < 0) return Fail(line.Number, "\"" + words[0] + "\" is placed before the part's start");
        // The offset moves the start; the end keeps its swung place, so a pushed note is longer.
        for (int pitch : pitches) written.push_back({channel - 1, pitch, velocity, at, at + length, offset});
    }
    const int period = lastMeasure * MeasureTicks();
    for (int repeat = 0; repeat < partTicks; repeat += period) {
        for (const Note& note : written) {
            const int on = feel.Place(note.On + repeat, note.Offset);
            if (note.On + repeat >= partTicks) continue;
            if (on >= partTicks - 1) return Fail(line.Number, "a note is placed past the part's end");
            notes.push_back({note.Channel, note.Key, note.Velocity, on, std::max(on + 1, feel.Place(note.Off + repeat, 0))});
        }
    }
    return true;
}

bool StyleCompiler::CheckOverlaps(const std::vector<Note>& notes, int part) {
    std::vector<const Note*> sorted;
    for (const Note& n : notes) sorted.push_back(&n);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Note* a, const Note* b) {
        return std::tie(a->Channel, a->Key, a->On) < std::tie(b->Channel, b->Key, b->On);
    });
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        const Note& a = *sorted[i - 1];
        const Note& b = *sorted[i];
        if (a.Channel == b.Channel && a.Key == b.Key && b.On < a.Off) {
            error_ = "part " + std::string(PartNames[static_cast<std::size_t>(part)]) + ": key " + std::to_string(a.Key) +
                     " on channel " + std::to_string(a.Channel + 1) + " starts again at tick " + std::to_string(b.On) +
                     " while it still sounds (from tick " + std::to_string(a.On) + ")";
            return false;
        }
    }
    return true;
}

void StyleCompiler::LayOut(CompiledStyle& style) {
    int measure = 1;
    for (int p = 0; p < data::PartCount; ++p) {
        const PartSource& source = parts_[static_cast<std::size_t>(p)];
        const int length = source.Measures * MeasureTicks();
        std::vector<Item> items;
        // The channels' set-up first, so that the part sounds right wherever it starts.
        for (int c = 0; c < data::StyleChannels; ++c) {
            const auto& row = header_.ChannelSetup[static_cast<std::size_t>(c)];
            const auto status = [c](int kind) { return static_cast<std::uint8_t>(kind | c); };
            for (int controller : {0, 32}) {
                if (row[static_cast<std::size_t>(controller)] != data::SetupNotSet)
                    items.push_back({0, 1, 0, {status(0xB0), static_cast<std::uint8_t>(controller), row[static_cast<std::size_t>(controller)]}});
            }
            if (row[data::SetupProgramIndex] != data::SetupNotSet)
                items.push_back({0, 1, 0, {status(0xC0), row[data::SetupProgramIndex], 0}});
            for (int controller : {7, 10, 11, 91, 93}) {
                if (row[static_cast<std::size_t>(controller)] != data::SetupNotSet)
                    items.push_back({0, 1, 0, {status(0xB0), static_cast<std::uint8_t>(controller), row[static_cast<std::size_t>(controller)]}});
            }
        }
        for (const Note& note : partNotes_[static_cast<std::size_t>(p)]) {
            const auto status = static_cast<std::uint8_t>(0x90 | note.Channel);
            // A note that would ring past the part's end stops on its last tick.
            int off = std::min(note.Off, length - 1);
            // A chord change re-voices what a sustained instrument still holds; a note written
            // to end on the beat the chord changes would sound its new pitch for no time at
            // all (a ghost of the new chord), so it ends a tick before the beat.
            const int program = header_.ChannelSetup[static_cast<std::size_t>(note.Channel)][data::SetupProgramIndex];
            if (engine::IsSustainedProgram(program) && off % TicksPerBeat == 0 && off - 1 > note.On) --off;
            items.push_back({note.On, 2, 0, {status, static_cast<std::uint8_t>(note.Key), static_cast<std::uint8_t>(note.Velocity)}});
            items.push_back({off, 0, 0, {status, static_cast<std::uint8_t>(note.Key), 0}});
            header_.ChannelUsed[static_cast<std::size_t>(note.Channel)] = 1;
        }
        for (std::size_t i = 0; i < items.size(); ++i) items[i].Order = static_cast<int>(i);
        std::stable_sort(items.begin(), items.end(),
                         [](const Item& a, const Item& b) { return std::tie(a.At, a.Rank, a.Order) < std::tie(b.At, b.Rank, b.Order); });

        data::PartRecord& record = style.Parts[static_cast<std::size_t>(p)];
        record.StartMeasure = static_cast<std::int16_t>(measure);
        record.EndMeasure = static_cast<std::int16_t>(measure + source.Measures - 1);
        record.StartBeat = 1;
        record.LengthMeasures = static_cast<std::int16_t>(source.Measures);
        record.RangeStart = record.RangeStart2 = static_cast<std::int32_t>(style.Stream.size());
        record.FollowUpCode = source.FollowUp;
        for (int c : source.Mutes) record.PartMute[static_cast<std::size_t>(c)] = 1;
        for (int c : source.Cuts) record.CutNotes[static_cast<std::size_t>(c)] = 1;

        std::array<std::int32_t*, 3> beatOffsets = {&record.Beat2Offset, &record.Beat3Offset, &record.Beat4Offset};
        int now = 0;
        const auto waitUntil = [&](int tick) {
            while (now < tick) {
                // Waits end on every beat, so a fill that starts at a beat offset starts exactly on it.
                const int nextBeat = (now / TicksPerBeat + 1) * TicksPerBeat;
                const int step = std::min({8, tick - now, nextBeat - now});
                style.Stream.push_back(data::stream::WaitByte(step));
                now += step;
                for (std::size_t b = 0; b < beatOffsets.size(); ++b) {
                    if (*beatOffsets[b] == 0 && now >= static_cast<int>(b + 1) * TicksPerBeat)
                        *beatOffsets[b] = static_cast<std::int32_t>(style.Stream.size());
                }
            }
        };
        for (const Item& item : items) {
            waitUntil(item.At);
            style.Stream.insert(style.Stream.end(), item.Bytes.begin(), item.Bytes.end());
        }
        waitUntil(length);
        record.RangeEnd = static_cast<std::int32_t>(style.Stream.size());
        measure += source.Measures;
    }
    style.Stream.push_back(data::stream::EndOfStream);
    style.Header = header_;
}

}  // namespace

bool CompileStyle(std::string_view source, CompiledStyle& style, std::string& error) {
    StyleCompiler compiler;
    return compiler.Compile(source, style, error);
}

std::vector<std::uint8_t> StyleFileOf(const CompiledStyle& style) {
    return data::StyleFileBytes(style.Header, style.Parts, style.Stream);
}

}  // namespace chordella::tools
