// synth_render_speed [--seconds N]
//
// Renders N seconds (default 60) of two style-like textures through the built-in synth at
// 120 bpm: a piano chord per bar, a bass note per beat and a drum pattern in eighths
// ("light"), then the same with a string pad doubling the chord ("with strings", about 50
// voices with TimGM6mb). Reports the render speed as a multiple of real time.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "midi/SynthRenderer.h"

using namespace chordella;

namespace {

void Run(const char* name, double seconds, bool strings) {
    std::string error;
    auto renderer = midi::SynthRenderer::Create(error);
    if (!renderer) {
        std::printf("synth   skipped: %s\n", error.c_str());
        return;
    }
    const std::uint8_t roots[4] = {60, 65, 67, 60};
    renderer->PutShort(0xC1, 48, 0);  // strings
    renderer->PutShort(0xC2, 33, 0);  // bass
    const auto start = std::chrono::steady_clock::now();
    const std::int64_t eighth = 250'000;
    const auto eighths = static_cast<std::int64_t>(seconds * 4);
    for (std::int64_t e = 0; e < eighths; ++e) {
        renderer->RenderUntil(e * eighth);
        const std::uint8_t root = roots[(e / 8) % 4];
        if (e % 8 == 0) {
            for (std::uint8_t channel = 0; channel < (strings ? 2 : 1); ++channel)
                for (int offset : {0, 4, 7}) {
                    renderer->PutShort(static_cast<std::uint8_t>(0x80 | channel), static_cast<std::uint8_t>(roots[(e / 8 + 3) % 4] + offset), 0);
                    renderer->PutShort(static_cast<std::uint8_t>(0x90 | channel), static_cast<std::uint8_t>(root + offset), 80);
                }
        }
        if (e % 2 == 0) renderer->PutShort(0x92, static_cast<std::uint8_t>(root - 24), 100);
        renderer->PutShort(0x99, 42, 80);
        if (e % 4 == 0) renderer->PutShort(0x99, 36, 110);
        if (e % 4 == 2) renderer->PutShort(0x99, 38, 100);
    }
    renderer->RenderUntil(static_cast<std::int64_t>(seconds * 1e6));
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("synth   %-13s rendered %.0f s of audio in %.3f s: %.0fx real time\n", name, seconds, took,
                seconds / took);
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 60;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--seconds" && i + 1 < argc) seconds = std::atof(argv[++i]);
    Run("light", seconds, false);
    Run("with strings", seconds, true);
    return 0;
}
