// The keyboard's road to the accompaniment, measured on a running arranger with in-memory
// ports and the virtual clock:
//  - wall time from a note-on arriving at the input callback (the third key of C E G) to the
//    chord being pending, through the ring, the notification and the keyboard input;
//  - wall time for a melody note from the callback to the main output (thru);
//  - ticks from the chord being pending to the style applying it and to its first
//    transposed note, for a chord played at every tick position within a beat (grid 1/4,
//    a style with a note on every eighth).
// Prints p50, p99 and max; numbers, never pass or fail.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/AppState.h"
#include "app/LiveArranger.h"
#include "core/Session.h"
#include "core/StyleStore.h"
#include "engine/AccompanimentEngine.h"
#include "engine/Clock.h"
#include "engine/Transport.h"
#include "midi/MemoryBackend.h"
#include "platform/RecordingPrompter.h"
#include "support/StyleBuilder.h"

namespace {

using namespace chordella;
using Clock = std::chrono::steady_clock;

struct Rig {
    Rig() {
        core::SessionParts parts;
        parts.prompter = std::make_unique<platform::RecordingPrompter>();
        folder = (std::filesystem::temp_directory_path() / "chordella-dispatch-bench").string();
        std::filesystem::create_directories(folder);
        parts.paths = platform::Paths::InFolder(folder);
        auto backend = std::make_unique<midi::MemoryBackend>();
        memory = backend.get();
        memory->AddInput("Keyboard");
        memory->AddOutput("Out");
        parts.midiBackend = std::move(backend);
        session = std::make_unique<core::Session>(std::move(parts));
        arranger = std::make_unique<app::LiveArranger>(*session, state);
        session->MidiInput1()->Open();
        session->MidiInput1()->Start();
        session->MidiOutput1()->Open();
        session->Midi().SetCurrentOutput(session->MidiOutput1());
    }

    bool LoadStyle() {
        testing::StyleBuilder b;
        b.Meter(4).Tempo(120);
        auto& basic = b.Part(data::StylePart::Basic).Measures(1);
        for (int at = 0; at < 96; at += 12) basic.Note(0, 60, 100, at, 6);
        const std::string path = folder + "/Bench.vxs";
        return b.Write(path) && data::StyleStore(*session).Load(path) == data::StyleLoadResult::Loaded;
    }

    void Feed(std::vector<std::uint8_t> bytes) {
        memory->Feed(0, 0, bytes);
        session->Loop().RunPending();
    }

    std::string folder;
    midi::MemoryBackend* memory = nullptr;
    std::unique_ptr<core::Session> session;
    app::AppState state;
    std::unique_ptr<app::LiveArranger> arranger;
};

void Report(const char* what, std::vector<double> values, const char* unit) {
    std::sort(values.begin(), values.end());
    auto at = [&](double q) { return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))]; };
    std::printf("%-48s p50 %8.2f  p99 %8.2f  max %8.2f %s  (n=%zu)\n", what, at(0.5), at(0.99), values.back(), unit,
                values.size());
}

void NoteOnToPendingChord() {
    Rig rig;
    rig.arranger->Clock().StartVirtual(120);  // the chord waits for the grid: it stays pending
    std::vector<double> micros;
    for (int i = 0; i < 20000; ++i) {
        rig.Feed({0x90, 48, 100, 0x90, 52, 100});
        const auto start = Clock::now();
        rig.memory->Feed(0, 0, {0x90, 55, 100});
        rig.session->Loop().RunPending();
        const auto end = Clock::now();
        if (rig.session->Engine().PendingChord().Root <= 0) std::fprintf(stderr, "no chord pending\n");
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        rig.Feed({0x90, 48, 0, 0x90, 52, 0, 0x90, 55, 0});
        rig.session->Engine().DropPendingChord();
    }
    Report("note-on at the callback -> chord pending", micros, "us");
}

void MelodyThru() {
    Rig rig;
    std::vector<double> micros;
    for (int i = 0; i < 20000; ++i) {
        const auto start = Clock::now();
        rig.memory->Feed(0, 0, {0x90, 72, 100});
        rig.session->Loop().RunPending();
        micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        rig.Feed({0x80, 72, 64});
        if (i % 1000 == 0) rig.memory->ClearSent(0);
    }
    Report("melody note-on at the callback -> main output", micros, "us");
}

void TicksToTransposedNote() {
    std::vector<double> toApply, toNote;
    for (int offset = 0; offset < 24; ++offset) {
        Rig rig;
        if (!rig.LoadStyle()) {
            std::fprintf(stderr, "the bench style could not be loaded\n");
            return;
        }
        engine::Clock& clock = rig.arranger->Clock();
        clock.StartVirtual(120);
        rig.arranger->Transport().StartStyle();
        clock.RunVirtualTicks(48 + offset);
        rig.Feed({0x90, 45, 100, 0x90, 48, 100, 0x90, 52, 100});  // A C E
        rig.memory->ClearSent(0);
        const std::int64_t pendingAt = rig.state.clock.TickCount;
        std::int64_t applied = -1, sounded = -1;
        for (int tick = 0; tick < 96 && sounded < 0; ++tick) {
            clock.RunVirtualTicks(1);
            const std::int64_t now = rig.state.clock.TickCount - pendingAt;
            if (applied < 0 && rig.state.engine.StyleType == 2) applied = now;
            for (const midi::SentMessage& m : rig.memory->Sent(0)) {
                const int status = static_cast<int>(m.Packed & 0xFF);
                const int note = static_cast<int>((m.Packed >> 8) & 0x7F);
                const int velocity = static_cast<int>((m.Packed >> 16) & 0x7F);
                if (sounded < 0 && status == 0x90 && velocity > 0 && note % 12 == 9) sounded = now;
            }
            rig.memory->ClearSent(0);
        }
        toApply.push_back(static_cast<double>(applied));
        toNote.push_back(static_cast<double>(sounded));
    }
    Report("chord pending -> applied by the tick", toApply, "ticks");
    Report("chord pending -> first transposed note", toNote, "ticks");
}

}  // namespace

int main() {
    NoteOnToPendingChord();
    MelodyThru();
    TicksToTransposedNote();
    return 0;
}
