// The Standard MIDI File writer, read back by python3-mido.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/Session.h"
#include "data/SmfFile.h"
#include "data/SmfWriter.h"
#include "support/MidoReader.h"
#include "support/TestSession.h"

namespace chordella::testing {
namespace {

using data::SmfChannelMessage;

// A bass line on channel 1 (program 33 before its first note), drums on channel 10, and a
// channel that only receives the silencing of a stop.
data::SmfContent BassAndDrums() {
    data::SmfContent content;
    content.Name = "Groove";
    content.Messages = {
        {0, 0xC0, 33, 0},  {0, 0xB0, 7, 100}, {0, 0x90, 36, 100}, {0, 0x99, 42, 80},  {12, 0x99, 42, 0},
        {24, 0x80, 36, 0}, {24, 0x90, 43, 90}, {24, 0x99, 38, 110}, {36, 0x99, 38, 0}, {48, 0x90, 43, 0},
        {96, 0xB3, 120, 0}, {96, 0x83, 60, 0},
    };
    content.Tempos = {{0, 100}, {48, 150}};
    content.Markers = {{0, "Basic"}, {48, "Fill in Basic"}};
    content.MeasureTicks = 96;
    content.EndTick = 96;
    return content;
}

class SmfWriterTest : public ::testing::Test {
protected:
    MidoFile WriteAndRead(const data::SmfContent& content) {
        path = t.home.Path() + "/out.mid";
        std::string error;
        EXPECT_TRUE(data::WriteSmfFile(path, content, error)) << error;
        MidoFile file;
        EXPECT_TRUE(ReadWithMido(path, file)) << file.Error;
        return file;
    }

    TestSession t;
    std::string path;
};

TEST_F(SmfWriterTest, AFileIsFormatOneWithAConductorAndANamedTrackPerPlayingChannelHoldingEachMessageAtItsScaledTick) {
    const data::SmfContent content = BassAndDrums();
    const MidoFile file = WriteAndRead(content);
    EXPECT_EQ(file.Type, 1);
    EXPECT_EQ(file.Division % 24, 0);
    ASSERT_EQ(file.TrackCount, 3);  // the silenced channel 4 gets no track
    EXPECT_EQ(file.TrackNames, (std::vector<std::string>{"Groove", "Electric Bass (finger)", "Drums"}));
    for (const MidoEvent& e : file.Events) {
        if (e.Fields.count("channel")) {
            EXPECT_EQ(e.Track, e.Int("channel") == 9 ? 2 : 1) << e.Type;
        }
    }

    const int scale = file.Division / 24;
    std::vector<std::tuple<std::int64_t, int, int>> written, sent;
    for (const MidoEvent& e : file.Events)
        if (e.Type == "note_on" || e.Type == "note_off") written.emplace_back(e.Tick, e.Int("channel"), e.Int("note"));
    for (const SmfChannelMessage& m : content.Messages)
        if ((m.Status & 0xE0) == 0x80 && (m.Status & 0x0F) != 3) sent.emplace_back(m.Tick * scale, m.Status & 0x0F, m.Data1);
    std::sort(written.begin(), written.end());
    std::sort(sent.begin(), sent.end());
    EXPECT_EQ(written, sent);
    const auto programs = file.OfType("program_change");
    ASSERT_EQ(programs.size(), 1u);
    EXPECT_EQ(programs[0].Int("program"), 33);
    const auto controls = file.OfType("control_change");
    ASSERT_EQ(controls.size(), 1u) << "the silenced channel's controller has no track";
    EXPECT_EQ(std::make_tuple(controls[0].Tick, controls[0].Int("control"), controls[0].Int("value")), std::make_tuple(0, 7, 100));

    // The conductor: tempi, the time signature and the section markers.
    const auto tempos = file.OfType("set_tempo");
    ASSERT_EQ(tempos.size(), 2u);
    EXPECT_EQ(tempos[0].Int("tempo"), 600000);
    EXPECT_EQ(tempos[1].Int("tempo"), 400000);
    EXPECT_EQ(tempos[1].Tick, 48 * file.Division / 24);
    const auto signatures = file.OfType("time_signature");
    ASSERT_EQ(signatures.size(), 1u);
    EXPECT_EQ(signatures[0].Int("numerator"), 4);
    EXPECT_EQ(signatures[0].Int("denominator"), 4);
    const auto markers = file.OfType("marker");
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[1].Fields.at("text"), "Fill in Basic");
    EXPECT_EQ(markers[1].Tick, 48 * file.Division / 24);
    for (const MidoEvent& e : file.OfType("end_of_track")) EXPECT_EQ(e.Tick, 96 * file.Division / 24);
}

TEST(SmfWriter, MetersBecomeTimeSignaturesAndATrackIsNamedAfterItsFirstProgram) {
    EXPECT_EQ(data::TimeSignatureBytes(72, false), (std::array<std::uint8_t, 4>{3, 2, 24, 8}));
    EXPECT_EQ(data::TimeSignatureBytes(144, false), (std::array<std::uint8_t, 4>{6, 2, 24, 8}));
    EXPECT_EQ(data::TimeSignatureBytes(72, true), (std::array<std::uint8_t, 4>{6, 3, 36, 8}));
    EXPECT_EQ(data::TimeSignatureBytes(24, true), (std::array<std::uint8_t, 4>{2, 3, 12, 8}));

    std::vector<SmfChannelMessage> messages = {{0, 0x92, 60, 90}, {10, 0xC2, 5, 0}, {24, 0x82, 60, 0}};
    EXPECT_EQ(data::ChannelTrackName(messages, 2, 48), "String Ensemble 1");
    EXPECT_EQ(data::ChannelTrackName(messages, 2, -1), "Acoustic Grand Piano");
    messages.insert(messages.begin(), {0, 0xC2, 19, 0});
    EXPECT_EQ(data::ChannelTrackName(messages, 2, 48), "Church Organ");
    EXPECT_EQ(data::ChannelTrackName(messages, 9, 48), "Drums");
}

TEST_F(SmfWriterTest, AnEighthMeterIsWrittenAndMessagesOutsideTheFileFormatAreLeftOutAndTimesNeverRunBackwards) {
    data::SmfContent content;
    content.Messages = {{-5, 0x90, 60, 100}, {10, 0xF8, 0, 0}, {20, 0x80, 60, 0}, {30, 0xFA, 0, 0}};
    content.Division = 100;  // not a multiple of 24: the writer keeps its own
    content.MeasureTicks = 72;
    content.EighthMeter = true;
    const MidoFile file = WriteAndRead(content);
    const auto signatures = file.OfType("time_signature");
    ASSERT_EQ(signatures.size(), 1u);
    EXPECT_EQ(std::make_pair(signatures[0].Int("numerator"), signatures[0].Int("denominator")), std::make_pair(6, 8));
    EXPECT_EQ(file.Division, data::ExportDivision);
    const auto notes = file.Notes();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].Tick, 0);
    EXPECT_EQ(file.OfType("note_off").at(0).Tick, 20 * data::ExportDivision / 24);
    EXPECT_TRUE(file.OfType("clock").empty());
}

}  // namespace
}  // namespace chordella::testing
