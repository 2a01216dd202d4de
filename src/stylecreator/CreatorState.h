#pragma once
// The style creator's settings and modes: what its window shows in its boxes and menus, plus
// the creator's own buffers (the copy of the unconverted material and the scratch buffer).
// The material itself, the style and the chord memory live in the session's style and the program's state.
// Everything here is touched on the control thread only.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/StyleModel.h"
#include "stylecreator/VolumeNormalisation.h"

namespace chordella::stylecreator {

// "Change Chord per Measure ...": "1/4" … "2/1" are 1 … 8 beats.
inline constexpr int MinChordInterval = 1;
inline constexpr int MaxChordInterval = 8;
// "Mode ...": "1 Major", "2 Simple", "3 Normal", "4 Special".
inline constexpr int ChordSetCount = 4;
// "Sensitivity ...": "1 Low", "2 Middle", "3 High", "4 Extreme".
inline constexpr int SensitivityCount = 4;
// "Convertmode ...": "0  None N.C." … "6  All notes to C maj".
inline constexpr int ConvertModeCount = 7;
inline constexpr int MeasureMarkSlots = 10;
// The "Stop at ..." measure: 0 is the end of the material, at most this.
inline constexpr int MaxStopMeasure = 999;
// No settings code stored yet (chords were never generated).
inline constexpr int NoSettingsCode = -1;

struct GeneratorSettings {
    int IntervalBeats = 1;   // "Change Chord per Measure ..." (default "1/4")
    int ChordSet = 4;        // "Mode ..." (default "4 Special")
    int Sensitivity = 4;     // "Sensitivity ..." (default "4 Extreme")

    // interval index + 10·chord-set index + 100·sensitivity index (indexes from 0).
    int SettingsCode() const;
    // The highest chord type tried: 1, 4, 10 or 17.
    int HighestChordType() const;
    // The recogniser's divisor: 1, 2, 4 or 500.
    int SensitivityDivisor() const;
    // Values out of range are brought into range.
    void Clamp();
};

enum class ConvertMode : int {
    NoneNC = 0,          // "0  None N.C."
    ChordKeys = 1,       // "1  Chordkeys"
    ChordTypes = 2,      // "2  Chordtypes"
    ChordNotes = 3,      // "3  Chordnotes"
    ImproperNotes = 4,   // "4  Improper notes"
    AllNotes = 5,        // "5  All notes"
    AllNotesToC = 6,     // "6  All notes to C maj"
};

struct ConversionSettings {
    ConvertMode Mode = ConvertMode::AllNotes;  // "Convertmode ..."
    bool Adjust = true;                        // "Adjust ...": voices keep their octave
    bool Stylemode = false;                    // "Stylemode": every chord is taken as major
    bool Confirm = true;                       // "Confirm": ask before chords are generated again
};

// Song mode plays the whole material from "Start with ..." to "Stop at ..."; Style mode loops
// the selected part's range. Checking one check box unchecks the other.
enum class CreatorMode { Song, Style };

// A "Start with ..." measure and beat and a "Stop at ..." measure (0 = to the end).
struct MeasureRange {
    int StartMeasure = 1;
    int StartBeat = 1;
    int StopMeasure = 0;
};

struct CreatorState {
    GeneratorSettings Generator;
    ConversionSettings Conversion;
    // The settings code of the last generation (NoSettingsCode before the first).
    int StoredSettingsCode = NoSettingsCode;
    // The chord memory holds chords the generator wrote.
    bool ChordsGenerated = false;

    CreatorMode Mode = CreatorMode::Song;
    MeasureRange SongRange;    // the Song-mode fields
    // The Style-mode fields: the selected part's "Start with ..." measure and beat and "Stop at ..."
    // measure. "Set", "Convert measures to Style", the event editor and the measure marks use them.
    MeasureRange StyleRange;

    // "&Loop": 1 … 8 measures, doubled by "Multiply by 2".
    int LoopMeasures = 4;
    bool MultiplyBy2 = false;
    int LoopLength() const { return LoopMeasures * (MultiplyBy2 ? 2 : 1); }

    int SelectedPart = data::Index(data::StylePart::Basic);

    // The material in chunk 0 was converted; the unconverted copy is in StyleBackup.
    bool ConvertedFlag = false;
    // "Restore Original" is enabled (after the first conversion).
    bool RestoreEnabled = false;
    // chunk 0 as it was before the first conversion, and the buffer chunk 0 waits in while
    // chords are generated from that copy. Made on first use (WorkChunkCapacity bytes each).
    std::vector<std::uint8_t> StyleBackup;
    std::vector<std::uint8_t> Scratch;
    std::int32_t BackupSize = 0;    // bytes of material in StyleBackup

    // The MIDI or style file imported last ("Restore Original" with Ctrl imports it again).
    std::string LastImportedFile;
    // The style file saved last (the test buttons load it).
    std::string LastSavedStyle;

    // The volume tools' state of the style being shaped: the saved volumes and the style-wide
    // volume and reverb offsets (clearing the work sets the offsets back to 0).
    NormalisationState Volumes;

    // Measure marks: ten slots (0 = empty) and the slot pointer (0 after a mode switch).
    std::array<int, MeasureMarkSlots> MeasureMarks{};
    int MarkPointer = 0;
};

}  // namespace chordella::stylecreator
