#pragma once
// The instrument window's sets: "1" … "10" (instrument sets), "FX" (the function set for
// MIDI input) and "L-S" (a set text file). Opening a set puts it on the twelve instrument
// keys (the function set: shown there for editing); storing writes the keys' set text to its
// settings key at once, after the question. A key can be given a function of the list, or
// (the mixer's "Store") the voice channel's instrument with its mixer bars.
//
// Control thread only. The questions use the non-waiting form: the request returns at once
// and the view read after the answer shows the set.

#include <functional>
#include <string>
#include <vector>

namespace chordella::app { struct AppState; }
namespace chordella::core { class Session; }
namespace chordella::remote { class RemoteControl; }

namespace chordella::desktop {

inline constexpr int FunctionSetItem = 11;   // "FX"
inline constexpr int TextFileSetItem = 12;   // "L-S"

enum class InstrumentAction {
    Read,
    Open,    // the set Set (1 … 12; L-S reads Path)
    Store,   // the keys into set Set (L-S writes Path)
    Assign,  // key Key (0 … 11) gets function Function (0 … 33)
    StoreFromMixer,  // key Key (0 … 11) gets the voice channel's instrument and its mixer bars
};

struct InstrumentRequest {
    InstrumentAction Action = InstrumentAction::Read;
    int Set = 1;
    std::string Path;
    int Key = 0;
    int Function = 0;
};

struct InstrumentView {
    int Shown = 1;                        // the set the keys show (FunctionSetItem: the function set)
    std::vector<std::string> Keys;        // the twelve keys: instrument or function, "-" when unassigned
    std::vector<std::string> Functions;   // the function list, by function-list entry
};

namespace instrument_text {
inline constexpr const char* FxHint = "Use set FX for functions; available via MIDI input";
}

class InstrumentSetDesk {
public:
    // `store` writes a set text to its settings key (1 … 11); false when it could not.
    InstrumentSetDesk(core::Session& session, app::AppState& app, remote::RemoteControl& remote,
                      std::function<bool(int number, const std::string& text)> store);

    InstrumentView Handle(const InstrumentRequest& request);
    InstrumentView View() const;

private:
    void Open(int set, const std::string& path);
    void Store(int set, const std::string& path);
    void Apply(int set, const std::string& text);
    void StoreFromMixer(int key);

    core::Session& session_;
    app::AppState& app_;
    remote::RemoteControl& remote_;
    std::function<bool(int, const std::string&)> store_;
    int shown_ = 1;
};

// "Instrument-Set No. 3" or "function set for MIDI input".
std::string SetName(int set);

}  // namespace chordella::desktop
