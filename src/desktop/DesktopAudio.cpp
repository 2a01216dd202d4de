// The built-in synth's settings in the desktop core: applied at start-up before the ports
// open, and whenever the options window changes them. Volume, reverb and chorus apply at
// once; a change that reopens the audio driver or reloads the SoundFont waits while the
// music plays (the player is told) and applies when it stops.
#include "desktop/DesktopAudio.h"

#include <chrono>

#include "app/AppState.h"
#include "app/AudioOptions.h"
#include "core/Session.h"
#include "desktop/DesktopCore.h"
#include "midi/MidiBackend.h"
#include "midi/SynthAudio.h"
#include "platform/Prompter.h"

namespace chordella::desktop {

namespace {

constexpr auto PendingCheck = std::chrono::milliseconds(250);

}  // namespace

AudioChoices ListAudioChoices(midi::MidiBackend& backend) {
    AudioChoices choices;
    choices.SoundFonts = midi::ListSoundFonts();
    choices.AlsaDevices = midi::AudioDevices(midi::AudioDriver::Alsa);
    choices.JackRuns = midi::JackServerAnswers();
    choices.InUse = backend.SynthInUse();
    return choices;
}

AudioChoices DesktopCore::ListAudio() { return ListAudioChoices(session_.MidiBackend()); }

void DesktopCore::ApplyAudioOptions(const core::Options& before) {
    const midi::AudioSettings was = app::AudioSettingsOf(before);
    const midi::AudioSettings now = app::AudioSettingsOf(app_.options);
    if (was == now && !pendingAudio_) return;
    if (Running() && midi::NeedsReopen(was, now)) {
        // The levels at once; the rest when the music stops.
        midi::AudioSettings levels = was;
        levels.Volume = now.Volume;
        levels.Reverb = now.Reverb;
        levels.ReverbLevel = now.ReverbLevel;
        levels.Chorus = now.Chorus;
        levels.ChorusLevel = now.ChorusLevel;
        session_.MidiBackend().ApplyAudioSettings(levels);
        if (!pendingAudio_) session_.Display().ShowStatus(std::string(AudioAfterStopText));
        pendingAudio_ = true;
        if (pendingAudioTimer_ == 0)
            pendingAudioTimer_ = session_.Loop().StartTimer(PendingCheck, true, [this] {
                if (!Running()) ApplyAudioNow();
            });
        return;
    }
    ApplyAudioNow();
}

void DesktopCore::ApplyAudioNow() {
    if (pendingAudioTimer_ != 0) session_.Loop().StopTimer(pendingAudioTimer_);
    pendingAudioTimer_ = 0;
    pendingAudio_ = false;
    const midi::AudioSettings wanted = app::AudioSettingsOf(app_.options);
    const std::string why = session_.MidiBackend().ApplyAudioSettings(wanted);
    if (why.empty()) {
        appliedAudio_ = wanted;
        return;
    }
    // The synth plays on as it did, and the options say so.
    app::StoreAudioSettings(appliedAudio_, app_.options);
    session_.Prompter().Inform(why + " !");
}

void DesktopCore::ApplyStartupAudio() {
    appliedAudio_ = app::AudioSettingsOf(app_.options);
    std::string why = session_.MidiBackend().ApplyAudioSettings(appliedAudio_);
    if (why.empty()) return;
    // A SoundFont removed since the last run: the best one installed plays instead.
    appliedAudio_.SoundFont.clear();
    session_.MidiBackend().ApplyAudioSettings(appliedAudio_);
    app::StoreAudioSettings(appliedAudio_, app_.options);
    session_.Prompter().Inform(why + "; the synth plays with the best SoundFont installed !");
}

}  // namespace chordella::desktop
