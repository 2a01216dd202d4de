#include "chords/ChordEntry.h"

#include <algorithm>
#include <optional>

#include "core/ClockLink.h"
#include "core/Session.h"
#include "chords/ChordPads.h"
#include "chords/ChordRecogniser.h"
#include "chords/ComputerKeys.h"
#include "chords/InputLink.h"
#include "chords/KeyboardLayout.h"
#include "chords/MelodyPath.h"
#include "chords/SectionKeys.h"
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

ChordEntry::ChordEntry(core::Session& session, ChordRecogniser& recogniser, SectionKeys& sectionKeys,
                       InputLink* peers, PadEditorLink* editor)
    : session_(session),
      recogniser_(recogniser),
      sectionKeys_(sectionKeys),
      peers_(peers),
      editor_(editor ? editor : &NoEditor()) {}

void ChordEntry::SetPeers(InputLink* peers) { peers_ = peers; }
void ChordEntry::SetEditor(PadEditorLink* editor) { editor_ = editor ? editor : &NoEditor(); }
void ChordEntry::SetClock(core::ClockLink* clock) { clock_ = clock; }

bool ChordEntry::AccompanimentOn() const { return session_.App().transport.AccompanimentOn != 0; }

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
    core::AppState& app = session_.App();
    if (app.transport.ChordPlayMode == 0 && (app.options.EditBox || editor_->ChordEntryMode())) {
        app.entry.PadHeld = true;
        app.chords.CurrentRoot = static_cast<std::int16_t>(root);
        app.chords.CurrentType = static_cast<std::int16_t>(slot);
        return;
    }
    if (slot == SectionSlot) {
        sectionKeys_.SectionKey(root, SectionKeyCode);
    } else {
        recogniser_.SetChord(static_cast<std::int16_t>(root), static_cast<std::int16_t>(app.chords.SlotMap.TypeOf(slot)),
                             app.keyboard.CapoShift);
    }
}

// The key a section button sends; false when the click has done all it does.
bool ChordEntry::SectionButtonKey(int button, EntryModifiers modifiers, int& key) {
    core::AppState& app = session_.App();
    const data::ControlKeys& keys = app.config.Keys;
    if (modifiers.Shift && modifiers.LeftButton) {
        app.chords.TypeOverride = 0;
        if (app.clock.ClockState == SlaveClock && app.transport.ChordPlayMode == 0) {
            // Following an external clock: the clock goes off and the chord sounds again.
            if (clock_) clock_->ToggleClock();
            const ChordState& chords = app.chords;
            if (chords.CurrentRoot > 0 && chords.CurrentRoot < NoCurrentChord) {
                recogniser_.SetChord(chords.CurrentRoot, chords.CurrentType, NoOffset);
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
    core::AppState& app = session_.App();
    if (app.options.PlayChords && app.clock.ClockState == 0) sectionKeys_.StopTriggeredChord();
    if (!app.entry.PadHeld) return;
    ChordState& chords = app.chords;
    const int root = chords.CurrentRoot;
    const int slot = chords.CurrentType;
    chords.CurrentRoot = NoCurrentChord;
    chords.CurrentType = 0;
    app.entry.PadHeld = false;
    editor_->TakeChord(root, slot);
}

// --- The on-screen keyboard -----------------------------------------------------------------

void ChordEntry::ScreenNoteOn(int note, int velocity) {
    if (note < 0 || note > 127) return;
    core::AppState& app = session_.App();
    if (AccompanimentOn()) {
        const ChordState& chords = app.chords;
        const int type = chords.TypeOverride >= 1 ? chords.TypeOverride : MajorSlot;
        recogniser_.SetChord(static_cast<std::int16_t>(note), static_cast<std::int16_t>(type), app.keyboard.CapoShift);
        return;
    }
    const auto index = static_cast<std::size_t>(note);
    if (app.entry.ScreenSentNote[index] != 0) ScreenNoteOff(note, 0);
    const int channel = app.engine.VoiceChannel & 0x0F;
    InputLink& peers = peers_ ? *peers_ : NoInputModules::Shared();
    const int sent = AdjustMelodyNote(session_, peers, channel, note + app.keyboard.CapoShift, true, {}, true);
    if (sent < 0 || sent > 127) return;
    app.entry.ScreenSentNote[index] = Byte(sent + 1);
    app.entry.ScreenSentChannel[index] = Byte(channel);
    SendVoiceMessage(session_, peers_, Status(NoteOn, channel), Byte(sent), Byte(std::clamp(velocity, 1, 127)));
}

void ChordEntry::ScreenNoteOff(int note, int /*velocity*/) {
    if (note < 0 || note > 127) return;
    core::AppState& app = session_.App();
    const auto index = static_cast<std::size_t>(note);
    std::uint8_t& sent = app.entry.ScreenSentNote[index];
    if (sent != 0) {
        // The release goes to the note the press sounded, with velocity 0, whatever the chord
        // or the spinners did meanwhile.
        SendVoiceMessage(session_, peers_, Status(NoteOn, app.entry.ScreenSentChannel[index]), Byte(sent - 1), 0);
        sent = 0;
    }
    if (!AccompanimentOn()) return;
    const bool externalClock = app.clock.ClockState == SlaveClock && app.options.PlayChords;
    if (app.clock.ClockState == 0 || externalClock) sectionKeys_.StopTriggeredChord();
}

// --- The computer keyboard ------------------------------------------------------------------

bool ChordEntry::IsChordKey(KeyZoneKind zone) const {
    if (zone == KeyZoneKind::ChordOrMelody) return AccompanimentOn();
    if (zone == KeyZoneKind::SplitMelody) return AccompanimentOn() && !session_.App().options.KeyboardSplit;
    return false;
}

bool ChordEntry::KeyDown(int virtualKey, bool autoRepeat, EntryModifiers modifiers) {
    if (virtualKey < 0 || virtualKey > 255) return false;
    const int key = KeyLayoutMap(virtualKey, session_.App().options.ComputerKeyboardLayout);
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
    core::AppState& app = session_.App();
    EntryState& entry = app.entry;
    if (entry.HeldTypeKey == 0 && session_.Engine().PendingChord().Root == 0) {
        entry.HeldTypeKey = Byte(key);
        app.chords.TypeOverride = static_cast<std::int16_t>(app.chords.SlotMap.TypeOf(value));
    }
    return true;
}

bool ChordEntry::ChordKeyDown(int key, int value, bool autoRepeat, EntryModifiers modifiers) {
    core::AppState& app = session_.App();
    EntryState& entry = app.entry;
    if (autoRepeat || entry.HeldChordKey != 0) return true;
    entry.HeldChordKey = Byte(key);
    // Shift or Ctrl held with the chord key chooses its type even when their own key stroke
    // was not taken (it came while the last chord still waited for its beat): the player
    // holding Shift means a minor chord. A type already chosen by a key stays.
    int type = MajorSlot;
    if (app.chords.TypeOverride == 0 && (modifiers.Shift || modifiers.Ctrl))
        type = app.chords.SlotMap.TypeOf(modifiers.Shift ? KeyValue(ShiftKey) : KeyValue(CtrlKey));
    recogniser_.SetChord(static_cast<std::int16_t>(value), static_cast<std::int16_t>(type), app.keyboard.CapoShift);
    return true;
}

bool ChordEntry::MelodyKeyDown(int key, int value, KeyZoneKind zone, EntryModifiers modifiers) {
    core::AppState& app = session_.App();
    EntryState& entry = app.entry;
    const auto index = static_cast<std::size_t>(key);
    if (entry.KeyHeldNote[index] != 0) return true;  // auto-repeat of a sounding key
    const bool upper = UpperRow(zone);
    int note = value + (upper ? 12 : 0);
    int channel = app.engine.VoiceChannel & 0x0F;
    if (app.options.KeyboardSplit) {
        const SplitZone& split = app.keyboard.Zones[upper ? UpperSplitZone : LowerSplitZone];
        if (split.On && split.Channel >= 1 && split.Channel <= 16) {
            channel = split.Channel - 1;
            note += split.OctaveShift + (upper ? 12 : 0);
        }
    }
    note += KeyboardTranspose(session_);
    InputLink& peers = peers_ ? *peers_ : NoInputModules::Shared();
    note = AdjustMelodyNote(session_, peers, channel, note, true, {modifiers.Ctrl, modifiers.Shift}, true);
    if (note < 1 || note > 127) return true;  // moved off the keyboard: not played
    entry.KeyHeldNote[index] = Byte(note);
    entry.KeyChannel[index] = Byte(channel);
    session_.Engine().PlayerPlays(channel);
    const int velocity = HumanVelocity(session_.Random(), app.engine.ChannelVolume[static_cast<std::size_t>(channel)]);
    SendVoiceMessage(session_, peers_, Status(NoteOn, channel), Byte(note), Byte(velocity));
    return true;
}

bool ChordEntry::KeyUp(int virtualKey, EntryModifiers modifiers) {
    if (virtualKey < 0 || virtualKey > 255) return false;
    const int key = KeyLayoutMap(virtualKey, session_.App().options.ComputerKeyboardLayout);
    const int value = KeyValue(key);
    const KeyZoneKind zone = KeyZone(key);
    if (value == 0) return false;
    core::AppState& app = session_.App();
    EntryState& entry = app.entry;
    const auto index = static_cast<std::size_t>(key);
    if (entry.KeyHeldNote[index] != 0) {
        SendVoiceMessage(session_, peers_, Status(NoteOn, entry.KeyChannel[index]), entry.KeyHeldNote[index], 0);
        entry.KeyHeldNote[index] = 0;
        return true;
    }
    bool consumed = false;
    if (key == entry.HeldChordKey) {
        entry.HeldChordKey = 0;
        if (app.options.PlayChords && app.clock.ClockState == 0) sectionKeys_.StopTriggeredChord();
        consumed = true;
    }
    if (value <= LastTypeValue || IsChordKey(zone)) {
        if (key == entry.HeldTypeKey || modifiers.Shift || modifiers.Ctrl || modifiers.Alt) {
            app.chords.TypeOverride = 0;
            entry.HeldTypeKey = 0;
        }
        consumed = true;
    }
    return consumed;
}

bool ChordEntry::FunctionKey(int fKey) {
    const data::ControlKeys& keys = session_.App().config.Keys;
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
    core::AppState& app = session_.App();
    EntryState& entry = app.entry;
    for (std::size_t key = 0; key < entry.KeyHeldNote.size(); ++key) {
        if (entry.KeyHeldNote[key] == 0) continue;
        SendVoiceMessage(session_, peers_, Status(NoteOn, entry.KeyChannel[key]), entry.KeyHeldNote[key], 0);
        entry.KeyHeldNote[key] = 0;
    }
    for (std::size_t note = 0; note < entry.ScreenSentNote.size(); ++note) {
        if (entry.ScreenSentNote[note] == 0) continue;
        SendVoiceMessage(session_, peers_, Status(NoteOn, entry.ScreenSentChannel[note]),
                         Byte(entry.ScreenSentNote[note] - 1), 0);
        entry.ScreenSentNote[note] = 0;
    }
    if (entry.HeldTypeKey != 0) app.chords.TypeOverride = 0;
    entry.HeldTypeKey = 0;
    if (entry.HeldChordKey != 0 && app.options.PlayChords && app.clock.ClockState == 0) {
        sectionKeys_.StopTriggeredChord();
    }
    entry.HeldChordKey = 0;
}

}  // namespace chordella::chords
