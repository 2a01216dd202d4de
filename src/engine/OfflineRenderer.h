#pragma once
// Offline rendering: the engine runs on the virtual clock, ticks back to back, and every
// message it sends is recorded with the tick it was sent in, counted from the first tick
// the style plays in (the first beat of measure 1; a song's lead-in is left out). Tempo changes and section changes are followed tick by
// tick. The recording becomes a Standard MIDI File (data::WriteSmf) or, through the
// built-in synth, a WAV file (RenderWav).
//
//   engine::AccompanimentEngine engine(session, app.engine, app.clock, app.options);
//   engine::Clock clock(session, engine, app.clock, app.options);
//   data::StyleStore(session).Load("Pop.vxs");
//   engine::OfflineRenderer renderer(session, engine, clock);
//   renderer.Start(clock.State().Tempo);          // the set-up at time 0, the clock running
//   engine.Sections().PlayPart(1);  …chord…
//   renderer.Run(8 * 96);
//   data::SmfContent content = renderer.Finish("Pop");
//
// The renderer takes the session's accompaniment, clock and chord-code outputs while it
// lives and gives them back when it goes. Control thread. Rendering is offline work: the
// recording grows as it needs to (it is reserved up front for a few minutes of music).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/SmfWriter.h"
#include "data/StyleModel.h"
#include "midi/AudioSettings.h"
#include "midi/MidiOut.h"

namespace chordella::core { class Session; }

namespace chordella::engine {

class AccompanimentEngine;
class Clock;

// An output that records what is sent at the renderer's present tick.
class RenderRecorder final : public midi::MidiOut {
public:
    explicit RenderRecorder(const std::int64_t& now) : now_(now) { Messages.reserve(1 << 16); }

    bool IsOpen() const override { return true; }
    void PutShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void PutShortMsg(std::uint32_t packed) override;

    std::vector<data::SmfChannelMessage> Messages;

private:
    const std::int64_t& now_;
};

class OfflineRenderer {
public:
    OfflineRenderer(core::Session& session, AccompanimentEngine& engine, Clock& clock);
    ~OfflineRenderer();
    OfflineRenderer(const OfflineRenderer&) = delete;
    OfflineRenderer& operator=(const OfflineRenderer&) = delete;

    // Starts the virtual clock at `bpm`; the next tick is time 0. With `sendSetup`, the
    // loaded style's channel set-up (bank, program, controllers, pressure) is sent at time 0,
    // so the file and the synth start with the style's sounds.
    void Start(int bpm, bool sendSetup = true);
    // Runs `ticks` ticks.
    void Run(std::int64_t ticks);
    // Runs while the style plays (and the clock runs), at most `limit` ticks; returns the
    // number of ticks run.
    std::int64_t RunWhilePlaying(std::int64_t limit);
    // Stops the style (the engine's stop releases its notes), ends every note still
    // sounding, and returns the recording. `name` names the file's first track.
    data::SmfContent Finish(const std::string& name);

    // Ticks run since Start.
    std::int64_t Now() const { return now_; }
    const std::vector<data::SmfChannelMessage>& Messages() const { return recorder_.Messages; }

private:
    void Follow();
    void MoveToFirstBeat(data::SmfContent& content) const;
    void ReleaseSounding();

    core::Session& session_;
    AccompanimentEngine& engine_;
    Clock& clock_;
    std::int64_t now_ = 0;
    RenderRecorder recorder_{now_};
    std::vector<data::SmfTempo> tempos_;
    std::vector<data::SmfMarker> markers_;
    int lastSection_ = -1;
    std::int64_t firstActive_ = -1;   // the first tick the style player was active in
    bool started_ = false;
};

// Sends a style's channel set-up (bank, program, the controllers that are set, pressure)
// to `out`: what a sound module needs before the style's first note.
void SendChannelSetup(const data::StyleHeader& header, midi::MidiOut& out);

// The name of a part as the part selector shows it, without its leading blank ("Basic").
std::string PartName(int part);

// Microseconds from time 0 to `tick` under the tempo changes (the first applies from 0).
std::int64_t MicrosAt(const std::vector<data::SmfTempo>& tempos, std::int64_t tick);

// Renders the recording through the built-in synth into a WAV file, with `tailMicros` of
// sound after the last tick for the notes to die away, with the SoundFont, volume, reverb
// and chorus of `audio`. False with `error` set when the synth or its SoundFont is missing
// or the file cannot be written.
inline constexpr std::int64_t WavTailMicros = 2'000'000;
bool RenderWav(const data::SmfContent& content, const std::string& path, std::string& error,
               std::int64_t tailMicros = WavTailMicros, const midi::AudioSettings& audio = {});

}  // namespace chordella::engine
