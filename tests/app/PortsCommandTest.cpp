#include "cli/PortsCommand.h"

#include <gtest/gtest.h>

#include <string>

#include "midi/MemoryBackend.h"
#include "support/CapturedText.h"
#include "support/RunChordella.h"

namespace chordella::app {

using namespace chordella::cli;

namespace {

std::string Listed(midi::MidiBackend& backend) {
    testing::CapturedText out;
    EXPECT_EQ(ListPorts(backend, out.file), 0);
    return out.Text();
}

TEST(PortsCommand, ListsInputsAndOutputsWithIdsNamesAndBackendOrSaysThereAreNone) {
    midi::MemoryBackend backend;
    backend.AddInput("Keyboard");
    backend.AddOutput("Module");
    const std::string text = Listed(backend);
    EXPECT_NE(text.find("    0  Keyboard"), std::string::npos) << text;
    EXPECT_NE(text.find("   -1  Memory Synth"), std::string::npos) << text;
    EXPECT_NE(text.find("    0  Module"), std::string::npos) << text;
    EXPECT_NE(text.find("Memory\n"), std::string::npos) << text;
    EXPECT_LT(text.find("MIDI inputs:"), text.find("MIDI outputs:"));
    midi::MemoryBackend empty;
    EXPECT_NE(Listed(empty).find("  none"), std::string::npos);
}

// The real command on this machine: whatever MIDI system there is, the synth is listed and
// the libraries' own complaints (no JACK server, no ALSA) never reach the terminal.
TEST(PortsCommand, TheCommandListsTheSynthAndNothingButTheList) {
    const testing::CommandResult result = testing::RunChordella("ports");
    EXPECT_EQ(result.exitCode, 0);
    const std::string& text = result.output;
    EXPECT_NE(text.find("   -1  Chordella Synth"), std::string::npos) << text;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        EXPECT_TRUE(line.rfind("MIDI ", 0) == 0 || line.rfind("Built-in synth ", 0) == 0 || line.rfind("  ", 0) == 0) << "stray line: " << line;
        start = end == std::string::npos ? text.size() : end + 1;
    }
}

}  // namespace
}  // namespace chordella::app
