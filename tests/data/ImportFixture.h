#pragma once
// A session, a MIDI importer with hooks that record what they were told, and helpers that
// write a built file into the test's folder and import it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Session.h"
#include "core/MidiImport.h"
#include "platform/Files.h"
#include "support/SmfBuilder.h"
#include "support/TestSession.h"

namespace chordella::testing {

struct RecordingHooks : data::DataOnlyImportLink {
    int MeasureUnits() override { return measureUnits; }
    void SetTempo(int bpm) override { tempos.push_back(bpm); }
    void SetMeter(const std::string& meter) override { meters.push_back(meter); }
    void MarkChannelsUsed(const std::array<std::uint8_t, 16>& used) override { channelsUsed = used; }
    void SelectFreeChannel(int channel) override { freeChannel = channel; }
    void ResetStyle() override { ++resets; }
    void SwitchOffCountIn() override { countInOff = true; }

    int measureUnits = 16;
    std::vector<int> tempos;
    std::vector<std::string> meters;
    std::array<std::uint8_t, 16> channelsUsed{};
    int freeChannel = -1;
    int resets = 0;
    bool countInOff = false;
};

class ImportTest : public ::testing::Test {
protected:
    data::ImportOutcome ImportBytes(const Bytes& bytes, const std::string& name = "song.mid", bool keepSilence = false) {
        const std::string path = t.home.File(name);
        std::string error;
        EXPECT_TRUE(platform::WriteFileAtomically(path, bytes, error)) << error;
        return importer.Import(path, keepSilence);
    }
    data::ImportOutcome ImportTracks(int division, const std::vector<SmfTrack>& tracks) {
        return ImportBytes(SmfFileBytes(1, division, tracks));
    }
    data::CreatorWork& Work() { return t.session->Style().Work; }
    // The material of chunk 0.
    Bytes Stream() {
        const auto material = data::FirstChunkMaterial(Work());
        return Bytes(material.begin(), material.end());
    }

    TestSession t;
    RecordingHooks hooks;
    data::MidiImporter importer{*t.session, t.state.options, &hooks};
};

}  // namespace chordella::testing
