#pragma once
// Learned bindings: a message of the second input (a note, a controller or a program change)
// bound to a remote function (RemoteFunctions.h). A pressed note (velocity above 0), a
// controller rising to 64 or more (a pedal pressed) and a program change call the function;
// the release of a bound note or controller is taken too, so it does not pass on.
//
// Without a file of its own the foot-switch defaults hold: sustain (64), sostenuto (66) and
// soft pedal (67) on any channel call Start/Stop, next section and next song.
//
// Stored in "MIDIControls.txt" beside the settings, one binding a line:
// "<function> <note|cc|program> <channel 1 … 16, or 0 for any> <number>".
//
// Control thread only.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace chordella::remote {

inline constexpr std::string_view BindingsFileName = "MIDIControls.txt";

enum class BindingKind { Note, Controller, Program };

struct Binding {
    BindingKind Kind = BindingKind::Controller;
    int Channel = -1;  // 0 … 15, or -1 for any channel
    int Number = 0;    // note, controller or program
    int Function = 0;

    bool SameMessage(const Binding& other) const;
    bool operator==(const Binding&) const = default;
};

// A message seen by the bindings: whether a binding took it, and the function to call.
struct BindingMatch {
    bool Consumed = false;
    std::optional<int> Function;
};

class RemoteBindings {
public:
    static RemoteBindings FootSwitchDefaults();

    const std::vector<Binding>& List() const { return list_; }
    // Binds: a binding of the same message is replaced.
    void Bind(const Binding& binding);
    void Clear() {
        list_.clear();
        pressed_.clear();
    }
    // Removes every binding of `function`; answers how many there were.
    int Forget(int function);

    // The message `status data1 data2`.
    BindingMatch Match(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

    std::string Text() const;
    // Reads the text of a bindings file. Nullopt with "line n: …" for a damaged line.
    static std::optional<RemoteBindings> Parse(std::string_view text, std::string* error = nullptr);

private:
    std::vector<Binding> list_;
    std::vector<bool> pressed_;  // per binding: its controller is held at 64 or more
};

// A message as a binding of `function`: a note-on with velocity above 0, a controller with
// a value above 0 or a program change. Nullopt for anything else (releases, clock …).
std::optional<Binding> LearnableMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, int function);

// "Controller 64 on channel 1", "Note 36 on any channel", "Program 5 on channel 10".
std::string DescribeBinding(const Binding& binding);

}  // namespace chordella::remote
