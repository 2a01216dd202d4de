#pragma once
// The chord sources' common entry. Every chord source (live keys through the recogniser,
// two-finger chords, pads and computer keys, chord-memory playback) ends in SetChord, which
// applies the type override and the triad and major/minor options, places the root, keeps
// the chord as the current one and hands it with its four notes to the engine, which holds
// it as the pending chord until it applies it. Received chord codes and the names shown for
// chords and keys are here too; the engine has the chord it applies shown through ShowChord.
//
// Every function runs on the control thread and allocates nothing: SetChord and ShowChord
// are reached from the tick procedure.

#include <cstdint>

#include "core/Links.h"
#include "chords/ChordTypes.h"
#include "chords/NoteNames.h"
#include "chords/RecogniseChord.h"

namespace chordella::core {
class Session;
struct Options;
}  // namespace chordella::core
namespace chordella::midi {
class MidiOut;
}

namespace chordella::chords {

// What became of a control change offered to ReceiveChordCode.
enum class ChordCodeOutcome {
    PassOn,        // not a chord code, or receiving is off: the message goes on its way
    Consumed,      // a chord code (taken or deliberately ignored): drop the message
    AdLibChanged,  // an ad-lib command: drop it and refresh the voice channel set-up
};

class ChordRecogniser final : public core::ChordLink {
public:
    // Whoever builds it makes it the session's chord link; it hands the link back as it goes.
    // It keeps the chord state; of the options it writes "Flat <> Sharp" (ToggleSpelling)
    // and " Melody Ad Lib" (a received ad-lib code). The chords it finds go to `engine`,
    // which outlives it.
    ChordRecogniser(core::Session& session, ChordState& chordState, core::Options& options, core::EngineLink& engine);
    ~ChordRecogniser() override;
    ChordRecogniser(const ChordRecogniser&) = delete;
    ChordRecogniser& operator=(const ChordRecogniser&) = delete;

    // A chord from any source. Type 0 (or a type no table knows, or a root ≤ 0) changes
    // nothing. `offset` is added to the root (only its remainder mod 12 unless "Play Chords"
    // is on); NoOffset (129) adds nothing. The root is kept a playable note by octaves.
    void SetChord(std::int16_t root, std::int16_t type, std::int16_t offset) override;

    // Names the style container's held-note list ({0, 0} when it names nothing).
    core::ChordPair Recognise(int highestIndex = AllTypesIndex, RecogniseMode mode = RecogniseMode::Live,
                              int divisor = 1);

    // A key pressed with "Two-Finger" on (key plus capo shift). The first key of a chord
    // sets a major chord on it; the second key, while that chord is pending in the engine,
    // chooses the type by its distance through the slot map. Returns the chord the input's
    // common step sets: the second key's chord, or after a first key whatever the engine now
    // holds pending. A second key below the first becomes the root.
    core::ChordPair TwoFingerKey(int key);

    NameText ChordName(int root, int type) const;
    // The window title becomes "Chordella  -  Chord : " + the chord's name; with inPanels the
    // chord panels show the name too, except while the chord preview runs past the first
    // measure (they show the coming chord then).
    void ShowChord(int root, int type, bool inPanels);
    // The chord the engine applies now: shown in the title and the panels.
    void ShowChord(std::int16_t root, std::int16_t type) override { ShowChord(root, type, true); }
    // The chord memory's coming chord becomes current ahead of time (see the link).
    core::ChordPair PreviewChord(int root, int type) override;
    // "All Notes Off" and "Reset Controllers" forget the chord type a type key or pad chose
    // in advance.
    void ClearTypeOverride();
    // The tick passed the end of a beat (its 24th tick): with the smart chord keys on and
    // "Two-Finger" off, keys held from the beat before are forgotten, so a chord played later
    // is named from its own keys.
    void BeatOverran() noexcept;
    // True while a pad's chord went to the chord-memory editor and no chord followed: the
    // style has nothing to follow.
    bool NoChordMarked() const noexcept {
        return chordState_.ChordGivenToEditor && chordState_.CurrentRoot == NoCurrentChord;
    }
    // The current chord is set once more, untransposed (an intro key in song mode, so that an
    // external arranger restarts on it). Nothing while no chord is current.
    void ReapplyCurrentChord();

    // "Key: Eb maj": see KeyName in ChordNames.h; ShowKey also shows it in the chord view.
    NameText KeyName(int keyNote, bool minor, int transposition);
    void ShowKey(int keyNote, bool minor, int transposition);

    // NoteNames follows "Flat <> Sharp"; the menu item toggles the option and recopies.
    void ApplySpelling();
    void ToggleSpelling();

    // A control change 19 or 20 from the second input or a player. With "Receive Chord
    // Codes" on, a chord code becomes the current chord (unless imported material plays)
    // and is shown; 120 switches " Melody Ad Lib" on and 121 off.
    ChordCodeOutcome ReceiveChordCode(int value, int controller, int channel);
    // " Melody Ad Lib" was switched by hand: while chord codes are sent, tell the other side
    // (controller 20 with 120 for on, 121 for off). True when something was sent.
    bool AnnounceMelodyAdLib(midi::MidiOut& chordCodeOut);

private:
    core::Session& session_;
    ChordState& chordState_;
    core::Options& options_;
    core::EngineLink& engine_;
};

}  // namespace chordella::chords
