#pragma once
// The event editor ("Style - Events"): steps note by note through a range of the material
// and changes one note at a time — its key (the note's end follows), its velocity, or clears
// it — with one level of undo. A model without widgets: the window shows `Current()` and
// forwards the buttons.
//
// A note is a note-on with velocity above 0 on a channel the main window lets through
// (SoloFilter and ChannelMute). The cursor is a byte offset into the material.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "stylecreator/CreatorHostLink.h"

namespace chordella::core { class Session; }
namespace chordella::engine { struct EngineState; }

namespace chordella::stylecreator {

inline constexpr const char* EventEditorTitle = "Style - Events";
// The key list of the panel, by pitch class.
inline constexpr std::array<const char*, 12> EventKeyNames = {"C", "C#", "D", "Eb", "E", "F",
                                                             "F#", "G", "Ab", "A", "Bb", "B"};

struct EventNote {
    bool OnNote = false;        // the cursor stands on a note
    std::int32_t Offset = -1;
    int Channel = 0;            // 0-based
    int Key = 0;
    int Velocity = 0;
    std::string Name;           // "C 5" for key 60
    int KeyIndex = 0;           // key mod 12: the key list's entry
    int Octave = 0;             // key div 12: the octave list shows "1" … "8"
};

class EventEditor {
public:
    // Reads the mixer's mutes and solo filter of `engineState` and resets its channels after
    // an edit.
    EventEditor(core::Session& session, engine::EngineState& engineState, CreatorHostLink& host)
        : session_(session), engineState_(engineState), host_(host) {}

    // Control thread, all of them.
    // Opens on [start, end) of the material (end < 0: to the material's end); the cursor is
    // `playingOffset` when the creator plays, else start − 1. Shows the first note at or
    // after the cursor without sounding it.
    void Open(std::int32_t start, std::int32_t end, std::optional<std::int32_t> playingOffset);
    const EventNote& Current() const { return current_; }

    // Next / previous note (stops at the range's ends); the note is shown and sounded.
    void Next();
    void Previous();
    // The middle button: the current note again, or the next one.
    void SoundCurrent();
    // Releasing an arrow button: the channel of the note falls silent.
    void ReleaseNote();

    // The velocity bar (1 … 127). Refused while the creator plays or off a note.
    bool SetVelocity(int velocity);
    // "Change": the note becomes key 12 × octave + keyIndex (octave 1 … 8), its end too.
    bool Change(int keyIndex, int octave);
    // "Clear": the note sounds once, falls silent (velocity 0) and the cursor moves on.
    bool Clear();
    // "Undo": the last Change or Clear; false before any.
    bool Undo();

private:
    bool IsNote(std::int32_t offset) const;
    void Show(std::int32_t offset);
    void Sound();
    void AfterEdit();
    std::span<std::uint8_t> Material() { return host_.Material(); }

    struct UndoRecord {
        enum class Kind { None, Change, Clear } What = Kind::None;
        std::int32_t NoteOffset = -1;
        std::int32_t EndOffset = -1;   // -1: the change found no end
        std::uint8_t OldValue = 0;     // key (Change) or velocity (Clear)
    };

    core::Session& session_;
    engine::EngineState& engineState_;
    CreatorHostLink& host_;
    std::int32_t start_ = 0;
    std::int32_t end_ = 0;
    std::int32_t cursor_ = -1;
    EventNote current_;
    UndoRecord undo_;
};

}  // namespace chordella::stylecreator
