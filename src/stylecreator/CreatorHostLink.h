#pragma once
// What the creator's commands need from the creator that runs them: the material they
// shape, its meter, its playback, and where to say what happened. The style creator
// implements it; tests implement it over a plain buffer.

#include <cstdint>
#include <span>
#include <string>

namespace chordella::stylecreator {

class CreatorHostLink {
public:
    virtual ~CreatorHostLink() = default;
    // Control thread, all of them.
    // The material as it plays: the stream bytes the part records point into.
    virtual std::span<std::uint8_t> Material() = 0;
    // Chord-memory units per measure of the material (16 in 4/4).
    virtual int MeasureUnits() = 0;
    // Measures that may hold parts (those of the first chunk).
    virtual int MeasuresAvailable() = 0;
    virtual bool CreatorPlaying() = 0;
    virtual void StopPlayback() = 0;
    virtual void StartPlayback() = 0;
    // A line for the status bar.
    virtual void ShowStatus(const std::string& text) = 0;
};

}  // namespace chordella::stylecreator
