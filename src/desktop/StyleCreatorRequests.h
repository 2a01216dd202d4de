#pragma once
// What the "Style-Creator & Chord-Generator" window asks of the core, and what it shows.
// Plain values: they cross from the GUI thread to the control thread and back.

#include <array>
#include <string>

#include "stylecreator/CreatorPlayback.h"
#include "stylecreator/CreatorRecording.h"
#include "stylecreator/CreatorState.h"
#include "stylecreator/EventEditor.h"
#include "stylecreator/QuickStyle.h"

namespace chordella::desktop {

struct CreatorRequest {
    enum Kind {
        Refresh,
        // Settings: the window's boxes as they are now.
        Settings,
        // Material and conversion.
        ImportMidi, RecordStart, RecordStop, Capture, LoadWork, SaveWork, LoadStyle, SaveStyle, TestStyle,
        GenerateChords, ConvertAll, ConvertMeasures, RestoreOriginal,
        ShiftNotes, MoveChannel,
        // Parts.
        SetPart, ClearPart, QuickStyle, UseStructure, PartAtPosition, Repair, RemovePercussion,
        MeasureMark, LoopBack, LoopForward, Play, Stop,
        // Style mode: the loop starts / ends at the measure playing ("Start with ..." / "Stop at ...").
        LoopStart, LoopEnd,
        // Per-part channel flags and the style header's flag (Value: 1 on, 0 off).
        CutNotes, CutNotesToAll, MutingToAll, SuppressControllers,
        // The popup's import options: Value 1 "Don't get metrum from file", 2 "Convert x/8 -
        // Base: 1/8"; Value2 1 on, 0 off.
        ImportOption,
        // The menu item that opens "Style.src" in the text editor: the file is made when missing.
        EditStructure,
        // The main window's "Style-&Mode" / "Song-&Mode": the other mode; the window's boxes stay.
        ToggleMode,
        // The event editor.
        EventsOpen, EventsNext, EventsPrevious, EventsSound, EventsRelease, EventsChange, EventsClear,
        EventsUndo, EventsVelocity,
    };
    Kind What = Refresh;

    // Settings.
    stylecreator::GeneratorSettings Generator;
    stylecreator::ConversionSettings Conversion;
    stylecreator::CreatorMode Mode = stylecreator::CreatorMode::Song;
    stylecreator::MeasureRange SongRange;
    stylecreator::MeasureRange StyleRange;
    int LoopMeasures = 4;
    bool MultiplyBy2 = false;
    int SelectedPart = 1;

    // Commands.
    int Part = 1;                     // SetPart, ClearPart
    int StartMeasure = 1;
    int EndMeasure = 0;
    int StartBeat = 1;
    int Value = 0;                    // ShiftNotes: semitones; Repair: 1 = Var 1 → Var 2; velocity; key index
    int Value2 = 0;                   // MoveChannel: target; EventsChange: octave
    bool StyleB = false;              // UseStructure
    stylecreator::Modifiers Keys;     // QuickStyle, RestoreOriginal
    stylecreator::PartMenuItem MenuItem = stylecreator::PartMenuItem::Basic;
    stylecreator::CapturePanel Panel; // Capture
    std::string Path;                 // files: empty = the dialog
};

struct CreatorPartView {
    bool Present = false;
    int StartMeasure = 0;
    int EndMeasure = 0;
    int StartBeat = 1;
    bool Variation = false;
};

struct CreatorView {
    std::string Caption;
    bool HasWork = false;
    int MeasuresAvailable = 0;
    bool Recording = false;
    bool Playing = false;
    bool RestoreEnabled = false;
    bool ChordsGenerated = false;
    bool CutNotes = false;            // the quick style's global cut-notes state
    bool PartCutNotes = false;        // "  Cut Notes ..." of the selected part
    bool SuppressControllers = false; // " Suppress all Style Controllers"
    bool DontGetMetrum = false;       // "Don't get metrum from file"
    bool EighthBase = false;          // "Convert x/8 - Base: 1/8"
    stylecreator::CreatorMode Mode = stylecreator::CreatorMode::Song;
    stylecreator::GeneratorSettings Generator;
    stylecreator::ConversionSettings Conversion;
    stylecreator::MeasureRange SongRange;
    stylecreator::MeasureRange StyleRange;
    int LoopMeasures = 4;
    bool MultiplyBy2 = false;
    int SelectedPart = 1;
    std::array<CreatorPartView, data::PartCount> Parts{};
    std::string MeasureBeat = "1:1";
    stylecreator::EventNote Event;
    std::string Status;               // the last command's outcome, for the status line
    std::string StructurePath;        // after EditStructure: the file to open in a text editor
};

}  // namespace chordella::desktop
