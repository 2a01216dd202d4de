// `chordella generate`: the song creator without a window.
#include "cli/GenerateCommand.h"

#include "app/AppState.h"
#include "app/DataHome.h"
#include "app/Lifecycle.h"
#include "app/RenderSession.h"
#include "app/SongCreation.h"
#include "chords/KeyboardLayout.h"
#include "composer/ProgressionExport.h"
#include "composer/ProgressionList.h"
#include "composer/ProgressionTable.h"
#include "composer/SongKeys.h"
#include "composer/SongSheet.h"
#include "chords/NoteNames.h"
#include "core/Session.h"
#include "data/SongFile.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace chordella::cli {

namespace {

constexpr std::size_t MaxSongBytes = 16 * 1024 * 1024;

bool ParseKeys(const std::string& text, composer::KeyChoice& keys) {
    using composer::KeyChoice;
    if (text == "one-major") keys = KeyChoice::OneMajorKey;
    else if (text == "one-minor") keys = KeyChoice::OneMinorKey;
    else if (text == "parallel") keys = KeyChoice::MajorAndParallelMinor;
    else if (text == "relative") keys = KeyChoice::MajorAndRelativeMinor;
    else if (text == "six-relative") keys = KeyChoice::SixKeysRelativeMinor;
    else if (text == "six-parallel") keys = KeyChoice::SixKeysParallelMinor;
    else return false;
    return true;
}

// Sets up the choice of progressions; false with `error` for a wrong flag.
bool ChooseProgressions(const GenerateCommandFlags& flags, composer::ProgressionChoice& choice, std::string& error) {
    using namespace composer;
    if (flags.row) {
        if (*flags.row < 0 || *flags.row >= ProgressionRows) {
            error = "--row: a progression number 0 … 99";
            return false;
        }
        choice.ChooseEntry(FirstRowEntry + *flags.row);
        return true;
    }
    if (!flags.section.empty()) {
        const std::string& s = flags.section;
        // The list shuffles the 8- and 16-bar blues together; the flag names one of them.
        if (s == "blues8" || s == "blues16") {
            const bool sixteen = s == "blues16";
            choice.SetLowerLimit(std::to_string(sixteen ? Blues16Start : Blues8Start));
            choice.SetUpperLimit(std::to_string((sixteen ? Blues12Start : Blues16Start) - 1));
            return true;
        }
        const int entry = s == "1" ? ShuffleSection1Entry
                          : s == "2" ? ShuffleSection2Entry
                          : s == "blues12" ? ShuffleBlues12Entry
                                           : -1;
        if (entry < 0) {
            error = "--section: 1, 2, blues8, blues12 or blues16";
            return false;
        }
        choice.ChooseEntry(entry);
        return true;
    }
    if (!flags.range.empty()) {
        const auto dash = flags.range.find('-');
        const std::string lower = flags.range.substr(0, dash);
        const std::string upper = dash == std::string::npos ? std::string() : flags.range.substr(dash + 1);
        std::string message = choice.SetLowerLimit(lower);
        if (message.empty()) message = choice.SetUpperLimit(upper);
        if (!message.empty()) {
            error = "--range " + flags.range + ": " + message;
            return false;
        }
        return true;
    }
    choice.UseMixed();
    return true;
}

bool ApplyFlags(const GenerateCommandFlags& flags, composer::SongCreatorOptions& options, std::string& error) {
    if (flags.simple) composer::ApplySimpleSongs(options);
    if (!flags.keys.empty() && !ParseKeys(flags.keys, options.Keys)) {
        error = "--keys: one-major, one-minor, parallel, relative, six-relative or six-parallel";
        return false;
    }
    if (!flags.key.empty()) {
        options.KeyIndex = composer::KeyListIndexOf(flags.key);
        if (options.KeyIndex < 0) {
            error = "--key " + flags.key + ": not a key (C, G, D, A, E, B, F#, Db, Ab, Eb, Bb, F)";
            return false;
        }
        options.RandomKey = false;
    }
    if (flags.mode < 1 || flags.mode > 7) {
        error = "--mode: 1 … 7";
        return false;
    }
    options.ModeIndex = flags.mode - 1;
    if (options.SongMeasures < 1 || options.SongMeasures > composer::MaxGeneratedMeasures(16)) {
        error = "Wrong measure value !";
        return false;
    }
    if (flags.noRandomStyle) options.RandomStyle = false;
    return true;
}

// The style: the one named, or with "Randomly choose style" one of the data home's styles
// folder (the random choice draws from the same source as the song).
bool LoadStyle(app::RenderSession& render, const GenerateCommandFlags& flags, const composer::SongCreatorOptions& options,
               std::string& error) {
    if (!flags.style.empty()) return render.LoadStyle(flags.style, error);
    if (!options.RandomStyle) return true;
    composer::StylesFolderList list(render.Session().Paths().Styles());
    app::SessionStyleLoader loader(render.Session());
    composer::RandomStyleChoice choice;
    choice.Choose(list, loader, render.Session().Random(), options.WithBassTrack);
    return true;
}

// Without a style of its own choice the song gets the one the program starts with (the data
// home's, else the bundled one), so that it names a style and plays as it is.
bool LoadStartupStyle(app::RenderSession& render) {
    const std::string name(app::Lifecycle::StartupStyle);
    std::string error;
    for (const std::string& path : {render.Session().Paths().Styles() + "/" + name,
                                    app::BundledAssetsFolder(platform::ExecutablePath()) + "/styles/" + name})
        if (platform::FileExists(path) && render.LoadStyle(path, error)) return true;
    return false;
}

bool ReadExistingSong(const std::string& path, composer::GeneratedSong& song, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadFileBytes(path, MaxSongBytes, bytes, error)) return false;
    const data::SongReadResult read = data::ReadSongFile(bytes);
    if (!read.Ok) {
        error = read.Error;
        return false;
    }
    data::ArrangementState arrangement;
    data::ApplySongFile(read.Content, arrangement);
    song = composer::SongOfChordMemory(arrangement.Chords);
    return true;
}

}  // namespace

int RunGenerateCommand(const GenerateCommandFlags& flags, std::FILE* out, std::FILE* err) {
    app::RenderSession render(platform::Paths::Resolve(flags.home, platform::ExecutablePath()));
    core::Session& session = render.Session();
    app::AppState& appState = render.State();
    if (flags.csv) {
        std::string error;
        const std::string folder = session.Paths().DataDir();
        // A data home that does not exist yet is made, as at the first start.
        if (!platform::MakeFolders(folder) || !composer::SaveProgressionList(folder, error)) {
            if (error.empty()) error = "the folder cannot be made";
            std::fprintf(err, "%s/%s: %s\n", folder.c_str(), composer::ProgressionListFileName, error.c_str());
            return 1;
        }
        std::fprintf(out, "%s/%s\n", folder.c_str(), composer::ProgressionListFileName);
        if (flags.output.empty()) return 0;
    }
    if (flags.output.empty()) {
        std::fprintf(err, "chordella generate: -o SONG.vxa is needed\n");
        return 2;
    }
    composer::SongCreatorOptions options = flags.options;
    std::string error;
    composer::ProgressionChoice choice;
    if (!ApplyFlags(flags, options, error) || (!flags.random && !flags.groupChords && !ChooseProgressions(flags, choice, error))) {
        std::fprintf(err, "%s: %s\n", flags.output.c_str(), error.c_str());
        return 1;
    }
    composer::GeneratedSong previous;
    if (!flags.lock.empty() && !ReadExistingSong(flags.output, previous, error)) {
        std::fprintf(err, "%s: %s (--lock keeps measures of this song)\n", flags.output.c_str(), error.c_str());
        return 1;
    }
    for (const int measure : flags.lock) {
        if (measure >= 1 && measure <= static_cast<int>(previous.Measures.size())) continue;
        std::fprintf(err, "%s: --lock %d: the song has measures 1 … %zu\n", flags.output.c_str(), measure,
                     previous.Measures.size());
        return 1;
    }
    if (flags.seed) session.Random().Seed(*flags.seed);
    if (!LoadStyle(render, flags, options, error)) {
        std::fprintf(err, "%s: %s\n", flags.style.c_str(), error.c_str());
        return 1;
    }
    if (!session.Style().style.StyleLoaded) LoadStartupStyle(render);
    if (flags.tempo) appState.clock.Tempo = *flags.tempo;

    const auto mode = flags.random        ? composer::GenerationMode::CompletelyRandom
                      : flags.groupChords ? composer::GenerationMode::RandomChords
                                          : composer::GenerationMode::Progressions;
    composer::GeneratedSong song =
        composer::GenerateSong(options, mode, &choice, app::GeneratorInputsOf(session, appState), session.Random());
    if (!flags.lock.empty()) composer::KeepMeasures(previous, flags.lock, song);
    app::ApplyGeneratedSong(session, appState, song);

    const data::StyleState& style = session.Style().style;
    const std::string styleReference = style.StyleLoaded ? data::StoredStyleReference(style.StylePath) : std::string();
    const std::vector<std::uint8_t> bytes =
        data::WriteSongFile(data::SongFileContentOf(appState.arrangement, styleReference));
    if (!platform::WriteFileAtomically(flags.output, bytes, error)) {
        std::fprintf(err, "%s: %s\n", flags.output.c_str(), error.c_str());
        return 1;
    }
    const data::ControlKeys keys = chords::CurrentLayout(appState.chords, appState.keyboard, appState.config).Keys;
    const std::string styleName = style.StyleLoaded ? style.StylePath : std::string("(none)");
    const auto& noteNames = chords::NoteNamesFor(chords::MajorKeySharps[static_cast<std::size_t>(song.SongKey)]);
    std::fprintf(out, "%s: key %s, %d measures, tempo %d, style %s\n", flags.output.c_str(),
                 std::string(noteNames[static_cast<std::size_t>(song.SongKey)]).c_str(), song.ChordMeasures, song.Tempo, styleName.c_str());
    if (!song.Rows.empty()) std::fprintf(out, "%s  %s  %s\n", song.PlayLabel.c_str(), song.ProgressionText().c_str(), song.BarsText().c_str());
    std::fprintf(out, "%s\n", composer::SongNumerals(song).c_str());
    std::fputs(composer::SongSheetText(song, data::SectionKeyNotes::From(keys.FillIn, keys.ToBasic, keys.Ending, keys.ToExtended)).c_str(), out);
    return 0;
}

}  // namespace chordella::cli
