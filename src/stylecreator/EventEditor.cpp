#include "stylecreator/EventEditor.h"

#include <algorithm>

#include "core/ChannelReset.h"
#include "core/Session.h"
#include "engine/ChordChange.h"
#include "stylecreator/PartPlacement.h"

namespace chordella::stylecreator {

bool EventEditor::IsNote(std::int32_t offset) const {
    const std::span<std::uint8_t> bytes = host_.Material();
    if (offset < 0 || offset + 2 >= static_cast<std::int32_t>(bytes.size()) || offset + 2 >= end_) return false;
    const std::uint8_t status = bytes[static_cast<std::size_t>(offset)];
    if ((status & 0xF0) != 0x90 || bytes[static_cast<std::size_t>(offset) + 2] == 0) return false;
    const int channel = status & 0x0F;
    const engine::EngineState& e = engineState_;
    const bool passes = e.SoloFilter == 0 || e.SoloFilter == channel + 1;
    return passes && e.ChannelMute[static_cast<std::size_t>(channel)] == 0;
}

void EventEditor::Show(std::int32_t offset) {
    cursor_ = offset;
    current_ = EventNote{};
    current_.Offset = offset;
    if (!IsNote(offset)) return;
    const std::span<std::uint8_t> bytes = Material();
    const auto at = static_cast<std::size_t>(offset);
    current_.OnNote = true;
    current_.Channel = bytes[at] & 0x0F;
    current_.Key = bytes[at + 1];
    current_.Velocity = bytes[at + 2];
    current_.KeyIndex = current_.Key % 12;
    current_.Octave = current_.Key / 12;
    current_.Name = std::string(EventKeyNames[static_cast<std::size_t>(current_.KeyIndex)]) + " " +
                    std::to_string(current_.Octave);
}

void EventEditor::Open(std::int32_t start, std::int32_t end, std::optional<std::int32_t> playingOffset) {
    const auto size = static_cast<std::int32_t>(Material().size());
    start_ = std::clamp(start, 0, size);
    end_ = end < 0 ? StreamEnd(Material()) : std::clamp(end, start_, size);
    undo_ = {};
    std::int32_t from = playingOffset && host_.CreatorPlaying() ? *playingOffset : start_ - 1;
    from = std::max(from, start_);
    while (from < end_ && !IsNote(from)) ++from;
    Show(from);
}

void EventEditor::Sound() {
    if (!current_.OnNote) return;
    midi::MidiOut* out = session_.AccompanimentOutput();
    if (!out || !out->IsOpen()) return;
    const auto at = static_cast<std::size_t>(current_.Offset);
    const std::span<std::uint8_t> bytes = Material();
    out->PutShort(bytes[at], bytes[at + 1], bytes[at + 2]);
}

void EventEditor::ReleaseNote() {
    if (current_.Offset >= 0) core::ResetChannel(session_.AccompanimentOutput(), current_.Channel);
}

void EventEditor::Next() {
    ReleaseNote();
    std::int32_t at = cursor_;
    do {
        ++at;
    } while (at < end_ && !IsNote(at));
    if (at >= end_) at = std::max(end_, start_);
    Show(at);
    Sound();
}

void EventEditor::Previous() {
    ReleaseNote();
    std::int32_t at = cursor_;
    do {
        --at;
    } while (at > start_ && !IsNote(at));
    Show(std::max(at, start_));
    Sound();
}

void EventEditor::SoundCurrent() {
    if (!IsNote(cursor_)) {
        std::int32_t at = cursor_;
        while (at < end_ && !IsNote(at)) ++at;
        Show(at);
    }
    Sound();
}

void EventEditor::AfterEdit() {
    engine::ResetAllChannels(engineState_, session_.AccompanimentOutput());
    session_.Style().style.StyleModified = 1;
}

bool EventEditor::SetVelocity(int velocity) {
    if (host_.CreatorPlaying() || !IsNote(cursor_)) return false;
    Material()[static_cast<std::size_t>(cursor_) + 2] = static_cast<std::uint8_t>(std::clamp(velocity, 1, 127));
    session_.Style().style.StyleModified = 1;
    Show(cursor_);
    return true;
}

bool EventEditor::Change(int keyIndex, int octave) {
    if (host_.CreatorPlaying() || !IsNote(cursor_)) return false;
    const int key = 12 * std::clamp(octave, 1, 8) + std::clamp(keyIndex, 0, 11);
    if (key > 127) return false;
    const std::span<std::uint8_t> bytes = Material();
    const auto at = static_cast<std::size_t>(cursor_);
    const std::uint8_t channel = bytes[at] & 0x0F;
    const std::uint8_t oldKey = bytes[at + 1];
    undo_ = {UndoRecord::Kind::Change, cursor_, -1, oldKey};
    bytes[at + 1] = static_cast<std::uint8_t>(key);
    // The note's end: a note-on with velocity 0 or a note-off of the same channel and old key.
    for (auto i = at + 3; i + 2 < bytes.size() && i + 2 < static_cast<std::size_t>(end_); ++i) {
        const std::uint8_t status = bytes[i];
        if ((status & 0x0F) != channel || bytes[i + 1] != oldKey) continue;
        const bool ends = ((status & 0xF0) == 0x90 && bytes[i + 2] == 0) || (status & 0xF0) == 0x80;
        if (!ends) continue;
        bytes[i + 1] = static_cast<std::uint8_t>(key);
        undo_.EndOffset = static_cast<std::int32_t>(i);
        break;
    }
    AfterEdit();
    Show(cursor_);
    Sound();
    return true;
}

bool EventEditor::Clear() {
    if (host_.CreatorPlaying() || !IsNote(cursor_)) return false;
    Sound();
    const auto at = static_cast<std::size_t>(cursor_);
    undo_ = {UndoRecord::Kind::Clear, cursor_, -1, Material()[at + 2]};
    Material()[at + 2] = 0;
    AfterEdit();
    Next();
    return true;
}

bool EventEditor::Undo() {
    const std::span<std::uint8_t> bytes = Material();
    auto inside = [&](std::int32_t offset) { return offset >= 0 && static_cast<std::size_t>(offset) + 2 < bytes.size(); };
    switch (undo_.What) {
    case UndoRecord::Kind::None:
        return false;
    case UndoRecord::Kind::Change: {
        if (!inside(undo_.NoteOffset)) return false;
        const std::uint8_t newKey = bytes[static_cast<std::size_t>(undo_.NoteOffset) + 1];
        bytes[static_cast<std::size_t>(undo_.NoteOffset) + 1] = undo_.OldValue;
        if (inside(undo_.EndOffset) && bytes[static_cast<std::size_t>(undo_.EndOffset) + 1] == newKey)
            bytes[static_cast<std::size_t>(undo_.EndOffset) + 1] = undo_.OldValue;
        break;
    }
    case UndoRecord::Kind::Clear:
        if (!inside(undo_.NoteOffset)) return false;
        bytes[static_cast<std::size_t>(undo_.NoteOffset) + 2] = undo_.OldValue;
        break;
    }
    undo_ = {};
    AfterEdit();
    Show(cursor_);
    return true;
}

}  // namespace chordella::stylecreator
