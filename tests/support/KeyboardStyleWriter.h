#pragma once
// Writes keyboard style files of the MIDI-based kind (.sty, .prs, .bcs, .sst) for tests, from
// a readable description, so that no test needs a real one: a Standard MIDI File of format 0
// whose one track holds the leading markers ("SFF1", "SInt"), the set-up (voices as bank
// select and program change, volumes, or system-exclusive messages), then the sections one
// after the other, each opened by its marker wherever the previous one ended (on a bar line
// or not); after the track comes the channel table chunk ("CASM"), one group ("CSEG") per set
// of sections, one entry per source channel with its rules.
//
//   KeyboardStyleWriter w;
//   w.Meter(3).Division(1920).Tempo(140).SetupBeats(4);      // markers fall off the bar lines
//   w.Voice(10, 8, 0, 17).Volume(10, 100);                  // bank MSB 8, LSB 0, program 17
//   w.Section("Main A", 12).Note(10, 36, 100, 0, 20).Note(9, 36, 90, 0, 12);
//   w.Section("Fill In AA", 3).Note(9, 38, 90, 0, 12);
//   w.Group({"Main A", "Fill In AA"}).Entry({.Source = 10, .Voice = "Bass", .Table = casm::Bass});
//   auto bytes = w.Bytes();                                 // or w.Write(folder.File("W.sty"))
//
// Times inside a section are ticks of 24 to the quarter note from the section's start; a
// section's length is given in quarter notes. Channels are 0-based. Everything is written
// byte by byte here, independently of the program's readers, from the format's public
// description.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace chordella::testing {

namespace casm {
// Note transposition rules.
inline constexpr int RootTrans = 0;
inline constexpr int RootFixed = 1;
inline constexpr int Guitar = 2;
// Note transposition tables, as the test means them; the writer encodes them for the entry
// format (old channel entries number the first six 0 … 5, Bass being 3; newer ones number
// the minor family on and mark a bass table by bit 7 of a melody table).
enum Table : int {
    Bypass,
    Melody,
    Chord,
    Bass,
    MelodicMinor,
    MelodicMinor5th,
    HarmonicMinor,
    HarmonicMinor5th,
    NaturalMinor,
    NaturalMinor5th,
    Dorian,
    Dorian5th,
};
// Retrigger rules.
inline constexpr int Stop = 0;
inline constexpr int PitchShift = 1;
inline constexpr int PitchShiftToRoot = 2;
inline constexpr int Retrigger = 3;
inline constexpr int RetriggerToRoot = 4;
inline constexpr int NoteGenerator = 5;
// Chord kinds of the chord-mute bits and the source chord (bit k = kind k).
inline constexpr int Maj = 0;
inline constexpr int Maj7 = 2;
inline constexpr int Minor = 8;
inline constexpr int Minor7 = 10;
inline constexpr int Seventh = 19;
inline constexpr int Cancel = 34;
inline constexpr std::uint64_t AllChords = (std::uint64_t{1} << 35) - 1;
inline constexpr std::uint64_t Kind(int kind) { return std::uint64_t{1} << kind; }
}  // namespace casm

// One source channel's entry of the channel table.
struct CasmEntry {
    int Source = 0;
    std::string Voice = "Voice";          // up to 8 characters, padded with blanks
    int Destination = -1;                 // −1: the source channel itself
    bool Editable = true;
    std::uint16_t NoteMute = 0x0FFF;      // bit n set: pitch class n (C = 0) sounds
    std::uint64_t ChordMute = casm::AllChords;
    int SourceRoot = 0;                   // pitch class of the chord the phrase is written over
    int SourceKind = casm::Maj7;
    int Ntr = casm::RootTrans;
    casm::Table Table = casm::Melody;
    int HighKey = 7;                      // pitch class
    int NoteLow = 0;
    int NoteHigh = 127;
    int Rtr = casm::PitchShift;
    // Bytes written as they stand after the fields above (a longer entry, or wild values).
    std::vector<std::uint8_t> Extra{};
    // Writes this NTT byte instead of encoding `Table` (for values out of range).
    int RawNtt = -1;
};

class KeyboardStyleWriter;

class SectionWriter {
public:
    // A note-on at `at` and its note-off `length` ticks later.
    SectionWriter& Note(int channel, int key, int velocity, int at, int length);
    SectionWriter& Controller(int channel, int controller, int value, int at);
    SectionWriter& Program(int channel, int program, int at);
    // Bank select MSB and LSB, then the program.
    SectionWriter& Voice(int channel, int msb, int lsb, int program, int at = 0);
    // A system-exclusive message: `data` is what follows 0xF0 (the closing 0xF7 included).
    SectionWriter& SysEx(std::vector<std::uint8_t> data, int at = 0);
    // Bytes of the track written verbatim after a delta time (an undefined status byte …).
    SectionWriter& Raw(std::vector<std::uint8_t> bytes, int at);

    const std::string& Name() const { return name_; }
    int Quarters() const { return quarters_; }

private:
    friend class KeyboardStyleWriter;
    struct Item {
        int At = 0;
        int Order = 0;
        std::vector<std::uint8_t> Bytes;   // the event without its delta time
    };
    SectionWriter(std::string name, int quarters) : name_(std::move(name)), quarters_(quarters) {}
    SectionWriter& Add(int at, std::vector<std::uint8_t> bytes);

    std::string name_;
    int quarters_;
    std::vector<Item> items_;
};

class CasmGroupWriter {
public:
    CasmGroupWriter& Entry(CasmEntry entry);
    // A block of any tag and content inside the group (for damaged or unknown blocks).
    CasmGroupWriter& Block(std::string tag, std::vector<std::uint8_t> content);

private:
    friend class KeyboardStyleWriter;
    explicit CasmGroupWriter(std::vector<std::string> sections) : sections_(std::move(sections)) {}
    std::vector<std::string> sections_;
    struct Piece {
        bool IsEntry = true;
        CasmEntry Entry;
        std::string Tag;
        std::vector<std::uint8_t> Content;
    };
    std::vector<Piece> pieces_;
};

enum class CasmFormat { Ctab, Ctb2 };

class KeyboardStyleWriter {
public:
    KeyboardStyleWriter();

    // Beats per bar; `denominator` 4 or 8 (time signature meta event at the start).
    KeyboardStyleWriter& Meter(int numerator, int denominator = 4);
    KeyboardStyleWriter& Division(int ticksPerQuarter);     // default 1920
    KeyboardStyleWriter& Tempo(int bpm);                     // default 120
    // Quarter notes of the set-up section before the first section (default one bar).
    KeyboardStyleWriter& SetupBeats(int quarters);
    // The first marker's text: "SFF1" (default) or "SFF2".
    KeyboardStyleWriter& Signature(std::string text);

    // Set-up messages at the start (inside "SInt").
    KeyboardStyleWriter& Voice(int channel, int msb, int lsb, int program);
    KeyboardStyleWriter& Volume(int channel, int value);
    KeyboardStyleWriter& Controller(int channel, int controller, int value);
    KeyboardStyleWriter& SysEx(std::vector<std::uint8_t> data);

    // A section of `quarters` quarter notes, after the ones named before; its marker opens it.
    SectionWriter& Section(const std::string& marker, int quarters);

    // The channel table: without any group the file has no CASM chunk.
    CasmGroupWriter& Group(std::vector<std::string> sections);
    KeyboardStyleWriter& Format(CasmFormat format);

    // Damage: the file ends after `size` bytes; a byte replaced.
    KeyboardStyleWriter& CutAt(std::size_t size);
    KeyboardStyleWriter& Poke(std::size_t offset, std::uint8_t value);

    std::vector<std::uint8_t> Bytes() const;
    bool Write(const std::string& path) const;

    // Where things lie in the undamaged file: the offset of a section marker's meta event
    // (0xFF 0x06), of the CASM chunk; the section's start in quarter notes from the file's start.
    std::size_t MarkerOffset(const std::string& marker) const;
    std::size_t CasmOffset() const;
    int SectionStartQuarters(const std::string& marker) const;
    int QuartersPerBar() const { return denominator_ == 8 ? numerator_ / 2 : numerator_; }

private:
    std::vector<std::uint8_t> Track(std::vector<std::pair<std::string, std::size_t>>* markers) const;
    std::vector<std::uint8_t> Casm() const;
    std::vector<std::uint8_t> Whole(std::vector<std::pair<std::string, std::size_t>>* markers) const;

    int numerator_ = 4;
    int denominator_ = 4;
    int division_ = 1920;
    int tempo_ = 120;
    int setupQuarters_ = -1;
    std::string signature_ = "SFF1";
    SectionWriter setup_{"SInt", 0};
    std::deque<SectionWriter> sections_;
    std::deque<CasmGroupWriter> groups_;
    CasmFormat format_ = CasmFormat::Ctab;
    std::size_t cut_ = SIZE_MAX;
    std::vector<std::pair<std::size_t, std::uint8_t>> pokes_;
};

// A whole style as makers write them, for tests that need a realistic file: the set-up
// section of `setupQuarters` quarter notes, Main A … D, Fill In AA … DD and BA, Intro A,
// Ending A; drums on channels 9 and 10, a bass on 11 (bass table), a piano on 12 with an
// E-G-B voicing over CMaj7 (chord table), pads on 14 and a phrase on 16 (melody table); one
// channel table group for the main sections and fills, one for the intro and ending.
// With `ChordVariants`, phrases that makers write for other chords than major: a piano over
// Cm7 on channel 3 (E♭-G-B♭, plays under m and m7 only) and a crash on channel 0 that plays
// only when no chord is held.
struct SampleStyleShape {
    int Numerator = 4;
    int Denominator = 4;
    int SetupQuarters = -1;       // −1: one bar
    int Division = 1920;
    // The bass voice: bank select MSB and program (a maker's own bank when MSB ≠ 0).
    int BassBank = 0;
    int BassProgram = 33;         // Fingered Bass
    int BassSource = 10;          // the source channel the bass is written on
    int BassDestination = 10;
    bool WithChannelTable = true;
    bool ChordVariants = false;
    CasmFormat Format = CasmFormat::Ctab;
};
KeyboardStyleWriter SampleKeyboardStyle(const SampleStyleShape& shape = {});

}  // namespace chordella::testing
