// `chordella arranger` and `chordella play` on the in-memory devices, ended by the signals a
// user's session sends: Ctrl+C (SIGINT), SIGTERM and SIGHUP (the terminal closed, the SSH
// connection dropped). Each stops cleanly: every note it started is released by a note-off,
// and the exit code is 0.

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "cli/ArrangerCommand.h"
#include "cli/RenderCommands.h"
#include "midi/MemoryBackend.h"
#include "support/BorrowedBackend.h"
#include "support/StuckNotes.h"
#include "support/StyleBuilder.h"
#include "support/TempFolder.h"

namespace chordella::testing {
namespace {

using namespace std::chrono_literals;

// Waits (at most a minute: a sanitizer build on a loaded machine is slow) until `done`;
// false when it never came.
bool WaitFor(const std::function<bool()>& done) {
    const auto giveUp = std::chrono::steady_clock::now() + 60s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

std::vector<SentMessage> Recorded(const midi::MemoryBackend& memory) {
    std::vector<SentMessage> sent;
    for (const midi::SentMessage& m : memory.Sent(-1)) {
        sent.push_back({0, static_cast<std::uint8_t>(m.Packed), static_cast<std::uint8_t>(m.Packed >> 8),
                        static_cast<std::uint8_t>(m.Packed >> 16)});
    }
    return sent;
}

int NoteOnsIn(const std::vector<SentMessage>& sent) {
    int count = 0;
    for (const SentMessage& m : sent) count += m.IsNoteOn();
    return count;
}

int NoteOns(const midi::MemoryBackend& memory) { return NoteOnsIn(Recorded(memory)); }

// Nothing is left sounding when the command has ended. (A chord change or the end of a pass
// releases with all-notes-off, as the style's channels are set to; that counts too.)
::testing::AssertionResult EveryNoteReleased(const midi::MemoryBackend& memory) {
    const std::vector<SentMessage> sent = Recorded(memory);
    if (NoteOnsIn(sent) == 0) return ::testing::AssertionFailure() << "nothing played";
    return NoStuckNotes(sent);
}

struct SignalRig {
    SignalRig() {
        memory.AddInput("Memory In 1");
        memory.AddInput("Memory In 2");
        memory.AddOutput("Memory Out 1");
        StyleBuilder b;
        b.Meter(4).Tempo(120);
        auto& basic = b.Part(data::StylePart::Basic).Measures(1);
        for (int at = 0; at < 96; at += 24) basic.Note(0, 60, 100, at, 30).Note(1, 64, 90, at + 6, 40).Note(9, 46, 80, at, 50);
        style = home.File("Long.vxs");
        EXPECT_TRUE(b.Write(style));
        output = std::tmpfile();
        errors = std::tmpfile();
    }
    ~SignalRig() {
        std::fclose(output);
        std::fclose(errors);
    }

    TempFolder home;
    midi::MemoryBackend memory;
    std::string style;
    std::FILE* output;
    std::FILE* errors;
};

TEST(ArrangerCommand, WaitsForTheFirstChordAndOnSigHupSigTermOrSigIntStopsWithEveryNoteReleased) {
    for (const int signal : {SIGHUP, SIGTERM, SIGINT}) {
        SignalRig rig;
        cli::ArrangerFlags flags;
        flags.home = rig.home.Path();
        flags.style = rig.style;
        flags.tempo = 240;
        int onsBeforeTheChord = -1;
        bool played = false;
        std::atomic<bool> finished = false;
        std::thread player([&] {
            if (!WaitFor([&] { return rig.memory.IsInputStarted(0) || finished; }) || finished) return;
            // The style waits: nothing sounds before a chord is played.
            std::this_thread::sleep_for(400ms);
            onsBeforeTheChord = NoteOns(rig.memory);
            rig.memory.Feed(0, 0, {0x90, 45, 100, 0x90, 48, 100, 0x90, 52, 100});
            played = WaitFor([&] { return NoteOns(rig.memory) >= 6 || finished; });
            // Also when nothing played: the signal ends a command that still runs.
            if (!finished) kill(getpid(), signal);
        });
        const int code = cli::RunArranger(std::make_unique<BorrowedBackend>(rig.memory), flags, rig.output, rig.errors);
        finished = true;
        player.join();
        EXPECT_EQ(code, 0) << "signal " << signal;
        EXPECT_EQ(onsBeforeTheChord, 0) << "the style started before the first chord";
        EXPECT_TRUE(played) << "the chord started the style";
        EXPECT_TRUE(EveryNoteReleased(rig.memory)) << "signal " << signal;
    }
}

TEST(PlayCommand, OnSigHupOrSigTermStopsWithEveryNoteReleasedAndExitsZero) {
    for (const int signal : {SIGHUP, SIGTERM}) {
        SignalRig rig;
        cli::PlayCommandFlags flags;
        flags.input = rig.style;
        flags.home = rig.home.Path();
        bool played = false;
        std::atomic<bool> finished = false;
        std::thread killer([&] {
            played = WaitFor([&] { return NoteOns(rig.memory) >= 6 || finished; });
            // Also when nothing played: the signal ends a command that still runs.
            if (!finished) kill(getpid(), signal);
        });
        const int code = cli::RunPlay(std::make_unique<BorrowedBackend>(rig.memory), flags, rig.output, rig.errors);
        finished = true;
        killer.join();
        EXPECT_TRUE(played) << "signal " << signal;
        EXPECT_EQ(code, 0) << "signal " << signal;
        EXPECT_TRUE(EveryNoteReleased(rig.memory)) << "signal " << signal;
    }
}

}  // namespace
}  // namespace chordella::testing
