// `chordella remote list|learn`: learning a pedal from the second input and listing it.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "cli/RemoteCommand.h"
#include "midi/MemoryBackend.h"
#include "support/CapturedText.h"
#include "support/TempFolder.h"

namespace chordella::app {

using namespace chordella::cli;

namespace {

using testing::CapturedText;

std::unique_ptr<midi::MemoryBackend> Devices() {
    auto backend = std::make_unique<midi::MemoryBackend>();
    backend->AddInput("Keyboard");
    backend->AddInput("Pedals");
    backend->AddOutput("Sound module");
    return backend;
}

TEST(RemoteCommand, LearnBindsTheNextPedalPressAndListShowsIt) {
    testing::TempFolder home;
    RemoteFlags flags;
    flags.home = home.Path();
    flags.action = "learn";
    flags.function = "next section";
    flags.secondIn = "Pedals";
    auto backend = Devices();
    midi::MemoryBackend& devices = *backend;
    // The pedal is pressed once the command listens (the feeder plays the driver's thread).
    std::thread pedal([&devices] {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!devices.IsInputStarted(1) && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        devices.Feed(1, 0, {0xE0, 0, 64, 0xB0, 65, 0, 0xB3, 65, 127});  // bend and a release teach nothing
    });
    CapturedText out, err, listed;
    const int code = RunRemote(std::move(backend), flags, out.file, err.file);
    pedal.join();
    EXPECT_EQ(code, 0) << err.Text();
    EXPECT_NE(out.Text().find("Learned: Controller 65 on channel 4 → Next section"), std::string::npos) << out.Text();

    flags.action = "list";
    EXPECT_EQ(RunRemote(Devices(), flags, listed.file, err.file), 0);
    const std::string list = listed.Text();
    EXPECT_NE(list.find("Controller 65 on channel 4"), std::string::npos) << list;
    EXPECT_NE(list.find("0  CC Toggle > 0"), std::string::npos) << list;
    EXPECT_NE(list.find(" 0  Start/Stop"), std::string::npos) << "the built-in function set's key 0\n" << list;

    flags.action = "learn";
    flags.function = "Tempo";
    EXPECT_EQ(RunRemote(Devices(), flags, out.file, err.file), 1) << "two functions fit";
    EXPECT_NE(err.Text().find("Tempo: no such remote function"), std::string::npos);
}

}  // namespace
}  // namespace chordella::app
