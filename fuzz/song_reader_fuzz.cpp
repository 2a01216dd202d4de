// The song reader takes whatever is in a .vxa file. Whatever it accepts must go into the
// song in memory, be written again, and read back to the very same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "data/ArrangementState.h"
#include "data/SongCommands.h"
#include "data/SongFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella::data;
    // Made once, as in the program; a small melody track keeps runs fast and tries the cap.
    static ArrangementState song = [] {
        ArrangementState state;
        state.Melody = MelodyTrack(512);
        return state;
    }();
    const SongReadResult read = ReadSongFile(std::span(data, size));
    if (!read.Ok) {
        if (read.Error.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    ApplySongFile(read.Content, song);
    const CommandTextContext context;
    for (int position = ChordMemoryHeaderSize; position < song.Chords.ChordMemoryLength; position += BeatRecordSize) {
        const BeatRecord record = song.Chords.RecordAt(position);
        CommandText(record, context);
        DisplayChordType(record);
    }
    MeasureCount(song.Chords.ChordMemoryLength, song.Chords.SongMeter());
    MeasureOf(song.Chords.ChordMemoryLength, song.Chords.SongMeter());

    const auto written = WriteSongFile(SongFileContentOf(song, song.StyleReference));
    const SongReadResult again = ReadSongFile(written);
    if (!again.Ok) std::abort();
    static ArrangementState second = song;
    ApplySongFile(again.Content, second);
    if (WriteSongFile(SongFileContentOf(second, second.StyleReference)) != written) std::abort();
    return 0;
}
