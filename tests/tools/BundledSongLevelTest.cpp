// The bundled songs as `chordella render SONG.vxa -o OUT.wav` makes them with the SoundFont
// the bootstrap installs: each plays with the style it names, its level near the loudness
// music is mastered to (RMS −18 dBFS within 3 dB, the ringing tail left out) and no sample at
// full scale.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/DataHome.h"
#include "app/MidiExport.h"
#include "app/RenderCommands.h"
#include "app/RenderSession.h"
#include "engine/OfflineRenderer.h"
#include "midi/MidiBackend.h"
#include "midi/SynthRenderer.h"
#include "support/TempFolder.h"
#include "support/WavFile.h"
#include "support/TestPaths.h"

namespace chordella::tools {
namespace {

std::vector<std::string> BundledSongPaths() {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(chordella::testing::AssetsFolder() + "/songs"))
        if (entry.path().extension() == ".vxa") paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(BundledSongLevelTest, EverySongRendersNearMasteredLoudnessWithoutClipping) {
    // The levels are set for the SoundFont the bootstrap installs; another font sounds louder or softer.
    const char* font = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    if (!std::filesystem::exists(font)) GTEST_SKIP() << "the levels are set for " << font << ", not installed here";
    ::setenv("CHORDELLA_SOUNDFONT", font, 1);
    std::string error;
    if (!midi::SynthRenderer::Create(error)) GTEST_SKIP() << "no built-in synth here: " << error;
    testing::TempFolder folder;
    // A data home as a first start leaves it, so that each song finds the style it names.
    ASSERT_TRUE(app::CopyBundledFiles(chordella::testing::AssetsFolder(), platform::Paths::InFolder(folder.Path())).Failed.empty());
    for (const std::string& song : BundledSongPaths()) {
        SCOPED_TRACE(song);
        app::RenderSession render(platform::Paths::InFolder(folder.Path()));
        std::string errorFile;
        ASSERT_TRUE(app::LoadRenderInput(render, song, "", errorFile, error)) << errorFile << ": " << error;
        data::SmfContent content;
        ASSERT_TRUE(app::RenderForExport(render, app::DefaultStyleMeasures, 0, content, error)) << error;
        const std::string wavPath = folder.Path() + "/song.wav";
        ASSERT_TRUE(engine::RenderWav(content, wavPath, error)) << error;
        const testing::Wav wav = testing::ReadWav(wavPath);
        const std::size_t tail = static_cast<std::size_t>(engine::WavTailMicros / 1e6 * wav.SampleRate * wav.Channels);
        ASSERT_GT(wav.Samples.size(), tail);
        const double rms = testing::Rms(wav.Samples, 0, wav.Samples.size() - tail) / 32768.0;
        const double level = 20 * std::log10(std::max(rms, 1e-9));
        EXPECT_NEAR(level, -18.0, 3.0) << "RMS in dBFS";
        const auto peak = std::max_element(wav.Samples.begin(), wav.Samples.end(),
                                           [](std::int16_t a, std::int16_t b) { return std::abs(a) < std::abs(b); });
        EXPECT_LT(std::abs(static_cast<int>(*peak)), 32767) << "clipped";
    }
}

}  // namespace
}  // namespace chordella::tools
