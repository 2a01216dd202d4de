#pragma once
// The MIDI import of the style creator's window with the live program around it: a chord
// recording stops, the style starts empty, the clock takes the file's tempo and meter, the
// count-in goes off for MIDI files, the style header learns the channels used and the
// melody is cleared. Control thread.

#include "data/MidiImportLink.h"

namespace chordella::core { class Session; }

namespace chordella::app {
struct AppState;
class LiveArranger;
}  // namespace chordella::app

namespace chordella::desktop {

class CreatorImportHooks final : public data::DataOnlyImportLink {
public:
    CreatorImportHooks(core::Session& session, app::AppState& app, app::LiveArranger& arranger)
        : session_(session), app_(app), arranger_(arranger) {}

    void StopRecording() override;
    void ResetStyle() override;
    int MeasureUnits() override;
    void SwitchOffCountIn() override;
    void SetTempo(int bpm) override;
    void SetMeter(const std::string& meter) override;
    void MarkChannelsUsed(const std::array<std::uint8_t, 16>& used) override;
    void ClearMelody() override;
    void SelectFreeChannel(int channel) override;
    void QuarterNoteMeter() override;
    void ShowProgress(const std::string& status, std::size_t done, std::size_t total) override;

private:
    core::Session& session_;
    app::AppState& app_;
    app::LiveArranger& arranger_;
};

}  // namespace chordella::desktop
