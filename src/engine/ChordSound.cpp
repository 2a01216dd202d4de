#include "engine/ChordSound.h"

#include "core/ChannelReset.h"
#include "engine/ChordChange.h"
#include "engine/Outputs.h"

namespace chordella::engine {

namespace {

int ClampChannel(int channel) { return channel < 0 ? 0 : channel > 15 ? 15 : channel; }

bool InNoteRange(int note) { return note >= 0 && note <= 127; }

bool IsChordNote(int note) { return note > 0 && note <= 127; }

// Note-offs for the chord PlayChordSound left sounding on `channel`, `shift` semitones up.
void EndSoundingChord(midi::MidiOut* out, const EngineState& e, int channel, int shift) noexcept {
    for (const std::int16_t note : e.SoundingChord) {
        if (note > 0 && InNoteRange(note + shift)) Send(out, 0x90 + channel, note + shift, 0);
    }
}

bool SoloLets(const EngineState& e, int channel) {
    if (e.SoloFilter == 0) return true;
    return e.SoloFilter >= 1 && e.SoloFilter <= 16 && channel == e.SoloFilter - 1;
}

}  // namespace

void SendChordCode(midi::MidiOut* out, const core::Options& options, int root, int type) noexcept {
    if (!options.SendChordCodes || type <= 0 || type > 20) return;
    const int pitchClass = ((root % 12) + 12) % 12;
    const int channel = ClampChannel(options.ChordCodeChannel);
    if (type <= 10) {
        Send(out, 0xB0 + channel, 20, (type - 1) * 12 + pitchClass);
    } else {
        Send(out, 0xB0 + channel, 19, (type - 11) * 12 + pitchClass);
    }
}

void TapChord(midi::MidiOut* out, const EngineState& engineState, const ChordNoteArray& notes) noexcept {
    const int velocity = engineState.TriggerVelocity;
    for (std::int16_t note : notes) {
        if (IsChordNote(note)) Send(out, 0x90, note, velocity);
    }
    for (std::int16_t note : notes) {
        if (IsChordNote(note)) Send(out, 0x90, note, 0);
    }
}

void PlayHarmonicPad(midi::MidiOut* out, EngineState& e, const core::Options& options, const ChordNoteArray& notes,
                     int fadeAmount) noexcept {
    const int pad = ClampChannel(options.PadChannel);
    if (notes[0] <= 0) {
        if (options.PadChannelResetAtChordChanges) ResetChannel(out, pad);
        return;
    }
    for (std::int16_t note : e.PadNotes) {
        if (note <= 0 || !InNoteRange(note)) continue;
        Send(out, 0x90 + pad, note, 0);
        if (options.ChordOutputOnChannel1 && InNoteRange(note + 12)) Send(out, 0x90, note + 12, 0);
    }
    if (options.PadChannelResetAtChordChanges) ResetChannel(out, pad);
    if (!SoloLets(e, pad) || e.ChannelMute[static_cast<std::size_t>(pad)] != 0) return;

    int velocity = e.ChannelVolume[static_cast<std::size_t>(pad)];
    if (e.SongStarting != 0 && options.PadMuteAtIntrosAndEndings) velocity = 0;
    velocity -= fadeAmount;
    if (velocity < 0) velocity = 0;
    const int transpose = options.PadOctave * 12;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const int note = notes[i] + transpose;
        e.PadNotes[i] = static_cast<std::int16_t>(notes[i] > 0 && InNoteRange(note) ? note : 0);
        if (e.PadNotes[i] <= 0) continue;
        Send(out, 0x90 + pad, note, velocity);
        if (options.ChordOutputOnChannel1 && options.ChordOutputVolume > 0 && InNoteRange(note + 12)) {
            Send(out, 0x90, note + 12, options.ChordOutputVolume);
        }
    }
}

void PlayChordSound(midi::MidiOut* out, EngineState& e, const ClockState& clockState, const ChordNoteArray& notes) noexcept {
    const int channel = ClampChannel(e.VoiceChannel);
    const int shift = 12 * e.KeyboardOctave;
    const bool clockRuns = clockState.ClockState != 0;
    const bool sounding = e.SoundingChord[0] > 0;
    if (sounding && (clockRuns || e.SoundingChord[0] != notes[0])) EndSoundingChord(out, e, channel, shift);
    if (clockRuns) e.TriggerVelocity = e.VoiceVolume;
    e.SoundingChord = notes;
    if (notes[0] <= 0) return;
    for (std::int16_t note : notes) {
        if (note > 0 && InNoteRange(note + shift)) Send(out, 0x90 + channel, note + shift, e.TriggerVelocity);
    }
}

void StopChordSound(midi::MidiOut* out, EngineState& e, const ClockState& clockState) noexcept {
    if (!out || !out->IsOpen() || e.SoundingChord[0] <= 0) return;
    const int channel = e.VoiceChannel & 0x0F;
    EndSoundingChord(out, e, channel, 12 * e.KeyboardOctave);
    e.SoundingChord[0] = 0;
    if (clockState.ClockState != 0) core::ResetChannel(out, channel);
}

}  // namespace chordella::engine
