#pragma once
// The engine rig with the transport attached, a song stand-in for Play and Record, and small
// readers of what was sent: which notes sounded when, and the metronome's clicks.

#include <cstdint>
#include <vector>

#include "engine/ClockTables.h"
#include "engine/EngineRig.h"
#include "engine/Transport.h"
#include "support/StandInLinks.h"
#include "support/StuckNotes.h"

namespace chordella::testing {

// A chord memory that holds a song (or not) and remembers what the transport asked of it.
struct SongStandIn final : StandInTransportModules {
    bool Empty = false;
    std::int16_t Length = 4 + 8 * 16;  // eight measures of 4/4
    int Playbacks = 0;
    int Recordings = 0;
    int Stopped = 0;
    int Cleared = 0;
    int Programs = 0;
    bool Overwrite = false;
    int SongStartRecordings = 0;
    bool ChordMemoryEmpty() override { return Empty; }
    std::int16_t ChordMemoryLength() override { return Empty ? 4 : Length; }
    void StartPlayback() override { ++Playbacks; }
    void StartRecordingAtStart() override { ++Recordings; }
    void RecordingStopped() override { ++Stopped; }
    void ClearSong() override { ++Cleared; }
    void RequestProgramChange(int) override { ++Programs; }
    bool OverwriteBox() override { return Overwrite; }
    void SetOverwriteBox(bool on) override { Overwrite = on; }
    void StartRecordingAtSongStart() override { ++SongStartRecordings; }
};

struct TransportRig : EngineRig {
    TransportRig() {
        Session().SetTransportLink(&Transport);
        Transport.SetPeers(&NoSong);
        Clock.SelectQuantize(engine::QuantizeIndexOf("4/4"));
    }

    // Loads the style and starts it through the transport on the virtual clock at 120 bpm.
    void Start(const StyleBuilder& builder) {
        ASSERT_TRUE(Load(builder));
        Clock.StartVirtual(120);
        Transport.StartStyle();
        ASSERT_EQ(Player().StyleActive, 1);
    }

    // Puts the song stand-in (StandIn) behind the transport's Play, Record and Stop.
    void AttachSong() { Transport.SetPeers(&StandIn); }

    // A control key pressed on the keyboard: it waits for the tick that applies it.
    void Press(int key) { Engine().PendingCommandKey = static_cast<std::int16_t>(key); }
    // The keys derived below the lowest section key.
    int Lowest() const {
        const data::ControlKeys& k = Test.state.config.Keys;
        return std::min({k.FillIn, k.Ending, k.ToExtended, k.ToBasic});
    }

    // Runs until the clock's tick count reaches `tick` (ticks counted from 1).
    void RunTo(std::int64_t tick) { Run(tick - ClockFields().TickCount); }

    // The ticks at which `note` started on `channel`.
    std::vector<std::int64_t> StartsOf(int channel, int note) const {
        std::vector<std::int64_t> ticks;
        for (const SentMessage& m : Out.Messages) {
            if (m.IsNoteOn() && m.Channel() == channel && m.Data1 == note) ticks.push_back(m.Tick);
        }
        return ticks;
    }
    // The metronome's clicks (note-ons on channel 10 of its note).
    std::vector<SentMessage> Clicks() const {
        const int note = Test.state.options.MetronomeNote;
        return Out.Where([note](const SentMessage& m) { return m.Status == 0x99 && m.Data1 == note && m.Data2 > 0; });
    }

    // Declared first: they outlive the transport that points at them.
    StandInTransportModules NoSong;  // the transport's peers until AttachSong
    SongStandIn StandIn;
    engine::Transport Transport{*Test.session, Accompaniment, Clock, Test.state.transport,
                                Test.state.melody, Test.state.options, Test.state.config};
};

// The first tick of measure `measure` (1-based) of 4/4 at 24 ticks a beat, with the style
// started at tick 1; `beat` is 1-based.
constexpr std::int64_t TickOf(int measure, int beat = 1) { return (measure - 1) * 96 + (beat - 1) * 24 + 1; }

}  // namespace chordella::testing
