#include "library/SongSnapshot.h"

#include <cstdint>

#include "core/Options.h"
#include "core/Session.h"
#include "chords/KeyboardLayout.h"
#include "data/ArrangementState.h"
#include "engine/ChannelSettings.h"
#include "engine/MelodyState.h"

namespace chordella::library {

namespace {

constexpr int VolumeController = 7;

bool Within(const std::optional<int>& value, int low, int high) {
    return value && *value >= low && *value <= high;
}

void SetBox(bool& box, const std::optional<bool>& value) {
    if (value) box = *value;
}

void Send(core::Session& session, int status, int data1, int data2) {
    midi::MidiOut* out = session.AccompanimentOutput();
    if (out != nullptr && out->IsOpen())
        out->PutShort(static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(data1),
                      static_cast<std::uint8_t>(data2));
}

}  // namespace

SongEntry CaptureSongEntry(core::Session& session, const SongState& state, const std::string& title) {
    const core::Options& o = state.options;
    SongEntry entry;
    entry.Title = title;
    entry.Path = state.arrangement.ArrangementPath;
    for (std::size_t channel = 0; channel < entry.Mutes.size(); ++channel)
        entry.Mutes[channel] = state.engine.ChannelMute[channel] != 0;
    entry.PlayMode = o.ChordInput ? (o.PlayChords ? 1 : 0) : 5;
    entry.ChordsBox = o.ChordInput;
    entry.InstrumentsBox = o.InstrumentKeys;
    entry.HarmonicPad = o.HarmonicPad;
    entry.MelodyAdLib = o.MelodyAdLib;
    entry.SendChordCodes = o.SendChordCodes;
    entry.KeyboardSplitBox = o.KeyboardSplit;
    const int voice = state.engine.VoiceChannel;
    entry.ChannelIndex = voice;
    entry.Octave = state.engine.KeyboardOctave;
    entry.Transposition = state.keyboard.CapoShift;
    entry.InstrumentIndex = o.SoloInstrument;
    for (std::size_t bar = 0; bar < entry.MixerBars.size(); ++bar)
        entry.MixerBars[bar] = session.Controllers().Value(static_cast<int>(bar), VolumeController);  // 255: never set
    return entry;
}

void ApplySongEntry(core::Session& session, const SongState& state, const SongEntry& entry, bool loadInstruments,
                    std::string& instrumentSet) {
    core::Options& o = state.options;
    for (std::size_t channel = 0; channel < entry.Mutes.size(); ++channel) {
        if (!entry.Mutes[channel]) continue;
        engine::SetChannelMute(state.engine, static_cast<int>(channel), *entry.Mutes[channel]);
        // A muted channel falls silent at once.
        if (*entry.Mutes[channel]) Send(session, 0xB0 | static_cast<int>(channel), 123, 0);
    }
    SetBox(o.InstrumentKeys, entry.InstrumentsBox);
    SetBox(o.KeyboardSplit, entry.KeyboardSplitBox);
    if (Within(entry.ChannelIndex, 0, 15)) engine::SetVoiceChannel(state.engine, *entry.ChannelIndex);
    if (Within(entry.Octave, -3, 4)) engine::SetKeyboardOctave(state.engine, *entry.Octave);
    if (Within(entry.Transposition, -11, 11))
        state.keyboard.CapoShift = static_cast<std::int16_t>(*entry.Transposition);
    state.melody.KeyboardTranspose = static_cast<std::int16_t>(chords::KeyboardTranspose(state.engine, state.keyboard));
    const int voice = state.engine.VoiceChannel;
    if (Within(entry.InstrumentIndex, 0, 127)) {
        o.SoloInstrument = *entry.InstrumentIndex;
        Send(session, 0xC0 | voice, *entry.InstrumentIndex, 0);
    }
    engine::ReleaseHeldVolumes(state.engine);
    for (std::size_t bar = 0; bar < entry.MixerBars.size(); ++bar) {
        if (!Within(entry.MixerBars[bar], 0, 127)) continue;
        const int channel = static_cast<int>(bar);
        engine::HoldVolume(state.engine, channel, *entry.MixerBars[bar]);
        session.Controllers().SetValue(channel, VolumeController, static_cast<std::uint8_t>(*entry.MixerBars[bar]));
        Send(session, 0xB0 | channel, VolumeController, *entry.MixerBars[bar]);
    }
    if (loadInstruments && !entry.InstrumentSet.empty()) instrumentSet = entry.InstrumentSet;
}

}  // namespace chordella::library
