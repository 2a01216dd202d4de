// What the song creator reads from outside: a song file whose measures are kept when a song
// is made again (`generate --lock`), and the range limits typed into its input box. Any
// bytes give a song read back as measures, a regenerated song keeping them, and a sheet.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "composer/GeneratedSong.h"
#include "composer/ProgressionList.h"
#include "composer/SongGenerator.h"
#include "composer/SongSheet.h"
#include "data/SongFile.h"
#include "platform/Random.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace chordella;
    composer::ProgressionChoice choice;
    const std::string_view text(reinterpret_cast<const char*>(data), size < 16 ? size : 16);
    choice.SetLowerLimit(text);
    choice.SetUpperLimit(text);
    // Whatever was typed, the range holds at least one row of the table (the last row as the
    // lower limit is a range of that row alone).
    if (choice.Lower() < 0 || choice.Upper() > 99 || choice.Upper() < choice.Lower()) std::abort();

    const data::SongReadResult read = data::ReadSongFile(std::span(data, size));
    if (!read.Ok) return 0;
    static data::ArrangementState song;
    data::ApplySongFile(read.Content, song);
    const composer::GeneratedSong previous = composer::SongOfChordMemory(song.Chords);
    composer::SongSheet(previous, data::SectionKeyNotes::Defaults());

    composer::SongCreatorOptions options;
    options.SongMeasures = 8 + static_cast<int>(size % 24);
    platform::Random random(size);
    composer::GeneratedSong made =
        composer::GenerateSong(options, composer::GenerationMode::Progressions, &choice, {}, random);
    composer::KeepMeasures(previous, {1, 2, 3, static_cast<int>(size % 40)}, made);
    data::ChordMemory memory;
    composer::WriteGeneratedSong(made, memory);
    if (memory.ChordMemoryLength > data::ChordMemorySize) std::abort();
    return 0;
}
