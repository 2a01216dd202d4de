#pragma once
// A CoreLink that records what the widgets asked for, as readable lines ("PadDown A00 S"),
// and answers the option and port requests from fields a test sets.

#include <functional>
#include <string>
#include <vector>

#include "ui/CoreLink.h"

namespace chordella::testing {

class RecordingCoreLink : public ui::CoreLink {
public:
    std::vector<std::string> Calls;
    core::Options StoredOptions;
    std::vector<core::Options> Applied;
    ui::PortLists Ports;
    desktop::AudioChoices Audio;
    app::DisplaySnapshot Shown;
    std::vector<desktop::SonglistRequest> SonglistRequests;
    desktop::SonglistView ShownSonglist;
    std::vector<desktop::StyleManagerRequest> StyleManagerRequests;
    desktop::StyleManagerView ShownStyleManager;
    // What the core does when a mode is chosen (the test sets the switches it expects).
    std::function<void(int mode)> OnMode;

    void PadDown(const std::string& pad, ui::Modifiers m) override {
        std::string flags;
        if (m.Shift) flags += 'S';
        if (m.Ctrl) flags += 'C';
        if (m.Alt) flags += 'A';
        if (!m.LeftButton) flags += 'R';
        Log("PadDown " + pad + (flags.empty() ? "" : " " + flags));
    }
    void PadUp(const std::string& pad) override { Log("PadUp " + pad); }
    void ScreenNoteOn(int note, int velocity) override { Log("NoteOn", note, velocity); }
    void ScreenNoteOff(int note, int velocity) override { Log("NoteOff", note, velocity); }
    void KeyDown(int key, bool autoRepeat, ui::Modifiers) override { Log("KeyDown", key, autoRepeat); }
    void KeyUp(int key, ui::Modifiers) override { Log("KeyUp", key); }
    void StartStop() override { Log("StartStop"); }
    void Stop() override { Log("Stop"); }
    void Record() override { Log("Record"); }
    void SectionKeyPressed(int section) override { Log("Section", section); }
    void SetTempo(int bpm) override { Log("Tempo", bpm); }
    void Tap() override { Log("Tap"); }
    void BeginTapTempo() override { Log("BeginTapTempo"); }
    void SetAccompaniment(bool on) override { Log("Accompaniment", on); }
    void SetChannelController(int channel, int controller, int value) override {
        Log("Controller", channel, controller, value);
    }
    void SetChannelMute(int channel, bool muted) override { Log("Mute", channel, muted); }
    void SetSolo(int channel) override { Log("Solo", channel); }
    void ResetControllers() override { Log("ResetControllers"); }
    void ReadOptions(std::function<void(const core::Options&)> done) override { done(StoredOptions); }
    void ApplyOptions(const core::Options& options) override {
        Applied.push_back(options);
        StoredOptions = options;
        Log("ApplyOptions");
    }
    void SetOperatingMode(int mode) override {
        Log("Mode", mode);
        if (OnMode) OnMode(mode);
    }
    void ListPorts(std::function<void(const ui::PortLists&)> done) override { done(Ports); }
    void ListAudio(std::function<void(const desktop::AudioChoices&)> done) override { done(Audio); }
    void OpenStyle(const std::string& path) override { Log("OpenStyle " + path); }
    void OpenSong(const std::string& path) override { Log("OpenSong " + path); }
    void SaveSong(const std::string& path) override { Log("SaveSong " + path); }
    void Songlist(const desktop::SonglistRequest& request) override {
        SonglistRequests.push_back(request);
        Log("Songlist " + std::to_string(static_cast<int>(request.Action)) + " " + std::to_string(request.Index));
    }
    void ReadSonglist(std::function<void(const desktop::SonglistView&)> done) override { done(ShownSonglist); }
    void StyleManager(const desktop::StyleManagerRequest& request) override { StyleManagerRequests.push_back(request); }
    void ReadStyleManager(std::uint64_t, std::function<void(const desktop::StyleManagerView&)> done) override {
        done(ShownStyleManager);
    }
    app::DisplaySnapshot Snapshot() const override { return Shown; }

    // The calls recorded that start with `prefix`.
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const auto& call : Calls)
            if (call.rfind(prefix, 0) == 0) found.push_back(call);
        return found;
    }

private:
    void Log(const std::string& line) { Calls.push_back(line); }
    template <typename... Ints>
    void Log(const std::string& name, Ints... values) {
        std::string line = name;
        ((line += ' ' + std::to_string(static_cast<int>(values))), ...);
        Calls.push_back(line);
    }
};

}  // namespace chordella::testing
