#pragma once
// What a Standard MIDI File (or a keyboard style file) holds, for `chordella info`: its
// tracks, division, time signatures, tempos and, through a trial import, the section
// markers with their measure ranges and what an import would say about the file.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/MidiImportRun.h"
#include "data/SmfFile.h"

namespace chordella::data {

struct SmfTrackSummary {
    std::uint32_t DeclaredLength = 0;
    std::size_t PresentBytes = 0;
    int Events = 0;
    std::int64_t EndTick = 0;           // file tick of the last event read
    bool EndOfTrack = false;            // an end-of-track event was found
    std::string Name;                   // the first track name event, if any
    std::string Problem;                // why reading stopped early, if it did
};

struct SmfTimedText {
    std::int64_t Tick = 0;              // file ticks
    int Track = 0;                      // 1-based
    std::string Text;                   // "3/4", "120.0"
};

struct SmfSummary {
    std::size_t FileSize = 0;
    SmfLayout Layout;
    std::vector<SmfTrackSummary> Tracks;
    std::vector<SmfTimedText> Meters;
    std::vector<SmfTimedText> Tempos;
    ImportResult Import;                // the trial import (markers collected for style formats)
    std::string ImportMessage;          // the message an import would show; empty when none
};

// False (with the program's message in `error`) when the file is not a usable MIDI file.
// Markers are collected for every file here, not only for style formats.
bool SummarizeSmf(std::span<const std::uint8_t> bytes, SmfSummary& summary, std::string& error);

}  // namespace chordella::data
