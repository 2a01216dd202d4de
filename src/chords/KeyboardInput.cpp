#include "chords/KeyboardInput.h"

#include <exception>

#include "core/Options.h"
#include "core/Session.h"
#include "chords/ChordRecogniser.h"
#include "chords/InputLink.h"
#include "chords/KeyboardLayout.h"
#include "chords/SectionKeys.h"
#include "data/ConfigState.h"
#include "engine/ClockState.h"
#include "engine/EngineState.h"
#include "midi/MidiInput.h"
#include "midi/MidiStatus.h"

namespace chordella::chords {

namespace {

using midi::status::NoteOff;
using midi::status::NoteOn;
using midi::status::PolyPressure;
using midi::status::ControlChange;
using midi::status::ProgramChange;
using midi::status::ChannelPressure;
using midi::status::SystemExclusive;
constexpr std::uint8_t TimingClock = 0xF8;
constexpr int DrumChannel = 9;
constexpr int LowestRaisedRoot = 44;
constexpr int AllSoundOffController = 120;
constexpr int AllNotesOffController = 123;
constexpr int MostHeldNotes = 5;
constexpr std::uint8_t SustainPedal = 64;
constexpr std::uint8_t SostenutoPedal = 66;

}  // namespace

KeyboardInput::KeyboardInput(core::Session& session, ChordState& chordState, KeyboardState& keyboard,
                             const core::Options& options, const data::ConfigState& config,
                             const engine::ClockState& clockState, const engine::EngineState& engineState,
                             ChordRecogniser& recogniser, SectionKeys& sectionKeys, core::EngineLink& engine,
                             InputLink& peers)
    : InputHandler(session, &core::Session::MidiInput1),
      chordState_(chordState),
      keyboard_(keyboard),
      options_(options),
      config_(config),
      clockState_(clockState),
      engineState_(engineState),
      recogniser_(recogniser),
      sectionKeys_(sectionKeys),
      engine_(engine),
      peers_(&peers) {}

void KeyboardInput::SetPeers(InputLink& peers) { peers_ = &peers; }

void KeyboardInput::ReleaseAfterLoss() {
    ReleaseHeldNotes();
    midi::MidiOut* out = session_.AccompanimentOutput();
    for (std::size_t channel = 0; channel < keyboard_.SustainHeld.size(); ++channel) {
        if (!keyboard_.SustainHeld[channel]) continue;
        keyboard_.SustainHeld[channel] = false;
        if (!out || !out->IsOpen()) continue;
        const auto status = static_cast<std::uint8_t>(ControlChange | channel);
        out->PutShort(status, SustainPedal, 0);
        out->PutShort(status, SostenutoPedal, 0);
    }
    sectionKeys_.StopTriggeredChord();
}

void KeyboardInput::HandleEvent(const midi::TMyMidiEvent& event) {
    if (event.MidiMessage == SystemExclusive) {
        SendSysex(session_.CurrentOutput(), SysexPiece(event.Sysex));
        return;
    }
    OtherMessage(event.MidiMessage);
    // Timing clock from the keyboard never drives the program and is not echoed.
    if (event.MidiMessage < 0x80 || event.MidiMessage == TimingClock) return;
    if (event.Data1 > 127 || event.Data2 > 127) return;
    Message m{event.MidiMessage, event.Data1, event.Data2};
    if (m.Status < 0xF0 && !options_.Origin) {
        m.Status = static_cast<std::uint8_t>(m.Kind() | (engineState_.VoiceChannel & 0x0F));
    }
    if (m.Status >= 0xF0) {
        Pass(m);
        return;
    }
    if (m.Kind() != NoteOn && m.Kind() != NoteOff) {
        if (ControllerStep(m)) Pass(m);
        return;
    }
    if (options_.ChordInput && ChordStep(m)) return;
    MelodyPath(m);
}

void KeyboardInput::ReleaseHeldNotes() {
    midi::MidiOut* out = session_.AccompanimentOutput();
    const bool open = out && out->IsOpen();
    for (std::size_t channel = 0; channel < keyboard_.SentNote.size(); ++channel) {
        for (std::size_t key = 0; key < keyboard_.SentNote[channel].size(); ++key) {
            std::uint8_t& sent = keyboard_.SentNote[channel][key];
            if (sent == 0) continue;
            if (open) {
                out->PutShort(static_cast<std::uint8_t>(NoteOn | keyboard_.SentChannel[channel][key]),
                              static_cast<std::uint8_t>(sent - 1), 0);
            }
            sent = 0;
        }
    }
    engine_.MelodyKeysReleased();
}

// True when the note was consumed as a chord key, control key or triggered chord.
bool KeyboardInput::ChordStep(const Message& m) {
    const int chordChannel = options_.AccChannel;
    if (chordChannel != 0 && m.Channel() + 1 != chordChannel) return false;
    if (options_.PlayChords && clockState_.ClockState == 0) {
        TriggeredChord(m);
        return true;
    }
    const KeyboardLayout layout = CurrentLayout(chordState_, keyboard_, config_);
    const int key = m.Data1;
    const bool inZone = options_.UseAllKeyboardKeys || (key >= layout.FirstKey && key <= layout.LastKey);
    if (!inZone) return OutsideChordZone(m);
    return ChordZoneKey(m);
}

void KeyboardInput::TriggeredChord(const Message& m) {
    const int key = m.Data1;
    if (key >= keyboard_.TriggerLow) {
        if (m.Press()) {
            engine_.SetTriggerVelocity(m.Data2);
            const int root = key + KeyboardTranspose(engineState_, keyboard_);
            const auto type = static_cast<std::int16_t>(chordState_.TypeOverride > 0 ? chordState_.TypeOverride : 1);
            recogniser_.SetChord(static_cast<std::int16_t>(root), type, NoOffset);
        } else {
            sectionKeys_.StopTriggeredChord();
        }
        return;
    }
    if (!m.Press()) {
        chordState_.TypeOverride = 0;
        sectionKeys_.StopTriggeredChord();
        return;
    }
    if (key >= keyboard_.TriggerLow - 12 && key <= keyboard_.TriggerLow - 2) {
        chordState_.TypeOverride = static_cast<std::int16_t>(chordState_.SlotMap.TypeOf(key % 12 + 1));
    } else if (IsControlKey(config_.Keys, key)) {
        sectionKeys_.SectionKey(key, SectionKeyCode);
    } else if (options_.InstrumentKeys && key > keyboard_.InstrumentLow && key < keyboard_.InstrumentHigh) {
        peers_->InstrumentKey(key - keyboard_.InstrumentLow);
    }
}

// A note outside the chord zone: control keys are consumed, the rest is melody.
bool KeyboardInput::OutsideChordZone(const Message& m) {
    const int key = m.Data1;
    if (!m.Press() || !IsControlKey(config_.Keys, key)) return false;
    if (options_.PlayChords && options_.InstrumentKeys) {
        const int index = key - keyboard_.InstrumentLow;
        if (index >= 0) peers_->InstrumentKey(index);
    } else {
        sectionKeys_.SectionKey(key, SectionKeyCode);
    }
    return true;
}

bool KeyboardInput::ChordZoneKey(const Message& m) {
    HeldNoteList& held = session_.Style().heldNotes;
    const int key = m.Data1;
    const int lastKey = config_.Keys.LastChordKey;
    if (m.Press()) {
        if (keyboard_.TopFunctionKeys && !options_.UseAllKeyboardKeys && key > lastKey - 4) {
            peers_->ProgramControl(lastKey - key);
            engine_.DropPendingChord();
            return true;
        }
        if (!options_.TwoFingerChords) {
            if (held.Count > MostHeldNotes) held.Clear();
            held.Add(key);
            if (held.Count >= 3) {
                core::ChordPair chord = recogniser_.Recognise(AllTypesIndex, RecogniseMode::Live);
                // Held notes that name nothing set the chord still waiting again.
                if (chord.Root <= 0) chord = engine_.PendingChord();
                if (chord.Root < LowestRaisedRoot) chord.Root = static_cast<std::int16_t>(chord.Root + 12);
                recogniser_.SetChord(chord.Root, chord.Type, keyboard_.CapoShift);
            }
            return true;
        }
        return CommonEnd(key, recogniser_.TwoFingerKey(key + keyboard_.CapoShift));
    }
    if (!options_.TwoFingerChords && !held.Empty() && !options_.SmartChordKeys) held.Remove(key);
    return CommonEnd(key, engine_.PendingChord());
}

bool KeyboardInput::CommonEnd(int key, core::ChordPair chord) {
    if (chord.Root <= 0) return false;
    if (options_.MajorMinor && chord.Root == key) {
        switch (chord.Type) {
            case 1: chord.Type = 2; break;
            case 2: chord.Type = 1; break;
            case 3: chord.Type = 4; break;
            case 4: chord.Type = 3; break;
            default: break;
        }
    }
    recogniser_.SetChord(chord.Root, chord.Type, 0);
    return true;
}

// A press in the instrument zone: program-control keys or instrument keys. True when consumed.
bool KeyboardInput::InstrumentZone(const Message& m) {
    const int key = m.Data1;
    if (!m.Press() || key >= keyboard_.InstrumentHigh) return false;
    if (keyboard_.TopFunctionKeys) {
        if (key >= keyboard_.InstrumentHigh - 4) peers_->ProgramControl(keyboard_.InstrumentHigh - 1 - key);
        return true;
    }
    if (!options_.InstrumentKeys) return false;
    if (key >= keyboard_.InstrumentLow) peers_->InstrumentKey(key - keyboard_.InstrumentLow);
    return true;
}

void KeyboardInput::MelodyPath(Message m) {
    if (InstrumentZone(m)) return;
    const bool press = m.Press();
    const auto inChannel = static_cast<std::size_t>(m.Channel());
    const auto inKey = static_cast<std::size_t>(m.Data1);
    std::uint8_t& sent = keyboard_.SentNote[inChannel][inKey];
    if (!press && sent != 0) {
        ReleaseWhereStarted(m);
        return;
    }
    int channel = m.Channel();
    int key = m.Data1;
    if (options_.KeyboardSplit) {
        for (const SplitZone& zone : keyboard_.Zones) {
            if (key >= zone.UpperBound) continue;
            if (zone.On && zone.Channel >= 1 && zone.Channel <= 16) {
                channel = zone.Channel - 1;
                key += zone.OctaveShift;
            }
            break;
        }
    }
    keyboard_.ChannelIndicator[static_cast<std::size_t>(channel)] = Indicator::Greyed;
    if (channel != DrumChannel) {
        key += KeyboardTranspose(engineState_, keyboard_);
        if ((options_.MelodyAdLib || options_.KeyAdjustment) && key >= 0 && key <= 127) {
            key = AdjustMelodyNote(session_, keyboard_, chordState_, options_, *peers_, channel, key, press, modifiers_);
        }
    }
    if (key < 0 || key > 127) return;  // moved off the keyboard: not played at all
    int velocity = m.Data2;
    if (press) {
        if (sent != 0 && sent - 1 != key) {
            // A second press of a key that still sounds elsewhere: that note ends first, or
            // nothing would ever release it.
            Pass({static_cast<std::uint8_t>(NoteOn | keyboard_.SentChannel[inChannel][inKey]),
                  static_cast<std::uint8_t>(sent - 1), 0});
        }
        velocity = OffsetVelocity(velocity, VelocityOffset(options_, keyboard_));
        engine_.PlayerPlays(channel);
        sent = static_cast<std::uint8_t>(key + 1);
        keyboard_.SentChannel[inChannel][inKey] = static_cast<std::uint8_t>(channel);
        engine_.MelodyKeyHeld(static_cast<int>(inKey), key);
    }
    m.Status = static_cast<std::uint8_t>(m.Kind() | channel);
    m.Data1 = static_cast<std::uint8_t>(key);
    m.Data2 = static_cast<std::uint8_t>(velocity);
    if (peers_->MelodyRecording()) peers_->RecordMelodyEvent(m.Status, m.Data1, m.Data2);
    Pass(m);
}

// The release of a melody note goes where its press went.
void KeyboardInput::ReleaseWhereStarted(Message m) {
    const auto inChannel = static_cast<std::size_t>(m.Channel());
    const auto inKey = static_cast<std::size_t>(m.Data1);
    std::uint8_t& sent = keyboard_.SentNote[inChannel][inKey];
    const int channel = keyboard_.SentChannel[inChannel][inKey];
    const int note = sent - 1;
    sent = 0;
    engine_.MelodyKeyHeld(static_cast<int>(inKey), 0);
    m.Status = static_cast<std::uint8_t>(m.Kind() | channel);
    m.Data1 = static_cast<std::uint8_t>(note);
    if (options_.MelodyAdLib) {
        AdjustMelodyNote(session_, keyboard_, chordState_, options_, *peers_, channel, m.Data1, false, modifiers_);
    }
    if (peers_->MelodyRecording()) peers_->RecordMelodyEvent(m.Status, m.Data1, m.Data2);
    Pass(m);
}

// Controllers and other channel messages; true when the message goes on.
bool KeyboardInput::ControllerStep(const Message& m) {
    const auto channel = static_cast<std::size_t>(m.Channel());
    const int kind = m.Kind();
    if (kind == ControlChange && (m.Data1 == SustainPedal || m.Data1 == SostenutoPedal)) keyboard_.SustainHeld[channel] = m.Data2 > 64;
    if (kind == ControlChange && (m.Data1 == AllNotesOffController || m.Data1 == AllSoundOffController)) {
        ForgetHeldNotes(m.Channel());
    }
    if (kind == PolyPressure) return false;
    if (keyboard_.ChannelSuppress[channel] &&
        ((kind == ControlChange && m.Data1 < 120) || kind == ProgramChange || kind == ChannelPressure)) {
        return false;
    }
    if (peers_->MelodyRecording()) peers_->RecordMelodyEvent(m.Status, m.Data1, m.Data2);
    return true;
}

void KeyboardInput::ForgetHeldNotes(int channel) {
    // The keyboard's own "all notes off" says no key of this channel is down any more: a key
    // whose note-off got lost no longer spoils the chords that follow.
    const int chordChannel = options_.AccChannel;
    if (chordChannel == 0 || chordChannel == channel + 1) session_.Style().heldNotes.Clear();
    auto& sent = keyboard_.SentNote[static_cast<std::size_t>(channel)];
    for (std::size_t key = 0; key < sent.size(); ++key) {
        if (sent[key] != 0) engine_.MelodyKeyHeld(static_cast<int>(key), 0);
        sent[key] = 0;
    }
}

void KeyboardInput::Pass(const Message& m) {
    midi::MidiOut* out = session_.AccompanimentOutput();
    if (out && out->IsOpen()) out->PutShort(m.Status, m.Data1, m.Data2);
}

}  // namespace chordella::chords
