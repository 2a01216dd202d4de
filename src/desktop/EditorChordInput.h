#pragma once
// The chord-memory editor's side of live chord entry, on the control thread. The editor
// window reports whether it is shown and active, its "Input chord live " and "Acoustic chord
// control" boxes and the selected beat; this keeps them and answers the modules that ask:
//
//   - the transport, when a chord becomes current: with "Input chord live " ticked the chord
//     goes into the selected beat instead of playing (a playing style stops); with
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
    // `stylePlaying` and `stopStyle` reach the transport; `stopStyle` runs later on the
    // control thread, never inside the tick that entered the chord.
    EditorChordInput(app::SongEditing& editing, const chords::ChordSlotMap& slots, std::function<bool()> stylePlaying,
                     std::function<void()> stopStyle);

    // What the window reports; a selection made before the latest entry is ignored.
    void Set(const app::EditorLiveInput& input);
    // The transport's side (TransportPeers::SetEditorPath).
    app::TransportPeers::EditorPath Path();

    bool ChordEntryMode() override { return input_.Open && input_.InputLive; }
    void TakeChord(int root, int slot) override;

    // Chords entered so far and the beat the next one goes to.
    std::uint32_t Entries() const { return entries_; }
    int Measure() const { return input_.Measure; }
    int Beat() const { return input_.Beat; }

private:
    bool TakesPlayedChord(std::int16_t root, std::int16_t type);
    bool SoundsChords() const { return input_.Open && input_.Active && input_.Acoustic; }
    // The entry was written: the next goes to the following beat.
    void Entered();

    app::SongEditing& editing_;
    const chords::ChordSlotMap& slots_;
    std::function<bool()> stylePlaying_;
    std::function<void()> stopStyle_;
    app::EditorLiveInput input_;
    std::uint32_t entries_ = 0;
};

}  // namespace chordella::desktop
