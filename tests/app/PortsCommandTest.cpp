#include "app/PortsCommand.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "midi/MemoryBackend.h"

namespace chordella::app {
namespace {

std::string Listed(midi::MidiBackend& backend) {
    std::FILE* out = std::tmpfile();
    EXPECT_EQ(ListPorts(backend, out), 0);
    std::rewind(out);
    std::string text;
    for (int c; (c = std::fgetc(out)) != EOF;) text += static_cast<char>(c);
    std::fclose(out);
    return text;
}

TEST(PortsCommand, ListsInputsAndOutputsWithIdsNamesAndBackend) {
    midi::MemoryBackend backend;
    backend.AddInput("Keyboard");
    backend.AddOutput("Module");
    const std::string text = Listed(backend);
    EXPECT_NE(text.find("    0  Keyboard"), std::string::npos) << text;
    EXPECT_NE(text.find("   -1  Memory Synth"), std::string::npos) << text;
    EXPECT_NE(text.find("    0  Module"), std::string::npos) << text;
    EXPECT_NE(text.find("Memory\n"), std::string::npos) << text;
    EXPECT_LT(text.find("MIDI inputs:"), text.find("MIDI outputs:"));
}

TEST(PortsCommand, SaysSoWhenThereIsNoInput) {
    midi::MemoryBackend backend;
    EXPECT_NE(Listed(backend).find("  none"), std::string::npos);
}

}  // namespace
}  // namespace chordella::app
