#pragma once
// The keyboard side's rig with chord entry by hand on top: pads, the on-screen keyboard and
// the computer keyboard, an editor peer that records what it was handed, and the chord
// names a test compares with.

#include <string>
#include <utility>
#include <vector>

#include "DispatchRig.h"
#include "support/RecordingEditor.h"
#include "chords/ChordEntry.h"
#include "chords/ChordNames.h"

namespace chordella::testing {

struct EntryRig : DispatchRig {
    std::string Current() {
        return std::string(chords::ChordName(Chords(), Chords().CurrentRoot, Chords().CurrentType).View());
    }
    std::string Pending() {
        return std::string(chords::ChordName(Chords(), Engine().PendingRoot, Engine().PendingType).View());
    }
    void Tap(int key, chords::EntryModifiers modifiers = {}) {
        Entry.KeyDown(key, false, modifiers);
        Entry.KeyUp(key, modifiers);
    }
    void Click(const char* pad, chords::EntryModifiers modifiers = {}) {
        Entry.PadDown(pad, modifiers);
        Entry.PadUp(pad);
    }

    RecordingEditor Editor;
    chords::ChordEntry Entry{Session(), State().chords, State().keyboard, State().entry, State().options,
                             State().config, State().clock, State().engine, State().transport, State().melody,
                             Recogniser, Keys, Accompaniment, Peers, &Editor};
};

}  // namespace chordella::testing
