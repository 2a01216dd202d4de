#pragma once
// The channel rules and volume tools of the main window's Style menu, applied to the loaded
// style: on every load (in the order the loader runs them) and when a menu item is chosen.
// The effects outside the style go to the live program: the accompaniment output, the mixer's
// copies of volume and reverb, the mute boxes and the status line.
//
//   LoadedStyleRules rules(session);   // takes part in every style load from now on
//   rules.Handle({StyleRulesRequest::MuteBass});
//
// Control thread only.

#include <string>

#include "data/StyleLoadLink.h"
#include "stylecreator/BassFinding.h"
#include "stylecreator/ChannelRules.h"
#include "stylecreator/VolumeNormalisation.h"

namespace chordella::core { class Session; }

namespace chordella::app {

struct AppState;

struct StyleRulesRequest {
    enum Kind {
        Refresh,
        // Checked items: the request's `On` is the new state.
        BassOnChannel11,    // "Bass on channel 11"
        MuteBass,           // "Mute BASS": the bass channels' mute boxes toggle now
        MuteGuitars,        // "Mute GUITARS"
        Dampen,             // "Dampen GUITARS && STRINGS": guitars and strings lowered now
        SoloOnChannel1,     // "Solo on channel 1"
        NormalizeOnLoad,    // "Normalize Volume"
        ReverbOff,          // "Reverb off"
        ReverbDefined,      // "Reverb defined"
        // Commands.
        NormalizeNow,       // "Normalize volume"
        NormalizeToCreatorTarget,  // the style creator's "Normalize Volume": to its own target
        RestoreVolume,      // "Restore volume"
        VolumeOffset,       // the style volume offset changes by `Amount`
        ReverbOffset,       // the style reverb offset changes by `Amount`
        // The variations set another maker's style is played with (the converter's set list
        // item `Amount`, 0 … 7); a keyboard style that is loaded plays again with it.
        VariationsSet,
    };
    Kind What = Refresh;
    bool On = false;
    int Amount = 0;
};

struct StyleRulesView {
    bool BassOnChannel11 = false;
    bool MuteBass = false;
    bool MuteGuitars = false;
    bool Dampen = false;
    bool SoloOnChannel1 = false;
    bool NormalizeOnLoad = false;
    bool ReverbOff = false;
    bool ReverbDefined = false;
    bool Normalised = false;        // "Restore volume" has something to restore
    std::string VolumeOffsetText;   // "Style Volume Offset : 0"
    std::string ReverbOffsetText;
    int VariationsSet = 0;          // the set list item keyboard styles are played with
};

class LoadedStyleRules final : public data::StyleLoadLink, public stylecreator::ChannelRulesLink {
public:
    // Adds itself to the session's style-load hooks; removes itself when destroyed.
    LoadedStyleRules(core::Session& session, AppState& app);
    ~LoadedStyleRules() override;
    LoadedStyleRules(const LoadedStyleRules&) = delete;
    LoadedStyleRules& operator=(const LoadedStyleRules&) = delete;

    StyleRulesView Handle(const StyleRulesRequest& request);
    StyleRulesView View() const;

    // The rules the menu's checked items ask for, in the loader's order: the bass to channel
    // 11, "Solo on channel 1", the bass and guitar mutes and dampening, the reverb, then
    // normalising to 90. Only used channels change; the style does not count as modified.
    void ApplyOnLoad();

    // The channel the instrument group "Basses" was last redirected to (−1 = never).
    int BassesRedirectedTo() const { return basses_; }
    const stylecreator::NormalisationState& Normalisation() const { return normalisation_; }

    // --- data::StyleLoadLink: the rules' part in loading ---------------------------------
    bool RecordingRuns() override { return false; }
    void ConfirmReplace(bool, std::function<void(bool)> then) override { then(true); }
    void BeforeLoad() override {}
    void ApplyHeader(const data::StyleHeader&, const data::StyleMeterChoice&) override {}
    int MapProgram(int program) override { return program; }
    bool Sc55InstrumentSet() override { return false; }
    bool IntroEnabled() override { return false; }
    void AfterLoad() override { ApplyOnLoad(); }
    void AfterReset() override { normalisation_ = {}; }
    // Style → Open on another maker's file: played by its channel table (else converted).
    bool ConvertForeignStyle(const std::string& path) override;
    // Another maker's style loaded as the style that plays, with the variations set of the
    // options (the converter's set list item): a failure is told, the first note of the load
    // (why it was converted) goes to the status line. True when it was loaded.
    bool OpenForeignStyle(const std::string& path);

    // --- stylecreator::ChannelRulesLink: the live program ----------------------------------
    void SendController(int channel, int controller, int value) override;
    bool IsMuted(int channel) const override;
    void SetMuted(int channel, bool muted) override;
    void SetMixerVolume(int channel, int value) override;
    void SetMixerReverb(int channel, int value) override;
    void ShowStatus(const std::string& text) override;
    void RedirectBasses(int channel) override { basses_ = channel; }

private:
    stylecreator::ChannelNames Names() const;
    stylecreator::NormaliseSettings NormaliseWith(int target) const;

    core::Session& session_;
    AppState& app_;
    stylecreator::NormalisationState normalisation_;
    bool muteBass_ = false;
    bool muteGuitars_ = false;
    int basses_ = -1;
};

}  // namespace chordella::app
