#include "chords/ChordEntry.h"

#include <algorithm>
#include <optional>

#include "chords/EntryState.h"
#include "core/ClockLink.h"
#include "core/Options.h"
#include "core/Session.h"
#include "chords/ChordPads.h"
#include "chords/ChordRecogniser.h"
#include "chords/ComputerKeys.h"
#include "chords/InputLink.h"
#include "chords/KeyboardLayout.h"
#include "chords/MelodyPath.h"
#include "chords/SectionKeys.h"
#include "data/ConfigState.h"
#include "engine/ClockState.h"
#include "engine/EngineState.h"
#include "engine/TransportState.h"
#include "midi/MidiStatus.h"

namespace chordella::chords {

namespace {

using midi::status::NoteOn;
constexpr int MajorSlot = 1;
// The virtual-key codes of Shift and Ctrl (type keys of their own: "min" and "7th").
constexpr int ShiftKey = 0x10;
constexpr int CtrlKey = 0x11;
constexpr int SectionAsChordRoot = 48;  // a section button before any style plays: C major
constexpr int SlaveClock = -1;
// The split zones the computer keyboard plays in split mode: zone 2 for the lower rows,
// zone 3 for the upper ones.
constexpr std::size_t LowerSplitZone = 1;
constexpr std::size_t UpperSplitZone = 2;

PadEditorLink& NoEditor() {
    static PadEditorLink none;
    return none;
}

bool UpperRow(KeyZoneKind zone) { return zone == KeyZoneKind::MelodyUp || zone == KeyZoneKind::MelodyUpToo; }

std::uint8_t Status(int kind, int channel) { return static_cast<std::uint8_t>(kind | (channel & 0x0F)); }
std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value); }

}  // namespace

ChordEntry::ChordEntry(core::Session& session, ChordState& chordState, KeyboardState& keyboard, EntryState& entry,
                       const core::Options& options, const data::ConfigState& config,
                       const engine::ClockState& clockState, const engine::EngineState& engineState,
                       const engine::TransportState& transportState, const engine::MelodyState& melodyState,
                       ChordRecogniser& recogniser, SectionKeys& sectionKeys, core::EngineLink& engine,
                       InputLink& peers, PadEditorLink* editor)
    : session_(session),
      chordState_(chordState),
      keyboard_(keyboard),
      entry_(entry),
      options_(options),
      config_(config),
      clockState_(clockState),
      engineState_(engineState),
      transportState_(transportState),
      melodyState_(melodyState),
      recogniser_(recogniser),
      sectionKeys_(sectionKeys),
      engine_(engine),
      peers_(&peers),
      editor_(editor ? editor : &NoEditor()) {}

void ChordEntry::SetPeers(InputLink& peers) { peers_ = &peers; }
void ChordEntry::SetEditor(PadEditorLink* editor) { editor_ = editor ? editor : &NoEditor(); }
void ChordEntry::SetClock(core::ClockLink* clock) { clock_ = clock; }

void ChordEntry::SendVoice(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    SendVoiceMessage(session_, melodyState_, options_, peers_, status, data1, data2);
}

bool ChordEntry::AccompanimentOn() const { return transportState_.AccompanimentOn != 0; }

// --- Pads ---------------------------------------------------------------------------------

void ChordEntry::PadDown(std::string_view pad, EntryModifiers modifiers) {
    const std::optional<PadName> name = ParsePadName(pad);
    if (!name) return;
    int root = name->Root;
    int slot = name->Slot;
    if (name->Kind == PadKind::Section) {
        if (!SectionButtonKey(name->Number, modifiers, root)) return;
        if (session_.Style().player.StyleActive == 0 && !editor_->ChordEntryMode()) {
            if (session_.Style().style.StyleLength == 0) return;  // no style loaded
            root = SectionAsChordRoot;
            slot = MajorSlot;
        }
    }
    if (transportState_.ChordPlayMode == 0 && (options_.EditBox || editor_->ChordEntryMode())) {
        entry_.PadHeld = true;
        chordState_.CurrentRoot = static_cast<std::int16_t>(root);
        chordState_.CurrentType = static_cast<std::int16_t>(slot);
        return;
    }
    if (slot == SectionSlot) {
        sectionKeys_.SectionKey(root, SectionKeyCode);
    } else {
        recogniser_.SetChord(static_cast<std::int16_t>(root),
                             static_cast<std::int16_t>(chordState_.SlotMap.TypeOf(slot)), keyboard_.CapoShift);
    }
}

// The key a section button sends; false when the click has done all it does.
bool ChordEntry::SectionButtonKey(int button, EntryModifiers modifiers, int& key) {
    const data::ControlKeys& keys = config_.Keys;
    if (modifiers.Shift && modifiers.LeftButton) {
        chordState_.TypeOverride = 0;
        if (clockState_.ClockState == SlaveClock && transportState_.ChordPlayMode == 0) {
            // Following an external clock: the clock goes off and the chord sounds again.
            if (clock_) clock_->ToggleClock();
            if (chordState_.CurrentRoot > 0 && chordState_.CurrentRoot < NoCurrentChord) {
                recogniser_.SetChord(chordState_.CurrentRoot, chordState_.CurrentType, NoOffset);
            }
            return false;
        }
        key = keys.Intro;
        return true;
    }
    switch (static_cast<SectionButton>(button)) {
        case SectionButton::FillIn: key = keys.FillIn; break;
        case SectionButton::ToBasic: key = keys.ToBasic; break;
        case SectionButton::Ending: key = keys.Ending; break;
        case SectionButton::ToExtended: key = keys.ToExtended; break;
        case SectionButton::Intro: key = keys.Intro; break;
    }
    return true;
}

void ChordEntry::PadUp(std::string_view pad) {
    if (!ParsePadName(pad)) return;
    if (options_.PlayChords && clockState_.ClockState == 0) sectionKeys_.StopTriggeredChord();
    if (!entry_.PadHeld) return;
    const int root = chordState_.CurrentRoot;
    const int slot = chordState_.CurrentType;
    chordState_.CurrentRoot = NoCurrentChord;
    chordState_.CurrentType = 0;
    chordState_.ChordGivenToEditor = true;
    entry_.PadHeld = false;
    editor_->TakeChord(root, slot);
}

// --- The on-screen keyboard -----------------------------------------------------------------

void ChordEntry::ScreenNoteOn(int note, int velocity) {
    if (note < 0 || note > 127) return;
    if (AccompanimentOn()) {
        const int type = chordState_.TypeOverride >= 1 ? chordState_.TypeOverride : MajorSlot;
        recogniser_.SetChord(static_cast<std::int16_t>(note), static_cast<std::int16_t>(type), keyboard_.CapoShift);
        return;
    }
    const auto index = static_cast<std::size_t>(note);
    if (entry_.ScreenSentNote[index] != 0) ScreenNoteOff(note, 0);
    const int channel = engineState_.VoiceChannel & 0x0F;
    const int sent = AdjustMelodyNote(session_, keyboard_, chordState_, options_, *peers_, channel,
                                      note + keyboard_.CapoShift, true, {}, true);
    if (sent < 0 || sent > 127) return;
    entry_.ScreenSentNote[index] = Byte(sent + 1);
    entry_.ScreenSentChannel[index] = Byte(channel);
    SendVoice(Status(NoteOn, channel), Byte(sent), Byte(std::clamp(velocity, 1, 127)));
}

void ChordEntry::ScreenNoteOff(int note, int /*velocity*/) {
    if (note < 0 || note > 127) return;
    const auto index = static_cast<std::size_t>(note);
    std::uint8_t& sent = entry_.ScreenSentNote[index];
    if (sent != 0) {
        // The release goes to the note the press sounded, with velocity 0, whatever the chord
        // or the spinners did meanwhile.
        SendVoice(Status(NoteOn, entry_.ScreenSentChannel[index]), Byte(sent - 1), 0);
        sent = 0;
    }
    if (!AccompanimentOn()) return;
    const bool externalClock = clockState_.ClockState == SlaveClock && options_.PlayChords;
    if (clockState_.ClockState == 0 || externalClock) sectionKeys_.StopTriggeredChord();
}

// --- The computer keyboard ------------------------------------------------------------------

bool ChordEntry::IsChordKey(KeyZoneKind zone) const {
    if (zone == KeyZoneKind::ChordOrMelody) return AccompanimentOn();
    if (zone == KeyZoneKind::SplitMelody) return AccompanimentOn() && !options_.KeyboardSplit;
    return false;
}

bool ChordEntry::KeyDown(int virtualKey, bool autoRepeat, EntryModifiers modifiers) {
    if (virtualKey < 0 || virtualKey > 255) return false;
    const int key = KeyLayoutMap(virtualKey, options_.ComputerKeyboardLayout);
    const int value = KeyValue(key);
    const KeyZoneKind zone = KeyZone(key);
    if (value == 0) return false;
    if (value <= LastTypeValue) return zone != KeyZoneKind::Never && TypeKeyDown(key, value);
    if (IsChordKey(zone)) return ChordKeyDown(key, value, autoRepeat, modifiers);
    return MelodyKeyDown(key, value, zone, modifiers);
}

// A type key goes down before the chord key: it chooses the type the chord key will set.
bool ChordEntry::TypeKeyDown(int key, int value) {
    if (!AccompanimentOn()) return false;
    if (entry_.HeldTypeKey == 0 && engine_.PendingChord().Root == 0) {
        entry_.HeldTypeKey = Byte(key);
        chordState_.TypeOverride = static_cast<std::int16_t>(chordState_.SlotMap.TypeOf(value));
    }
    return true;
}

bool ChordEntry::ChordKeyDown(int key, int value, bool autoRepeat, EntryModifiers modifiers) {
    if (autoRepeat || entry_.HeldChordKey != 0) return true;
    entry_.HeldChordKey = Byte(key);
    // Shift or Ctrl held with the chord key chooses its type even when their own key stroke
    // was not taken (it came while the last chord still waited for its beat): the player
    // holding Shift means a minor chord. A type already chosen by a key stays.
    int type = MajorSlot;
    if (chordState_.TypeOverride == 0 && (modifiers.Shift || modifiers.Ctrl))
        type = chordState_.SlotMap.TypeOf(modifiers.Shift ? KeyValue(ShiftKey) : KeyValue(CtrlKey));
    recogniser_.SetChord(static_cast<std::int16_t>(value), static_cast<std::int16_t>(type), keyboard_.CapoShift);
    return true;
}

bool ChordEntry::MelodyKeyDown(int key, int value, KeyZoneKind zone, EntryModifiers modifiers) {
    const auto index = static_cast<std::size_t>(key);
    if (entry_.KeyHeldNote[index] != 0) return true;  // auto-repeat of a sounding key
    const bool upper = UpperRow(zone);
    int note = value + (upper ? 12 : 0);
    int channel = engineState_.VoiceChannel & 0x0F;
    if (options_.KeyboardSplit) {
        const SplitZone& split = keyboard_.Zones[upper ? UpperSplitZone : LowerSplitZone];
        if (split.On && split.Channel >= 1 && split.Channel <= 16) {
            channel = split.Channel - 1;
            note += split.OctaveShift + (upper ? 12 : 0);
        }
    }
    note += KeyboardTranspose(engineState_, keyboard_);
    note = AdjustMelodyNote(session_, keyboard_, chordState_, options_, *peers_, channel, note, true,
                            {modifiers.Ctrl, modifiers.Shift}, true);
    if (note < 1 || note > 127) return true;  // moved off the keyboard: not played
    entry_.KeyHeldNote[index] = Byte(note);
    entry_.KeyChannel[index] = Byte(channel);
    engine_.PlayerPlays(channel);
    const int velocity =
        HumanVelocity(session_.Random(), engineState_.ChannelVolume[static_cast<std::size_t>(channel)]);
    SendVoice(Status(NoteOn, channel), Byte(note), Byte(velocity));
    return true;
}

bool ChordEntry::KeyUp(int virtualKey, EntryModifiers modifiers) {
    if (virtualKey < 0 || virtualKey > 255) return false;
    const int key = KeyLayoutMap(virtualKey, options_.ComputerKeyboardLayout);
    const int value = KeyValue(key);
    const KeyZoneKind zone = KeyZone(key);
    if (value == 0) return false;
    const auto index = static_cast<std::size_t>(key);
    if (entry_.KeyHeldNote[index] != 0) {
        SendVoice(Status(NoteOn, entry_.KeyChannel[index]), entry_.KeyHeldNote[index], 0);
        entry_.KeyHeldNote[index] = 0;
        return true;
    }
    bool consumed = false;
    if (key == entry_.HeldChordKey) {
        entry_.HeldChordKey = 0;
        if (options_.PlayChords && clockState_.ClockState == 0) sectionKeys_.StopTriggeredChord();
        consumed = true;
    }
    if (value <= LastTypeValue || IsChordKey(zone)) {
        if (key == entry_.HeldTypeKey || modifiers.Shift || modifiers.Ctrl || modifiers.Alt) {
            chordState_.TypeOverride = 0;
            entry_.HeldTypeKey = 0;
        }
        consumed = true;
    }
    return consumed;
}

bool ChordEntry::FunctionKey(int fKey) {
    const data::ControlKeys& keys = config_.Keys;
    int key = 0;
    switch (fKey) {
        case 1:
            if (session_.Style().player.StyleActive == 0) return false;
            key = keys.FillIn;
            break;
        case 2: key = keys.ToExtended; break;
        case 3: key = keys.ToBasic; break;
        case 4: key = keys.Ending; break;
        default: return false;
    }
    sectionKeys_.SectionKey(key, SectionKeyCode);
    return true;
}

void ChordEntry::ReleaseAll() {
    for (std::size_t key = 0; key < entry_.KeyHeldNote.size(); ++key) {
        if (entry_.KeyHeldNote[key] == 0) continue;
        SendVoice(Status(NoteOn, entry_.KeyChannel[key]), entry_.KeyHeldNote[key], 0);
        entry_.KeyHeldNote[key] = 0;
    }
    for (std::size_t note = 0; note < entry_.ScreenSentNote.size(); ++note) {
        if (entry_.ScreenSentNote[note] == 0) continue;
        SendVoice(Status(NoteOn, entry_.ScreenSentChannel[note]), Byte(entry_.ScreenSentNote[note] - 1), 0);
        entry_.ScreenSentNote[note] = 0;
    }
    if (entry_.HeldTypeKey != 0) chordState_.TypeOverride = 0;
    entry_.HeldTypeKey = 0;
    if (entry_.HeldChordKey != 0 && options_.PlayChords && clockState_.ClockState == 0) {
        sectionKeys_.StopTriggeredChord();
    }
    entry_.HeldChordKey = 0;
}

}  // namespace chordella::chords
