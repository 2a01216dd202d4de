#pragma once
// The chord-memory editor's side of live chord entry, on the control thread. The editor
// window reports whether it is shown and active, its "Input chord live " and "Acoustic chord
// control" boxes and the selected beat; this keeps them and answers the modules that ask:
//
//   - the transport, when a chord becomes current: with "Input chord live " ticked the chord
//     goes into the selected beat instead of playing (a playing style stops), unless the
//     chord comes from the song that plays or records, which must not write into itself; with
//     "Acoustic chord control" ticked while the editor is active, it also sounds;
//   - the pads, in the editor's chord-entry mode ("Input chord live ") or with the main
//     window's " Edit" box: a pad's chord, or a section button's command, goes into the
//     selected beat.
//
// After each entry the selected beat moves on by one, so a song can be played in chord by
// chord. The window follows through the display snapshot (Entries, Measure, Beat).

#include <cstdint>
#include <functional>

#include "app/SongEditing.h"
#include "app/TransportPeers.h"
#include "chords/ChordEntry.h"

namespace chordella::chords { struct ChordSlotMap; }

namespace chordella::desktop {

class EditorChordInput final : public chords::PadEditorLink {
public:
    // What the editor asks of the transport: whether the style plays, whether the chord
    // memory plays or records (its chords are not the player's), and to stop the style
    // (later on the control thread, never inside the tick that entered the chord).
    struct Transport {
        std::function<bool()> StylePlaying;
        std::function<bool()> ChordMemoryBusy;
        std::function<void()> StopStyle;
    };
    EditorChordInput(app::SongEditing& editing, const chords::ChordSlotMap& slots, Transport transport);

    // What the window reports; a selection made before the latest entry is ignored.
    void Set(const app::EditorLiveInput& input);
    // The transport's side (TransportPeers::SetEditorPath).
    app::TransportPeers::EditorPath Path();

    // "Input chord live " is ticked while the editor is shown.
    bool ChordEntryMode() override { return input_.Open && input_.InputLive; }
    void TakeChord(int root, int slot) override;

    // Chords entered so far and the beat the next one goes to.
    std::uint32_t Entries() const { return entries_; }
    int Measure() const { return input_.Measure; }
    int Beat() const { return input_.Beat; }

private:
    // Played chords go to the editor: the chord memory neither plays nor records.
    bool TakesPlayedChords() { return ChordEntryMode() && !transport_.ChordMemoryBusy(); }
    bool TakesPlayedChord(std::int16_t root, std::int16_t type);
    bool SoundsChords() const { return input_.Open && input_.Active && input_.Acoustic; }
    // The entry was written: the next goes to the following beat.
    void Entered();

    app::SongEditing& editing_;
    const chords::ChordSlotMap& slots_;
    Transport transport_;
    app::EditorLiveInput input_;
    std::uint32_t entries_ = 0;
};

}  // namespace chordella::desktop
