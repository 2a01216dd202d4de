#pragma once
// The computer keyboard as an instrument: what each key means (a chord type, a note) and
// where it plays (its zone), indexed by the Windows-style virtual-key code the window hands
// over (letters and digits are their ASCII capitals, punctuation 0xBA … 0xE2).

#include <array>
#include <string_view>
#include <cstdint>

namespace chordella::chords {

// Values 1 … 19 choose a chord type (a slot of the slot map); 20 and more are MIDI notes;
// 0 is no key of ours.
inline constexpr int FirstNoteValue = 20;
inline constexpr int LastTypeValue = 19;

// Where a key plays.
enum class KeyZoneKind : std::uint8_t {
    ChordOrMelody = 0,  // a chord key with the accompaniment on, else a melody key
    MelodyUp = 1,       // always melody, one octave higher
    MelodyUpToo = 2,    // the same as 1 (the row's outer keys)
    SplitMelody = 3,    // like 0; in split mode always a melody key of split zone 2
    Never = 10,         // never a chord or type key
};

struct ComputerKeyTables {
    std::array<std::uint8_t, 256> Value{};
    std::array<KeyZoneKind, 256> Zone{};
};

// The tables of the US layout.
const ComputerKeyTables& KeyTables();
inline int KeyValue(int virtualKey) {
    return virtualKey >= 0 && virtualKey <= 255 ? KeyTables().Value[static_cast<std::size_t>(virtualKey)] : 0;
}
inline KeyZoneKind KeyZone(int virtualKey) {
    return virtualKey >= 0 && virtualKey <= 255 ? KeyTables().Zone[static_cast<std::size_t>(virtualKey)]
                                                : KeyZoneKind::ChordOrMelody;
}

// The keyboard layout list (the options' ComputerKeyboardLayout): the tables above are laid
// out for the key codes of the German keyboard; every other entry names the codes its keys
// give and moves each to the German code of the key in the same place, so that a key plays
// the same note wherever the letters printed on it differ. The second entry (English (USA))
// exchanges Y and Z and the punctuation keys that lie elsewhere on that layout.
inline constexpr int GermanLayout = 0;
inline constexpr int SwappedLayout = 1;  // English (USA)
inline constexpr int FrenchLayout = 2;   // AZERTY
inline constexpr int UkLayout = 3;       // English (UK)
inline constexpr std::array<std::string_view, 4> LayoutNames{"German", "English (USA)", "French", "English (UK)"};

// The code the tables are read with under `layout`; codes outside 0 … 255, and every code
// under an unknown layout, come back unchanged.
int KeyLayoutMap(int virtualKey, int layout);

// The layout list's entry that matches a system keyboard layout (an XKB name such as "de",
// "fr" or "gb", or a locale's territory): German for the QWERTZ layouts of Central Europe,
// French for the AZERTY layouts of France and Belgium, English (UK) for the British and
// Irish layouts, English (USA) for every other layout and for an unknown one.
int LayoutIndexForSystem(std::string_view xkbLayout);

}  // namespace chordella::chords
