#pragma once
// The transport around the engine: starting and stopping the style and the song (Play,
// Record, Stop), the control keys that switch sections, the count-in and metronome, the
// panic functions, the accompaniment switch, "Sy&nc. Start" and the "Play Parts" menu. It is
// the engine's TickLink and the session's TransportLink; the chord memory, the melody
// track and chord recognition plug into it through TransportModulesLink.
//
// Driving it (control thread):
//   engine::AccompanimentEngine engine(session, app.engine, app.clock, app.options);
//   engine::Clock clock(session, engine, app.clock, app.options);
//   engine::Transport transport(session, engine, clock,    // attaches itself to both
//                               app.transport, app.melody, app.options, app.config);
//   transport.SetPeers(peers);  // before anything plays: app::Arranger wires app::TransportPeers
//   transport.StartStyle();     // live: the first chord starts the style (Intro with "Play Intro")
//   transport.Play();           // the song in the chord memory
//   transport.Record();         // chord recording; Record(true) is step recording
//   transport.Stop();           // every sounding note ends, priority back to normal

#include <functional>

#include "engine/ClockState.h"
#include "engine/EngineState.h"
#include "core/Links.h"
#include "engine/MelodyState.h"
#include "core/Options.h"
#include "engine/TransportState.h"
#include "data/ConfigState.h"
#include "data/StyleLoadLink.h"
#include "engine/Sections.h"
#include "engine/TickLink.h"
#include "engine/TransportModulesLink.h"

namespace chordella::core { class Session; }

namespace chordella::engine {

class AccompanimentEngine;
class Clock;

class Transport final : public TickLink, public core::TransportLink {
public:
    // Control thread. Attaches itself to the engine and the style loader; whoever builds it
    // makes it the session's transport link. The transport owns its running state and the
    // switches the user toggles through it (count-in, metronome, intro, ending); it reads the
    // control-key settings, and a stop ends the melody's sounding notes with the style's.
    Transport(core::Session& session, AccompanimentEngine& engine, Clock& clock, TransportState& transportState,
              MelodyState& melodyState, core::Options& options, const data::ConfigState& config);
    // Control thread. Detaches itself (the engine falls back to its looping sections) and
    // hands the session's transport link back.
    ~Transport() override;
    Transport(const Transport&) = delete;
    Transport& operator=(const Transport&) = delete;

    // Control thread, outside a tick. The peers must be set before the transport plays and
    // outlive it, or be cleared (nullptr) before they go; nothing may run meanwhile.
    void SetPeers(TransportModulesLink* peers);
    bool ModulesWired() const { return peers_ != nullptr; }
    engine::Sections& SectionLogic() { return sections_; }
    // The transport's running state (for the engine's own modules).
    TransportState& State() { return transportState_; }

    // --- Transport (control thread, user actions) ---
    // "Play - F10": the loaded MIDI file or the chord memory ("Chordmemory is empty !").
    // Again while an external start is awaited: the hold ends.
    void Play();
    // "&Record - F9" (stepRecord: "S&tep Record"): chord recording after its questions.
    void Record(bool stepRecord = false);
    // "Punc&h in" and "Play && Over&write": the overwrite box, then Record or Play.
    void PunchIn();
    void PlayAndOverwrite();
    // "Stop - F10". Also from inside a tick (ending finished, fade-out ended, end of style,
    // external stop): every sounding note ends and the real-time priority is given back.
    void Stop() override;
    // The style starts (a chord played while it is idle, tap tempo): Intro when "Play Intro"
    // is on and the style has one, else Basic; the clock is switched on when it is off.
    void StartStyle() override;
    bool StyleStarted() override;
    // Menu "Play Parts" (tags 100 … 107): the part plays and loops.
    void PlayPart(int tag);
    // The style creator's material from offset `from` to `to` (see core::TransportLink).
    bool PlayRange(std::int32_t from, std::int32_t to, bool loop, core::RangeBeatLink& beats) override;
    // Switches to part 0 … 7 at once (see Sections::SwitchSection).
    bool SwitchSection(int section) { return sections_.SwitchSection(section); }

    // --- Panic and switches (control thread) ---
    void AllNotesOff();        // "All Notes Off"
    void ResetControllers();   // "Reset Controllers"
    void SetAccompaniment(bool on);  // "Accompaniment"
    void ToggleAccompaniment();
    // "Sy&nc. Start". In slave mode the style waits for the external MIDI start. Otherwise
    // Sync Start is armed until the next chord of the chord zone starts the style (any start
    // ends it); pressed while a style plays it stops the style and arms, so the next chord
    // starts it again from its beginning; pressed while armed it is no longer armed.
    void ToggleSyncStart();
    // "Fade": the style that plays fades out and then stops, as an ending without an
    // ending part does; nothing while no style plays or a fade runs.
    void FadeOut();
    void ToggleCountIn();      // "Count in"
    void ToggleMetronome();    // "Metronome"
    void TogglePlayIntro();    // "Play Intro"
    void SetPlayEnding(bool on);  // "Play Ending"

    // --- The engine's seams (control thread, mostly inside the tick) ---
    bool CountInTick() override;
    void BeatOverran() override;
    bool ChordMemoryStep() override;
    void MelodyStep() override;
    void ApplyCommandKey() override;
    void SectionStep() override;
    void StopTransport() override { Stop(); }
    void MetronomeClick(int level) override;
    bool ChordMemoryEmpty() override;
    void ChordMemoryJumpToEnd() override;
    bool ChordMemoryBusy() override;
    bool ChordCodeSentAhead() override;
    void MeterKindChanged(MeterKind from, MeterKind to) override;
    void MeasureUnitsSetFromFile() override;
    bool EditorTakesChord(std::int16_t root, std::int16_t type) override;
    bool EditorSoundsChords() override;
    bool EditorTakesChords() override;
    bool NoChordMarked() override;
    bool StepRecordTakesChord() override;

private:
    // The transport's part of loading a style: no load while recording, the part selector
    // starts at Intro with "Play Intro". (The clock's hooks stop a playing style.)
    class StyleLoadSteps final : public data::StyleLoadLink {
    public:
        explicit StyleLoadSteps(Transport& transport) : transport_(transport) {}
        bool RecordingRuns() override;
        bool IntroEnabled() override;
        // Steps the transport has no part in (the clock's hooks stop a playing style).
        void ConfirmReplace(bool, std::function<void(bool)> then) override { then(true); }
        void BeforeLoad() override {}
        void ApplyHeader(const data::StyleHeader&, const data::StyleMeterChoice&) override {}
        int MapProgram(int program) override { return program; }
        bool Sc55InstrumentSet() override { return false; }
        void AfterLoad() override {}
        void AfterReset() override {}
        bool ConvertForeignStyle(const std::string&) override { return false; }

    private:
        Transport& transport_;
    };

    bool BeginStyle(int part, bool loop);
    // The range PlayRange started is over: its beat link is told and forgotten.
    void EndRange();
    // One control key in style mode: a section request, the pad, the ending.
    void StyleModeKey(int key);
    // The keys that act in either mode; false when the key was consumed (222, 223).
    bool IndependentKey(int key, int value);
    void ClearPendingKey();
    // Asks the recording's question; `then` gets the answer later (the ticks go on meanwhile).
    void ConfirmRecording(std::function<void(bool)> then);
    // Record once its question was answered Yes.
    void StartRecording(bool stepRecord);
    void SwitchClockOn();
    void ArmStart();
    void RaiseRealtime();
    void LowerRealtime();
    void SilenceAll();

    core::Session& session_;
    AccompanimentEngine& engine_;
    Clock& clock_;
    TransportState& transportState_;
    MelodyState& melodyState_;
    core::Options& options_;
    const data::ConfigState& config_;
    EngineState& engineState_;
    ClockState& clockState_;
    TransportModulesLink* peers_ = nullptr;
    engine::Sections sections_;
    StyleLoadSteps loadHooks_;
    // Told of every beat while a PlayRange plays; cleared by Stop and every other start.
    core::RangeBeatLink* rangeBeats_ = nullptr;
};

}  // namespace chordella::engine
