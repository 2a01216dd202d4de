// audition STYLE.vxs -o OUT.wav
// Plays a style through the engine (every part, under a chord progression in C) and renders
// it through the built-in synth into a WAV file; says how long it plays and how loud it is.

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
    // The plan's meter is known only after loading; a first look at the file decides it.
    tools::AuditionReport probe;
    auto plan = tools::DefaultAudition(4);
    {
        std::string ignored;
        auto silent = midi::SynthRenderer::Create(ignored);
        tools::AuditionPlan empty;
        if (silent && tools::RenderAudition(argv[1], empty, *silent, probe, ignored))
            plan = tools::DefaultAudition(probe.BeatsPerMeasure);
    }
    tools::AuditionReport report;
    if (!tools::RenderAudition(argv[1], plan, *renderer, report, error) || !renderer->WriteWav(argv[3], error)) {
        std::fprintf(stderr, "audition: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s: %d measures at %d bpm, %.1f seconds, %d notes (%d left sounding at a section end), level %.3f RMS\n",
                argv[3], report.Measures,
                report.Tempo, report.Seconds, report.NotesStarted, report.NotesHeldOverSectionEnd,
                tools::RootMeanSquare(renderer->Samples()));
    return 0;
}
