#pragma once
// The steps of the MIDI import that belong to other modules: the transport (recording),
// the style (reset, backup copy, ChannelUsed), the clock (tempo, meter list, count-in), the
// melody track, the main window (channel selector, status line) and the creator's place in
// the stream. Each module overrides what it does; the defaults do nothing (or, for the
// stream position, walk the creator's own chunks), so an import runs with the data layer alone.

#include <array>
#include <cstdint>
#include <string>

#include "data/CreatorWork.h"

namespace chordella::data {

class MidiImportLink {
public:
    virtual ~MidiImportLink() = default;

    // Control thread, all of them.
    // A running recording is stopped before anything else.
    virtual void StopRecording() = 0;
    // A replacing import starts from an empty style (the style's reset).
    virtual void ResetStyle() = 0;
    // The clock's meter: chord-memory units per measure (16 in 4/4).
    virtual int MeasureUnits() = 0;
    // .mid files switch the count-in option off.
    virtual void SwitchOffCountIn() = 0;
    // The tempo control takes the file's tempo (beats per minute).
    virtual void SetTempo(int bpm) = 0;
    // The meter list takes a meter of the file ("3/4", "6/8", …).
    virtual void SetMeter(const std::string& meter) = 0;
    // The style header's ChannelUsed flags the import found (1 = used).
    virtual void MarkChannelsUsed(const std::array<std::uint8_t, 16>& used) = 0;
    // After the import: the melody is cleared.
    virtual void ClearMelody() = 0;
    // The "Channel" selector of the "In / Out" panel: the first channel the material leaves free.
    virtual void SelectFreeChannel(int channel) = 0;
    // True while the song player drives the import (the channel selector then stays).
    virtual bool SongPlayerDrives() = 0;
    // The style's backup copy of the stream is taken from the new material.
    virtual void BackupStream() = 0;
    // An eighth-note meter moves back to its quarter-note entry.
    virtual void QuarterNoteMeter() = 0;
    // The status line and progress bar ("Import MIDI-File Type 1 ..."); done = total at the end.
    virtual void ShowProgress(const std::string& status, std::size_t done, std::size_t total) = 0;
    // The append point: right after the wait that reaches beat 1 of `measure` (1-based) of
    // the material, in a meter of `measureUnits` units per measure.
    virtual WorkPosition AppendPoint(const CreatorWork& work, int measure, int measureUnits) = 0;
};

// The import with the data layer alone: the steps of other modules are left out, the meter is
// 4/4 and the append point is found in the creator's own chunks. MidiImporter uses it when it
// is given no link (MidiImporter::LinkWired tells), as the command-line import report does; a
// module with a part in only a few steps derives from it.
class DataOnlyImportLink : public MidiImportLink {
public:
    void StopRecording() override {}
    void ResetStyle() override {}
    int MeasureUnits() override { return 16; }
    void SwitchOffCountIn() override {}
    void SetTempo(int /*bpm*/) override {}
    void SetMeter(const std::string& /*meter*/) override {}
    void MarkChannelsUsed(const std::array<std::uint8_t, 16>& /*used*/) override {}
    void ClearMelody() override {}
    void SelectFreeChannel(int /*channel*/) override {}
    bool SongPlayerDrives() override { return false; }
    void BackupStream() override {}
    void QuarterNoteMeter() override {}
    void ShowProgress(const std::string& /*status*/, std::size_t /*done*/, std::size_t /*total*/) override {}
    WorkPosition AppendPoint(const CreatorWork& work, int measure, int measureUnits) override {
        const std::int64_t tick = static_cast<std::int64_t>(24) * (measureUnits / 4) * (measure - 1);
        return PositionAfterTick(work, tick);
    }
};

}  // namespace chordella::data
