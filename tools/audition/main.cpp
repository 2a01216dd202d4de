// audition STYLE.vxs -o OUT.wav
// Performs a style through the engine and transport (intro, verse, fills, chorus, ending, a
// chord progression in C) and renders it through the built-in synth into a WAV file; says
// how long it plays and how loud it is.

#include <cstdio>
#include <memory>
#include <string>

#include "audition/StyleAudition.h"
#include "midi/SynthRenderer.h"

int main(int argc, char** argv) {
    using namespace chordella;
    if (argc != 4 || std::string(argv[2]) != "-o") {
        std::fprintf(stderr, "usage: audition STYLE.vxs -o OUT.wav\n");
        return 2;
    }
    std::string error;
    auto renderer = midi::SynthRenderer::Create(error);
    if (!renderer) {
        std::fprintf(stderr, "audition: %s\n", error.c_str());
        return 1;
    }
    const int beats = tools::StyleBeatsPerMeasure(argv[1]);
    const tools::AuditionPlan plan = tools::DefaultAudition(beats);
    tools::AuditionReport report;
    if (!tools::RenderAudition(argv[1], plan, *renderer, report, error) || !renderer->WriteWav(argv[3], error)) {
        std::fprintf(stderr, "audition: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s: %d measures at %d bpm, %.1f seconds, %d notes, level %.3f RMS%s\n", argv[3], report.Measures,
                report.Tempo, report.Seconds, report.NotesStarted, tools::RootMeanSquare(renderer->Samples()),
                report.EndedByItself ? ", ended by its Ending" : "");
    return 0;
}
