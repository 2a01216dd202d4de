#pragma once
// What the "MIDI Commands" and "MIDI Controls" windows ask of the core, and the copy of the
// remote control's state they show. Every request is answered with a fresh view; a message
// to show comes with it.

#include <array>
#include <string>
#include <vector>

#include "remote/MidiCommandTable.h"
#include "remote/MidiCommands.h"

namespace chordella::desktop {

enum class RemoteAction {
    Read,            // only the view
    SendCommand,     // "Send" of row Index
    SetValues,       // "Set values": Table, or with Ctrl / Shift / Alt a remote switch
    LoadFile,        // "Load config.": the command file Text
    SaveFile,        // "Save config.": the command file Text
    SetActivated,    // "Activated" On
    SetBankChanges,  // "Allowing bank changes when switching programs" On
    SetPort,         // the port list: the output Text ("<None>" or empty: no port)
    Learn,           // "Learn" beside Function: the next message on the second input binds it
    CancelLearn,
    Forget,          // the bindings of Function are removed (and saved)
};

struct RemoteRequest {
    RemoteRequest() = default;
    RemoteRequest(RemoteAction action) : Action(action) {}  // NOLINT: {Action} reads as the request
    RemoteAction Action = RemoteAction::Read;
    int Index = 0;
    int Function = 0;
    remote::MidiCommandTable Table;
    bool Ctrl = false;
    bool Shift = false;
    bool Alt = false;
    bool On = false;
    std::string Text;
};

// One function of the "MIDI Controls" window's learn list.
struct RemoteBindingLine {
    int Function = 0;
    std::string Name;      // "Start/Stop", "MIDI command num.Key 3", "Next section" …
    std::string Messages;  // the bound messages, "; " between; empty when none
};

inline constexpr const char* NoCommandPort = "<None>";

struct RemoteView {
    std::string Caption;  // "MIDI Commands" or "MIDI Commands - " + the command file's name
    remote::MidiCommandTable Table;
    bool Activated = true;
    bool AllowBankChanges = false;
    bool RemoteDownReturn = false;
    bool RemotePan = false;
    bool RemoteFirstPreset = false;
    std::vector<std::string> Ports;  // NoCommandPort first, then the outputs
    int Port = 0;                    // the entry of Ports that is open
    std::array<bool, remote::IndicatorCount> Indicators{};  // true: greyed
    std::vector<RemoteBindingLine> Bindings;
    int Learning = -1;    // the function waiting for its message, or -1
    std::string Message;  // to show after the request; empty: nothing to say
};

}  // namespace chordella::desktop
