#include "desktop/EditorChordInput.h"

#include <utility>

#include "chords/ChordPads.h"
#include "chords/ChordSlotMap.h"

namespace chordella::desktop {

EditorChordInput::EditorChordInput(app::SongEditing& editing, const chords::ChordSlotMap& slots, Transport transport)
    : editing_(editing), slots_(slots), transport_(std::move(transport)) {}

void EditorChordInput::Set(const app::EditorLiveInput& input) {
    const int measure = input_.Measure;
    const int beat = input_.Beat;
    input_ = input;
    if (input.SeenEntries < entries_) {
        input_.Measure = measure;
        input_.Beat = beat;
    }
}

app::TransportPeers::EditorPath EditorChordInput::Path() {
    return {[this](std::int16_t root, std::int16_t type) { return TakesPlayedChord(root, type); },
            [this] { return SoundsChords(); }, [this] { return TakesPlayedChords(); }};
}

bool EditorChordInput::TakesPlayedChord(std::int16_t root, std::int16_t type) {
    if (!TakesPlayedChords()) return false;
    if (editing_.EnterChord(input_.Measure, input_.Beat, root, type)) Entered();
    // The chord was meant for the editor even where the song has no beat for it. A style
    // that plays stops, after the tick.
    if (transport_.StylePlaying()) transport_.StopStyle();
    return true;
}

void EditorChordInput::TakeChord(int root, int slot) {
    if (!input_.Open) return;
    const bool entered = slot == chords::SectionSlot
                             ? editing_.EnterSectionKey(input_.Measure, input_.Beat, root)
                             : editing_.EnterChord(input_.Measure, input_.Beat, root, slots_.TypeOf(slot));
    if (entered) Entered();
}

void EditorChordInput::Entered() {
    ++entries_;
    if (input_.Beat < editing_.BeatsPerMeasure()) {
        ++input_.Beat;
    } else {
        ++input_.Measure;
        input_.Beat = 1;
    }
}

}  // namespace chordella::desktop
