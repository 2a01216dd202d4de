#pragma once
// What the MIDI input handlers ask of the modules around them that are not chord input:
// the instrument keys and program control of the remote control, the MIDI commands, the
// melody track's recording, the style creator's recording from the second input, and the
// chord memory's key marks. The live arranger implements it (app/LiveArranger.cpp); tests
// that build an input handler alone use a stand-in (tests/support/StandInLinks.h).
//
// Control thread, all of them (called from the input handlers).

#include <cstdint>

namespace chordella::chords {

class InputLink {
public:
    virtual ~InputLink() = default;

    // --- Remote control ---
    // An instrument key (index from the lower bound of the instrument zone).
    virtual void InstrumentKey(int index) = 0;
    // A program-control function (0 … 3 for the top function keys).
    virtual void ProgramControl(int number) = 0;
    // The program-control code assigned to key 0 … 11 of the second input (0 = none).
    virtual int ProgramControlCode(int key) = 0;
    // MIDI command 0 … 11 of the MIDI commands window.
    virtual void RunMidiCommand(int number) = 0;
    // A channel message of the second input before its commands are looked at: learned
    // bindings and "Learn" take it (true), else it goes on as usual.
    virtual bool SecondInputMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;

    // --- The melody track ---
    // "&Record" is on and the melody track has room.
    virtual bool MelodyRecording() = 0;
    virtual void RecordMelodyEvent(std::uint8_t status, std::uint8_t key, std::uint8_t velocity) = 0;

    // --- The style creator recording from the second input ---
    virtual bool CreatorRecording() = 0;
    virtual void CreatorRecord(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
    // The sequencer on the second input sent Start or Continue while the creator records:
    // "Transmit Controllers" goes on.
    virtual void CreatorSequencerStarted() = 0;

    // --- The transport ---
    // Play (a control key while the style player is idle in style mode): the song in the
    // chord memory, or a loaded MIDI file.
    virtual void Play() = 0;
    // "PAD : mute at intros && endings": the pad channel is set up again.
    virtual void SetUpPadChannel() = 0;

    // --- Chord memory and start measure ---
    // While the chord memory plays or records: the song's key (the pitch class of its
    // opening key mark, a minor key as its relative major); -1 otherwise.
    virtual int SongKey() = 0;
    // The chord-memory position (4 = measure 1, beat 1).
    virtual int ChordMemoryPosition() = 0;
    // The chord-memory's one-time suppression of the ending key: true when it was set (it is
    // cleared by this call).
    virtual bool TakeEndingSuppression() = 0;
    // The start-measure field, and controller 21's change of it ("Intro Detection").
    virtual int StartMeasure() = 0;
    virtual void SetStartMeasure(int measure) = 0;
};

}  // namespace chordella::chords
