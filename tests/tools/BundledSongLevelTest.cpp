// The bundled songs as `chordella render SONG.vxa -o OUT.wav` makes them. With the SoundFont
// the bootstrap installs, each plays with the style it names near the loudness music is
// mastered to (RMS −18 dBFS within 3 dB, the ringing tail left out). With every General MIDI
// SoundFont we know of that is installed, the densest song stays at or below −1 dBFS with
// no DC offset: the gain leaves headroom, whichever font plays.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/DataHome.h"
#include "app/MidiExport.h"
#include "app/RenderSession.h"
#include "cli/RenderCommands.h"
#include "engine/OfflineRenderer.h"
#include "midi/MidiBackend.h"
#include "midi/SynthRenderer.h"
#include "support/TempFolder.h"
#include "support/TestPaths.h"
#include "support/WavFile.h"

namespace chordella::tools {
namespace {

// What the bootstrap installs; the other two are Debian's other General MIDI fonts.
constexpr const char* BootstrapFont = "/usr/share/sounds/sf3/MuseScore_General_Lite.sf3";
const std::vector<std::string> KnownFonts = {BootstrapFont, "/usr/share/sounds/sf2/FluidR3_GM.sf2",
                                             "/usr/share/sounds/sf2/TimGM6mb.sf2"};

std::vector<std::string> BundledSongPaths() {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(chordella::testing::AssetsFolder() + "/songs"))
        if (entry.path().extension() == ".vxa") paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

class BundledSongLevel : public ::testing::Test {
protected:
    void SetUp() override {
        // A data home as a first start leaves it, so that each song finds the style it names.
        ASSERT_TRUE(app::CopyBundledFiles(chordella::testing::AssetsFolder(), platform::Paths::InFolder(folder.Path())).Failed.empty());
    }

    data::SmfContent Render(const std::string& song) {
        app::RenderSession render(platform::Paths::InFolder(folder.Path()));
        std::string errorFile, error;
        EXPECT_TRUE(app::LoadRenderInput(render, song, "", errorFile, error)) << errorFile << ": " << error;
        data::SmfContent content;
        EXPECT_TRUE(app::RenderForExport(render, app::DefaultStyleMeasures, 0, content, error)) << error;
        return content;
    }

    testing::Wav RenderWav(const data::SmfContent& content, const std::string& font) {
        midi::AudioSettings audio;
        audio.SoundFont = font;
        const std::string path = folder.Path() + "/song.wav";
        std::string error;
        EXPECT_TRUE(engine::RenderWav(content, path, error, engine::WavTailMicros, audio)) << error;
        return testing::ReadWav(path);
    }

    testing::TempFolder folder;
};

double Decibels(double level) { return 20 * std::log10(std::max(level, 1e-9)); }

int Peak(const std::vector<std::int16_t>& samples) {
    int peak = 0;
    for (std::int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

TEST_F(BundledSongLevel, EverySongRendersNearMasteredLoudnessWithTheBootstrapSoundFont) {
    if (!std::filesystem::exists(BootstrapFont)) FAIL() << BootstrapFont << " is missing: run scripts/bootstrap";
    for (const std::string& song : BundledSongPaths()) {
        SCOPED_TRACE(song);
        const testing::Wav wav = RenderWav(Render(song), BootstrapFont);
        const std::size_t tail = static_cast<std::size_t>(engine::WavTailMicros / 1e6 * wav.SampleRate * wav.Channels);
        ASSERT_GT(wav.Samples.size(), tail);
        EXPECT_NEAR(Decibels(testing::Rms(wav.Samples, 0, wav.Samples.size() - tail) / 32768.0), -18.0, 3.0)
            << "RMS in dBFS";
    }
}

TEST_F(BundledSongLevel, TheDensestSongStaysBelowMinusOneDbfsWithoutOffsetWithEverySoundFont) {
    // The densest: the most notes a second.
    std::string densest;
    data::SmfContent content;
    double mostNotes = -1;
    for (const std::string& song : BundledSongPaths()) {
        data::SmfContent candidate = Render(song);
        const double seconds = std::max(1.0, engine::MicrosAt(candidate.Tempos, candidate.EndTick) / 1e6);
        const auto notes = std::count_if(candidate.Messages.begin(), candidate.Messages.end(),
                                         [](const auto& m) { return (m.Status & 0xF0) == 0x90 && m.Data2 > 0; });
        if (notes / seconds > mostNotes) {
            mostNotes = notes / seconds;
            densest = song;
            content = std::move(candidate);
        }
    }
    ASSERT_FALSE(densest.empty());
    SCOPED_TRACE(densest);
    const int ceiling = static_cast<int>(32768 * std::pow(10.0, -1.0 / 20));  // −1 dBFS
    for (const std::string& font : KnownFonts) {
        SCOPED_TRACE(font);
        if (!std::filesystem::exists(font)) {
            if (font == BootstrapFont) ADD_FAILURE() << "missing: run scripts/bootstrap";
            continue;
        }
        const testing::Wav wav = RenderWav(content, font);
        ASSERT_FALSE(wav.Samples.empty());
        EXPECT_LE(Peak(wav.Samples), ceiling) << "peak " << Decibels(Peak(wav.Samples) / 32768.0) << " dBFS";
        for (int channel = 0; channel < 2; ++channel) {
            double sum = 0;
            for (std::size_t i = static_cast<std::size_t>(channel); i < wav.Samples.size(); i += 2) sum += wav.Samples[i];
            EXPECT_LT(std::fabs(sum / (wav.Samples.size() / 2) / 32768.0), 0.001) << "DC of channel " << channel;
        }
    }
}

}  // namespace
}  // namespace chordella::tools
