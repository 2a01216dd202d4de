#pragma once
// `chordella create MATERIAL.mid|WORK.vxw -o STYLE.vxs`: the style creator, headless. The
// material is imported (or the work file loaded), chords are generated, the material is
// converted to C major (a work file that holds chords keeps them unless generator settings
// are given), parts are set (quick style, the structure file or explicit ranges)
// and the style is saved. Returns the exit code (0 success, 1 with a one-line "file: reason"
// on `err`, 2 for a value the command does not know).

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace chordella::cli {

struct CreateCommandFlags {
    std::string input;                  // MATERIAL.mid (or .kar, .sty, …) or WORK.vxw
    std::string output;                 // STYLE.vxs
    bool quick = false;                 // --quick: "Quick S." on the first loop
    std::string structure;              // --structure A|B: "Use data for Style A" / "B" from "Style.src"
    std::vector<std::string> parts;     // --part NAME=FIRST-LAST (several)
    std::string interval = "1/4";       // --interval: "Change Chord per Measure ..."
    int chordSet = 4;                   // --chord-set 1-4: "Mode ..."
    int sensitivity = 4;                // --sensitivity 1-4: "Sensitivity ..."
    // True when --interval, --chord-set or --sensitivity was given: a work file's chords are
    // then generated again. Without them a work file keeps the chords it holds.
    bool newChords = false;
    int mode = 5;                       // --mode 0-6: "Convertmode ..."
    std::string work;                   // --work OUT.vxw: the work as well
    bool force = false;                 // --force: replace files of another kind
    std::optional<std::string> home;    // --home
};

int RunCreateCommand(const CreateCommandFlags& flags, std::FILE* out, std::FILE* err);

// The interval texts "1/4" … "2/1" as beats 1 … 8; 0 for any other text.
int IntervalBeats(const std::string& text);
// A part's name as the command line takes it ("basic", "Fill in Basic", "fill-basic", …);
// −1 when no part has that name.
int PartIndexOf(const std::string& name);

}  // namespace chordella::cli
