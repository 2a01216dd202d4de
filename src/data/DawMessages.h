#pragma once
// The two audio-workstation messages of section MIDICOM and the program named in section
// DAWC of the settings file. They are read once at start-up and never written back.

#include <array>
#include <cstdint>
#include <string>

namespace chordella::platform {
class IniFile;
}

namespace chordella::data {

struct DawMessage {
    bool Enabled = false;     // "Active"
    int Command = 0;          // "Key": the MIDI command (0 … 9) the message belongs to
    int Kind = 0;             // "Type": 0 control change, 1 note-on, 2 program change,
                              // 3 toggled control change, 4 toggled note
    int Channel = 0;          // "Channel": 1 … 16 in the file, 0 … 15 here
    std::uint8_t Value = 0;   // "Value": controller, note or program
    std::uint8_t OnData = 0;  // "Data1"
    std::uint8_t OffData = 0; // "Data2": a toggled control change's data while the toggle is off
};

struct DawSettings {
    std::array<DawMessage, 2> Messages;
    std::string Program;  // section DAWC, "DAW"
    std::string Window;   // section DAWC, "Window"
};

// Reads sections MIDICOM and DAWC. Every number is brought into its range, so what the
// file holds can never become a wild MIDI byte.
DawSettings ReadDawSettings(const platform::IniFile& ini);

}  // namespace chordella::data
