#include "support/KeyboardStyleWriter.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace chordella::testing {

namespace {

using ByteList = std::vector<std::uint8_t>;

std::uint8_t B(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

void PutBig(ByteList& out, std::uint32_t value, int count) {
    for (int index = count - 1; index >= 0; --index) out.push_back(B(static_cast<int>(value >> (8 * index))));
}

void PutVarLength(ByteList& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = B(static_cast<int>(value & 0x7F));
        value >>= 7;
    } while (value != 0);
    while (count > 1) out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
    out.push_back(groups[0]);
}

ByteList Tagged(const std::string& tag, const ByteList& content) {
    ByteList out(tag.begin(), tag.end());
    PutBig(out, static_cast<std::uint32_t>(content.size()), 4);
    out.insert(out.end(), content.begin(), content.end());
    return out;
}

ByteList MetaEvent(int type, const ByteList& payload) {
    ByteList out{0xFF, B(type)};
    PutVarLength(out, static_cast<std::uint32_t>(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

ByteList TextBytes(const std::string& text) { return ByteList(text.begin(), text.end()); }

// The table numbers of newer entries ("Ctb2", "Cntt"): the minor family after Chord, a bass
// table being a melody table with bit 7 set.
int NewNumber(casm::Table table) {
    switch (table) {
        case casm::Bypass: return 0;
        case casm::Melody: return 1;
        case casm::Chord: return 2;
        case casm::Bass: return 0x81;
        case casm::MelodicMinor: return 3;
        case casm::MelodicMinor5th: return 4;
        case casm::HarmonicMinor: return 5;
        case casm::HarmonicMinor5th: return 6;
        case casm::NaturalMinor: return 7;
        case casm::NaturalMinor5th: return 8;
        case casm::Dorian: return 9;
        case casm::Dorian5th: return 10;
    }
    return 1;
}

// Old entries ("Ctab") know six tables, 0 … 5; the rest of the family needs a "Cntt" block.
int OldNumber(casm::Table table, bool& needsCntt) {
    needsCntt = false;
    switch (table) {
        case casm::Bypass: return 0;
        case casm::Melody: return 1;
        case casm::Chord: return 2;
        case casm::Bass: return 3;
        case casm::MelodicMinor: return 4;
        case casm::HarmonicMinor: return 5;
        default: needsCntt = true; return NewNumber(table);
    }
}

ByteList EntryHead(const CasmEntry& e) {
    ByteList out{B(e.Source)};
    std::string voice = e.Voice.substr(0, 8);
    voice.resize(8, ' ');
    out.insert(out.end(), voice.begin(), voice.end());
    out.push_back(B(e.Destination < 0 ? e.Source : e.Destination));
    out.push_back(e.Editable ? 0 : 1);
    PutBig(out, e.NoteMute, 2);
    for (int shift = 32; shift >= 0; shift -= 8) out.push_back(B(static_cast<int>(e.ChordMute >> shift)));
    out.push_back(B(e.SourceRoot));
    out.push_back(B(e.SourceKind));
    return out;
}

// NTR, NTT, high key, note limits, retrigger rule: one range's rules.
void PutRules(ByteList& out, const CasmEntry& e, int ntt) {
    for (int value : {e.Ntr, ntt, e.HighKey, e.NoteLow, e.NoteHigh, e.Rtr}) out.push_back(B(value));
}

}  // namespace

SectionWriter& SectionWriter::Add(int at, ByteList bytes) {
    items_.push_back(Item{at, static_cast<int>(items_.size()), std::move(bytes)});
    return *this;
}

SectionWriter& SectionWriter::Note(int channel, int key, int velocity, int at, int length) {
    Add(at, {B(0x90 | (channel & 0x0F)), B(key), B(velocity)});
    return Add(at + length, {B(0x90 | (channel & 0x0F)), B(key), 0});
}

SectionWriter& SectionWriter::Controller(int channel, int controller, int value, int at) {
    return Add(at, {B(0xB0 | (channel & 0x0F)), B(controller), B(value)});
}

SectionWriter& SectionWriter::Program(int channel, int program, int at) {
    return Add(at, {B(0xC0 | (channel & 0x0F)), B(program)});
}

SectionWriter& SectionWriter::Voice(int channel, int msb, int lsb, int program, int at) {
    Controller(channel, 0, msb, at);
    Controller(channel, 32, lsb, at);
    return Program(channel, program, at);
}

SectionWriter& SectionWriter::SysEx(ByteList data, int at) {
    ByteList event{0xF0};
    PutVarLength(event, static_cast<std::uint32_t>(data.size()));
    event.insert(event.end(), data.begin(), data.end());
    return Add(at, std::move(event));
}

SectionWriter& SectionWriter::Raw(ByteList bytes, int at) { return Add(at, std::move(bytes)); }

CasmGroupWriter& CasmGroupWriter::Entry(CasmEntry entry) {
    pieces_.push_back(Piece{true, std::move(entry), {}, {}});
    return *this;
}

CasmGroupWriter& CasmGroupWriter::Block(std::string tag, ByteList content) {
    pieces_.push_back(Piece{false, {}, std::move(tag), std::move(content)});
    return *this;
}

KeyboardStyleWriter::KeyboardStyleWriter() = default;

KeyboardStyleWriter& KeyboardStyleWriter::Meter(int numerator, int denominator) {
    numerator_ = numerator;
    denominator_ = denominator;
    return *this;
}
KeyboardStyleWriter& KeyboardStyleWriter::Division(int ticksPerQuarter) {
    division_ = ticksPerQuarter;
    return *this;
}
KeyboardStyleWriter& KeyboardStyleWriter::Tempo(int bpm) {
    tempo_ = bpm;
    return *this;
}
KeyboardStyleWriter& KeyboardStyleWriter::SetupBeats(int quarters) {
    setupQuarters_ = quarters;
    return *this;
}
KeyboardStyleWriter& KeyboardStyleWriter::Signature(std::string text) {
    signature_ = std::move(text);
    return *this;
}
KeyboardStyleWriter& KeyboardStyleWriter::Voice(int channel, int msb, int lsb, int program) {
    setup_.Voice(channel, msb, lsb, program, 0);
    return *this;
}
KeyboardStyleWriter& KeyboardStyleWriter::Volume(int channel, int value) { return Controller(channel, 7, value); }
KeyboardStyleWriter& KeyboardStyleWriter::Controller(int channel, int controller, int value) {
    setup_.Controller(channel, controller, value, 0);
    return *this;
}
KeyboardStyleWriter& KeyboardStyleWriter::SysEx(ByteList data) {
    setup_.SysEx(std::move(data), 0);
    return *this;
}
SectionWriter& KeyboardStyleWriter::Section(const std::string& marker, int quarters) {
    sections_.push_back(SectionWriter(marker, quarters));
    return sections_.back();
}
CasmGroupWriter& KeyboardStyleWriter::Group(std::vector<std::string> sections) {
    groups_.push_back(CasmGroupWriter(std::move(sections)));
    return groups_.back();
}
KeyboardStyleWriter& KeyboardStyleWriter::Format(CasmFormat format) {
    format_ = format;
    return *this;
}
KeyboardStyleWriter& KeyboardStyleWriter::CutAt(std::size_t size) {
    cut_ = size;
    return *this;
}
KeyboardStyleWriter& KeyboardStyleWriter::Poke(std::size_t offset, std::uint8_t value) {
    pokes_.emplace_back(offset, value);
    return *this;
}

int KeyboardStyleWriter::SectionStartQuarters(const std::string& marker) const {
    int at = setupQuarters_ >= 0 ? setupQuarters_ : QuartersPerBar();
    for (const SectionWriter& section : sections_) {
        if (section.name_ == marker) return at;
        at += section.quarters_;
    }
    throw std::invalid_argument("no section " + marker);
}

ByteList KeyboardStyleWriter::Track(std::vector<std::pair<std::string, std::size_t>>* markers) const {
    struct Timed {
        long long Tick;
        int Rank;     // note-offs, then markers, then the rest, at one tick
        int Order;
        ByteList Event;
        std::string Marker;
    };
    std::vector<Timed> events;
    int order = 0;
    const auto fileTicks = [&](long long quarterTicks) { return quarterTicks * division_ / 24; };
    const std::uint32_t micros = static_cast<std::uint32_t>(60000000 / std::max(tempo_, 1));
    int power = 0;
    while ((1 << power) < denominator_) ++power;
    const int clocks = denominator_ == 8 ? (numerator_ % 3 == 0 ? 36 : 12) : 24;
    events.push_back({0, 1, order++, MetaEvent(0x58, {B(numerator_), B(power), B(clocks), 8}), {}});
    events.push_back({0, 1, order++, MetaEvent(0x51, {B(micros >> 16), B(micros >> 8), B(micros)}), {}});
    events.push_back({0, 1, order++, MetaEvent(0x06, TextBytes(signature_)), signature_});
    events.push_back({0, 1, order++, MetaEvent(0x06, TextBytes("SInt")), "SInt"});
    auto addSection = [&](const SectionWriter& section, long long startQuarters, bool marker) {
        const long long start = startQuarters * 24;
        if (marker)
            events.push_back({fileTicks(start), 1, order++, MetaEvent(0x06, TextBytes(section.name_)), section.name_});
        for (const SectionWriter::Item& item : section.items_) {
            const bool off = item.Bytes.size() == 3 && (item.Bytes[0] & 0xF0) == 0x90 && item.Bytes[2] == 0;
            events.push_back({fileTicks(start + item.At), off ? 0 : 2, order++, item.Bytes, {}});
        }
    };
    addSection(setup_, 0, false);
    long long at = setupQuarters_ >= 0 ? setupQuarters_ : QuartersPerBar();
    for (const SectionWriter& section : sections_) {
        addSection(section, at, true);
        at += section.quarters_;
    }
    std::stable_sort(events.begin(), events.end(), [](const Timed& a, const Timed& b) {
        if (a.Tick != b.Tick) return a.Tick < b.Tick;
        if (a.Rank != b.Rank) return a.Rank < b.Rank;
        return a.Order < b.Order;
    });
    ByteList track;
    long long now = 0;
    for (const Timed& e : events) {
        PutVarLength(track, static_cast<std::uint32_t>(e.Tick - now));
        now = e.Tick;
        if (markers && !e.Marker.empty()) markers->emplace_back(e.Marker, track.size());
        track.insert(track.end(), e.Event.begin(), e.Event.end());
    }
    PutVarLength(track, static_cast<std::uint32_t>(std::max(0LL, fileTicks(at * 24) - now)));
    const ByteList end = MetaEvent(0x2F, {});
    track.insert(track.end(), end.begin(), end.end());
    return track;
}

ByteList KeyboardStyleWriter::Casm() const {
    ByteList groups;
    for (const CasmGroupWriter& group : groups_) {
        ByteList content;
        std::string names;
        for (const std::string& name : group.sections_) names += (names.empty() ? "" : ",") + name;
        const ByteList sdec = Tagged("Sdec", TextBytes(names));
        content.insert(content.end(), sdec.begin(), sdec.end());
        ByteList cntt;
        for (const CasmGroupWriter::Piece& piece : group.pieces_) {
            ByteList block;
            if (!piece.IsEntry) {
                block = Tagged(piece.Tag, piece.Content);
            } else {
                const CasmEntry& e = piece.Entry;
                ByteList entry = EntryHead(e);
                if (format_ == CasmFormat::Ctab) {
                    bool needsCntt = false;
                    const int ntt = e.RawNtt >= 0 ? e.RawNtt : OldNumber(e.Table, needsCntt);
                    PutRules(entry, e, ntt);
                    entry.push_back(0);   // no special feature
                    if (needsCntt) {
                        const ByteList c = Tagged("Cntt", {B(e.Source), B(NewNumber(e.Table))});
                        cntt.insert(cntt.end(), c.begin(), c.end());
                    }
                } else {
                    const int ntt = e.RawNtt >= 0 ? e.RawNtt : NewNumber(e.Table);
                    entry.push_back(0);      // the middle range: every note
                    entry.push_back(127);
                    for (int range = 0; range < 3; ++range) PutRules(entry, e, ntt);
                    entry.insert(entry.end(), {0, 0, 0, 0, 0x80, 0, 0});
                }
                entry.insert(entry.end(), e.Extra.begin(), e.Extra.end());
                block = Tagged(format_ == CasmFormat::Ctab ? "Ctab" : "Ctb2", entry);
            }
            content.insert(content.end(), block.begin(), block.end());
        }
        content.insert(content.end(), cntt.begin(), cntt.end());
        const ByteList cseg = Tagged("CSEG", content);
        groups.insert(groups.end(), cseg.begin(), cseg.end());
    }
    return Tagged("CASM", groups);
}

ByteList KeyboardStyleWriter::Whole(std::vector<std::pair<std::string, std::size_t>>* markers) const {
    ByteList out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1};
    PutBig(out, static_cast<std::uint32_t>(division_), 2);
    const ByteList track = Tagged("MTrk", Track(markers));
    if (markers)
        for (auto& marker : *markers) marker.second += out.size() + 8;
    out.insert(out.end(), track.begin(), track.end());
    if (!groups_.empty()) {
        const ByteList casm = Casm();
        out.insert(out.end(), casm.begin(), casm.end());
    }
    return out;
}

std::vector<std::uint8_t> KeyboardStyleWriter::Bytes() const {
    ByteList out = Whole(nullptr);
    for (const auto& [offset, value] : pokes_)
        if (offset < out.size()) out[offset] = value;
    if (cut_ < out.size()) out.resize(cut_);
    return out;
}

bool KeyboardStyleWriter::Write(const std::string& path) const {
    const ByteList bytes = Bytes();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

std::size_t KeyboardStyleWriter::MarkerOffset(const std::string& marker) const {
    std::vector<std::pair<std::string, std::size_t>> markers;
    Whole(&markers);
    for (const auto& [text, offset] : markers)
        if (text == marker) return offset;
    throw std::invalid_argument("no marker " + marker);
}

std::size_t KeyboardStyleWriter::CasmOffset() const {
    const ByteList whole = Whole(nullptr);
    const std::size_t trackSize = (std::size_t{whole[18]} << 24) | (std::size_t{whole[19]} << 16) |
                                  (std::size_t{whole[20]} << 8) | whole[21];
    return 22 + trackSize;
}

KeyboardStyleWriter SampleKeyboardStyle(const SampleStyleShape& shape) {
    KeyboardStyleWriter w;
    w.Meter(shape.Numerator, shape.Denominator).Division(shape.Division).Tempo(110);
    if (shape.SetupQuarters >= 0) w.SetupBeats(shape.SetupQuarters);
    w.Voice(8, 127, 0, 0).Voice(9, 127, 0, 0);
    w.Voice(shape.BassDestination, shape.BassBank, 0, shape.BassProgram).Volume(shape.BassDestination, 100);
    w.Voice(11, 0, 0, 0).Volume(11, 90);     // piano
    w.Voice(13, 0, 0, 48).Volume(13, 70);    // strings
    w.Voice(15, 0, 0, 56).Volume(15, 80);    // trumpet
    if (shape.ChordVariants) w.Voice(0, 127, 0, 0).Voice(3, 0, 0, 0);
    const int bar = w.QuartersPerBar() * 24;
    const int beat = 24;
    auto fillBars = [&](SectionWriter& s, int bars, bool busy) {
        for (int b = 0; b < bars; ++b) {
            const int at = b * bar;
            for (int q = 0; q < bar / beat; ++q) s.Note(9, q == 0 ? 36 : 42, q == 0 ? 110 : 80, at + q * beat, 6);
            if (busy) s.Note(8, 39, 70, at + beat, 6);
            s.Note(shape.BassSource, 36, 100, at, beat - 4);                   // the root on the downbeat
            s.Note(shape.BassSource, 43, 90, at + beat, beat - 4);             // the fifth
            for (int key : {64, 67, 71}) s.Note(11, key, 80, at, bar - 2);   // E-G-B over CMaj7
            s.Note(13, 60, 60, at, bar - 1).Note(13, 67, 60, at, bar - 1);
            if (busy) s.Note(15, 72, 90, at, 12).Note(15, 74, 90, at + 12, 12).Note(15, 76, 90, at + 24, 12);
            if (!shape.ChordVariants) continue;
            for (int key : {63, 67, 70}) s.Note(3, key, 80, at, bar - 2);   // E♭-G-B♭ over Cm7
            s.Note(0, 49, 100, at, 12);
        }
    };
    fillBars(w.Section("Main A", 4 * w.QuartersPerBar()), 4, false);
    fillBars(w.Section("Main B", 4 * w.QuartersPerBar()), 4, true);
    fillBars(w.Section("Main C", 2 * w.QuartersPerBar()), 2, false);
    fillBars(w.Section("Main D", 2 * w.QuartersPerBar()), 2, true);
    for (const char* fill : {"Fill In AA", "Fill In BB", "Fill In CC", "Fill In DD"})
        fillBars(w.Section(fill, w.QuartersPerBar()), 1, true);
    fillBars(w.Section("Intro A", 2 * w.QuartersPerBar()), 2, false);
    fillBars(w.Section("Ending A", 2 * w.QuartersPerBar()), 2, false);
    fillBars(w.Section("Fill In BA", w.QuartersPerBar()), 1, false);
    if (!shape.WithChannelTable) return w;
    w.Format(shape.Format);
    const auto entries = [&](CasmGroupWriter& g) {
        g.Entry({.Source = 8, .Voice = "AddDrum", .Ntr = casm::RootFixed, .Table = casm::Bypass});
        g.Entry({.Source = 9, .Voice = "Drums", .Ntr = casm::RootFixed, .Table = casm::Bypass});
        g.Entry({.Source = shape.BassSource, .Voice = "Bass", .Destination = shape.BassDestination,
                 .Table = casm::Bass, .HighKey = 7, .NoteLow = 28, .Rtr = casm::PitchShiftToRoot});
        g.Entry({.Source = 11, .Voice = "Piano", .Ntr = casm::RootFixed, .Table = casm::Chord});
        g.Entry({.Source = 13, .Voice = "Strings", .Ntr = casm::RootFixed, .Table = casm::Chord});
        g.Entry({.Source = 15, .Voice = "Trumpet", .Table = casm::Melody, .HighKey = 5});
        if (!shape.ChordVariants) return;
        g.Entry({.Source = 3, .Voice = "PianoMin", .ChordMute = casm::Kind(casm::Minor) | casm::Kind(casm::Minor7),
                 .SourceKind = casm::Minor7, .Ntr = casm::RootFixed, .Table = casm::Chord});
        g.Entry({.Source = 0, .Voice = "Crash", .ChordMute = casm::Kind(casm::Cancel), .Ntr = casm::RootFixed,
                 .Table = casm::Bypass});
    };
    entries(w.Group({"Main A", "Main B", "Main C", "Main D", "Fill In AA", "Fill In BB", "Fill In CC", "Fill In DD",
                     "Fill In BA"}));
    entries(w.Group({"Intro A", "Ending A"}));
    return w;
}

}  // namespace chordella::testing
