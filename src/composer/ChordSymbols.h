#pragma once
// Chord symbols as musicians write them ("F#m7", "Bb", "C7sus4", "Dm7b5") and as other
// programs store them: reading a typed or charted symbol into the program's root and
// chord type, and writing the program's seventeen types in each chart format's spelling.
// Types the table does not know (18 … 34) are written as major chords. Any thread.

#include <string>
#include <string_view>

namespace chordella::composer {

struct SymbolReading {
    bool Ok = false;
    int Root = 0;          // pitch class, C = 0
    int Type = 1;          // 1 … 17
    std::string Warning;   // an unknown quality kept as the nearest type, a bass note left out
    std::string Error;     // why the text is no chord at all
};

struct SymbolOptions {
    // German note names: H is B natural and B is B flat.
    bool GermanNames = false;
};

// Reads "F#m7", "Bb", "C7sus4", "Eb maj", "D min7" (the program's own names), "C-7",
// "F^7", "Bh7" (iReal qualities). A quality nobody spells so becomes the nearest type with
// a warning; a text that does not start with a note name is an error.
SymbolReading ReadChordSymbol(std::string_view text, const SymbolOptions& options = {});

enum class SymbolStyle { Plain, IReal };

// The quality after the root: "m7", "maj7", "" … (Plain: ChordPro and the chart texts),
// "-7", "^7", "" … (IReal).
std::string_view QualitySymbol(int type, SymbolStyle style);

// Root name in the spelling of the chart: flats or sharps.
std::string_view RootName(int pitchClass, bool sharps);

// The whole symbol: RootName + QualitySymbol.
std::string ChordSymbol(int pitchClass, int type, bool sharps, SymbolStyle style = SymbolStyle::Plain);

// How MusicXML names a type: its <kind> value, its text attribute, and an optional degree
// (value, alter, "add"/"alter"); DegreeValue 0 means none.
struct XmlChordKind {
    std::string_view Kind;
    std::string_view Text;
    int DegreeValue = 0;
    int DegreeAlter = 0;
    std::string_view DegreeType;
};
const XmlChordKind& MusicXmlKind(int type);

// True when the key of this pitch class is written with sharps (major or minor key).
bool KeyUsesSharps(int pitchClass, bool minor);

}  // namespace chordella::composer
