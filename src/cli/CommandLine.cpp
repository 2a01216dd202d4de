// The only file that includes CLI11 (it is slow to compile). Each command's work lives in
// its own file; here it only gets its flags.
#include "cli/CommandLine.h"

#include <algorithm>
#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

#include "app/MainInstance.h"
#include "app/Version.h"
#include "cli/ArrangerCommand.h"
#include "cli/BatchCommand.h"
#include "cli/BatchSongsCommand.h"
#include "cli/ChartCommands.h"
#include "cli/ConvertCommand.h"
#include "cli/CreateCommand.h"
#include "cli/FileCommands.h"
#include "cli/GenerateCommand.h"
#include "cli/PortsCommand.h"
#include "cli/RemoteCommand.h"
#include "cli/RenderCommands.h"
#include "cli/SonglistCommand.h"
#include "cli/StylesCommand.h"
#include "composer/SongGenerator.h"

namespace chordella::cli {

namespace {

constexpr int ExitUsage = 2;

// Flags every command understands.
struct GlobalFlags {
    std::string home;    // --home DIR: a portable data home
    bool yes = false;    // --yes: answer Yes to every question
    bool reset = false;  // --reset: start with the default settings instead of the stored ones
    std::string file;    // FILE: without a command, the style to open (or hand to the running instance)
};

// A flag that turns an option off (the option stays as it is without the flag).
void AddOffFlag(CLI::App& command, const std::string& name, bool& option, const std::string& help) {
    command.add_flag_callback(name, [&option] { option = false; }, help);
}

// The built-in synth's settings as flags (the options window's "Audio" page). Offline only
// what shapes the sound; live also the driver, device, rate and buffer.
void AddAudioFlags(CLI::App& command, app::AudioFlags& flags, bool live) {
    command.add_option("--soundfont", flags.soundFont, "The built-in synth's SoundFont (.sf2, .sf3)")->option_text("FILE");
    if (live) {
        command.add_option("--audio-driver", flags.driver, "auto, jack, pulseaudio (also PipeWire) or alsa")
            ->option_text("NAME");
        command.add_option("--audio-device", flags.device, "The driver's output device (ALSA: default, hw:0 …)")
            ->option_text("NAME");
        command.add_option("--sample-rate", flags.sampleRate, "44100, 48000, 88200 or 96000 (JACK: the server's)")
            ->option_text("HZ");
        command.add_option("--buffer", flags.buffer, "Frames of one audio period (JACK: the server's)")
            ->option_text("FRAMES");
    }
    command.add_option("--volume", flags.volume, "The built-in synth's master volume, 0 … 100")->option_text("PERCENT");
    command.add_option("--reverb", flags.reverb, "The built-in synth's reverb: off, on or a level 0 … 100")
        ->option_text("LEVEL");
    command.add_option("--chorus", flags.chorus, "The built-in synth's chorus: off, on or a level 0 … 100")
        ->option_text("LEVEL");
}

// The song creator's options as flags, each named after its caption.
void AddGenerateOptions(CLI::App& command, GenerateCommandFlags& flags) {
    using composer::ChordRate;
    auto& o = flags.options;
    command.add_option("-o,--output", flags.output, "The song to write (.vxa)")->option_text("SONG.vxa");
    command.add_option("--row", flags.row, "Use this progression (0 … 99) for the whole song")->option_text("N");
    command.add_option("--section", flags.section, "Progressions of a section: 1, 2, blues8, blues12 or blues16")
        ->option_text("S");
    command.add_option("--range", flags.range, "Progressions of a range of rows, e.g. 10-20")->option_text("LO-HI");
    command.add_flag("--random", flags.random, "Generate a completely random song");
    command.add_flag("--group-chords", flags.groupChords, "Random chords of the key's chord groups (\"Create chords\")");
    command.add_option("--key", flags.key, "The key (C, G, D, A, E, B, F#, Db, Ab, Eb, Bb, F); without it a random key")
        ->option_text("K");
    command.add_option("--mode", flags.mode, "The mode: 1 Major/Ionian … 6 N. Minor/Aeolian, 7 Locrian")->option_text("1-7");
    command.add_option("--measures", o.SongMeasures, "Song measures (default 32)")
        ->check(CLI::Range(1, composer::MaxGeneratedMeasures(16)))
        ->option_text("N");
    command.add_option("--tempo", flags.tempo, "Tempo in beats per minute (25 … 250)")
        ->check(CLI::Range(25, 250))
        ->option_text("BPM");
    command.add_option("--seed", flags.seed, "Seed of the random choices: the same seed gives the same song")
        ->option_text("S");
    command.add_option("--style", flags.style, "The style (.vxs); without it one of the styles folder")->option_text("S");
    command.add_option("--keys", flags.keys,
                       "Chords of: one-major (default), one-minor, parallel, relative, six-relative, six-parallel")
        ->option_text("K");
    command.add_option("--lock", flags.lock, "Keep these measures of the song already in SONG.vxa")
        ->delimiter(',')
        ->option_text("M,M,...");
    command.add_flag("--csv", flags.csv, "Write the common progressions as CCPList.csv into the data folder");
    command.add_flag("--every-two-measures", [&o](std::int64_t) { o.Rate = ChordRate::EveryTwoMeasures; },
                     "Change chord always every two measures");
    command.add_flag("--every-measure", [&o](std::int64_t) { o.Rate = ChordRate::EveryMeasure; },
                     "Change chord always every measure");
    command.add_flag("--every-half-measure", [&o](std::int64_t) { o.Rate = ChordRate::EveryHalfMeasure; },
                     "Change chord every half measure");
    AddOffFlag(command, "--no-base-chord", o.StartWithBaseChord, "Start new key with its base chord: off");
    AddOffFlag(command, "--base-chord-every-key", o.BaseChordOnlyFirstKey, "... only at 1.key: off");
    AddOffFlag(command, "--no-tempo-variations", o.TempoVariations, "Allow tempo variations (+/- 2): off");
    AddOffFlag(command, "--no-loops", o.LoopsInSong, "Allow loops within the song: off");
    AddOffFlag(command, "--all-chord-types", o.OnlyMajorMinorChords, "Use only major && minor chords: off");
    AddOffFlag(command, "--not-only-principal", o.OnlyPrincipalChords, "I, ii ,iii, IV, V, vi: off");
    AddOffFlag(command, "--no-7th", o.SeventhChords, "Use 7th chords: off");
    AddOffFlag(command, "--no-sus", o.SusChords, "Use sus chords: off");
    AddOffFlag(command, "--all-keys", o.RandomKeyWhiteOnly, "Random key only from C,D,E,F,G,A,B: off");
    command.add_flag("--one-progression", o.OneProgressionPerSong, "Use only one chord progression per song");
    command.add_flag("--sequential", o.SequentialProgressions, "Sequential call of common chord progressions");
    command.add_flag("--with-bass-track", o.WithBassTrack, "... with bass track (random style)");
    command.add_flag("--no-random-style", flags.noRandomStyle, "Randomly choose style: off");
    command.add_flag("--simple", flags.simple, "Generate simple songs: 2 keys, maj. && min. chords");
}

}  // namespace

int RunCommandLine(int argc, char** argv, ProgramRunner window, ProgramRunner headless) {
    CLI::App cli{"Chordella: a real-time MIDI auto-accompaniment program", "chordella"};
    cli.set_version_flag("--version", std::string("chordella ") + app::Version);
    cli.require_subcommand(0, 1);
    GlobalFlags global;
    cli.add_option("--home", global.home, "Keep songs, styles, lists and settings in this folder")
        ->option_text("DIR");
    cli.add_flag("--yes", global.yes, "Answer Yes to every question");
    cli.add_flag("--reset", global.reset,
                 "Start with the default settings instead of the stored ones (they are saved at exit)");
    cli.add_option("FILE", global.file, "Without a command: a style to open, also in a running Chordella")
        ->check(CLI::Validator(
            [&cli](std::string& file) -> std::string {
                if (CLI::ExistingFile(file).empty()) return {};
                // A bare word is a mistyped command far more often than a missing file.
                if (file.find_first_of("/\\.") != std::string::npos) return "File does not exist: " + file;
                std::string commands;
                for (const CLI::App* command : cli.get_subcommands({}))
                    commands += (commands.empty() ? "" : ", ") + command->get_name();
                return file + " is not a command; the commands are " + commands;
            },
            ""))
        ->option_text(" ");

    ImportCommandFlags importFlags;
    std::string importStyle;
    CLI::App* importCommand = cli.add_subcommand(
        "import", "Import a MIDI file or keyboard style file into a style-creator work file, or a chord chart into a song");
    importCommand->add_option("FILE", importFlags.input,
                              "The .mid, .kar, .sty, .prs, .bcs or .sst file; a ChordPro chart (.cho) or a text file "
                              "with an irealbook:// link")
        ->required();
    importCommand->add_option("-o,--output", importFlags.output, "The work file (.vxw) or, for a chart, the song (.vxa)")
        ->required()
        ->option_text("WORK.vxw|SONG.vxa");
    importCommand->add_option("--style", importStyle, "A chart: the style the song is played with")
        ->option_text("STYLE.vxs");
    importCommand->add_flag("--keep-silence", importFlags.keepLeadingSilence,
                            "Keep the silence before the first note");
    importCommand->add_flag("--force", importFlags.force,
                            "Replace an existing file that is not a work file (for a chart: not a song)");

    ConvertCommandFlags convertFlags;
    CLI::App* convertCommand = cli.add_subcommand(
        "convert", "Convert keyboard style files (.sty, .prs, .bcs, …) into styles, one per variations set");
    convertCommand->add_option("FILE", convertFlags.inputs, "The style files")->required();
    convertCommand->add_option("-o,--output", convertFlags.outputFolder, "The folder the styles go to (NAME-k.vxs)")
        ->required()
        ->option_text("DIR");
    convertCommand->add_option("--sets", convertFlags.sets, "The variations sets to write (default 1-6)")
        ->option_text("N|A-B");
    convertCommand->add_flag("--normalize", convertFlags.normalize, "Normalise the channel volumes");
    convertCommand->add_flag("--no-casm", convertFlags.noCasm, "Ignore the files' channel tables (CASM)");
    convertCommand->add_flag("--native", convertFlags.native,
                             "Conversion mode \"Channel table (native)\": keep the maker's notes and each channel's "
                             "rules, played natively");
    convertCommand->add_flag("--channels", convertFlags.channels, "Report per part and channel what was kept, moved or dropped");
    convertCommand->add_flag("--keep-intro-ending", convertFlags.keepIntroEnding, "Do not convert Intro and Ending");
    convertCommand->add_flag("--no-beat2", convertFlags.noBeat2, "Do not start with beat 2 at 3/4 measure styles");
    convertCommand->add_flag("--keep-channels-9-11", convertFlags.keepChannels9And11,
                             "Do not process events of channels 9 and 11");
    convertCommand->add_option("--random", convertFlags.random,
                               "One style: set = choose variations set randomly, parts = choose style parts randomly");
    convertCommand->add_option("--import-parts", convertFlags.importParts,
                               "The inputs are folders of style-part MIDI files, read as set 1 - 11 … 4 - 21");
    convertCommand->add_option("--export-parts", convertFlags.exportParts,
                               "Also write the last style's parts as MIDI files of set 1 … 4 (styN_*.mid)");

    BatchCommandFlags batchFlags;
    CLI::App* batchCommand = cli.add_subcommand(
        "batch", "One style operation over a folder or a playlist: convert, delete-bassless, check, normalize, "
                 "refresh, add, tag, songs N");
    batchCommand->add_option("MODE", batchFlags.mode, "convert, delete-bassless, check, normalize, refresh, add, tag or songs")
        ->required();
    batchCommand->add_option("DIR", batchFlags.folder, "The folder of the styles (songs: the number of songs)")
        ->option_text("DIR|N");
    batchCommand->add_option("--playlist", batchFlags.playlist, "Take the styles listed in this playlist")
        ->option_text("FILE");
    batchCommand->add_option("-o,--output", batchFlags.outputFolder, "convert: the folder the styles go to")
        ->option_text("DIR");
    batchCommand->add_option("--sets", batchFlags.sets, "convert: styles per file, sets 1 … N (default 6)")
        ->check(CLI::Range(1, 6))
        ->option_text("N");
    batchCommand->add_option("--description", batchFlags.description,
                             "convert, add: a short description; \"???\" takes each style's folder name")
        ->option_text("TEXT");
    batchCommand->add_flag("--clear", batchFlags.clearPlaylist, "add: clear the playlist first");
    batchCommand->add_flag("--yes", batchFlags.yes, "delete-bassless: delete without asking");

    CreateCommandFlags createFlags;
    CLI::App* createCommand = cli.add_subcommand(
        "create", "Make a style from MIDI material or a style-creator work file: chords, conversion, parts");
    createCommand->add_option("FILE", createFlags.input, "The material (.mid, .kar, .sty, …) or a work file (.vxw)")
        ->required();
    createCommand->add_option("-o,--output", createFlags.output, "The style to write")->required()->option_text("STYLE.vxs");
    createCommand->add_flag("--quick", createFlags.quick, "Quick style from the first loop (the default)");
    createCommand->add_option("--structure", createFlags.structure, "Parts from \"Style.src\": style A or B")
        ->option_text("A|B");
    createCommand->add_option("--part", createFlags.parts, "A part's measures, e.g. Basic=1-4 (several)")
        ->option_text("NAME=FIRST-LAST");
    createCommand->add_option("--interval", createFlags.interval, "Chord change per measure: 1/4 (default) … 2/1")
        ->option_text("1/4|1/2|3/4|1/1|5/4|6/4|7/4|2/1");
    createCommand->add_option("--chord-set", createFlags.chordSet, "1 Major, 2 Simple, 3 Normal, 4 Special (default)")
        ->option_text("1-4");
    createCommand->add_option("--sensitivity", createFlags.sensitivity, "1 Low, 2 Middle, 3 High, 4 Extreme (default)")
        ->option_text("1-4");
    createCommand->add_option("--mode", createFlags.mode, "Convert mode 0 None N.C. … 5 All notes (default), 6 All notes to C")
        ->option_text("0-6");
    createCommand->add_option("--work", createFlags.work, "Also save the work file")->option_text("OUT.vxw");
    createCommand->add_flag("--force", createFlags.force, "Replace existing files of another kind");
    createCommand->footer(
        "Chords: MIDI material always gets new chords. A work file (.vxw) keeps the chords it holds; they are\n"
        "generated again only when it holds none or when --interval, --chord-set or --sensitivity is given.");

    std::string infoPath;
    CLI::App* infoCommand = cli.add_subcommand("info", "Describe a style, song, MIDI file, keyboard style file or work file");
    infoCommand->add_option("FILE", infoPath, "The file to describe")->required();
    CLI::App* ports = cli.add_subcommand("ports", "List MIDI inputs and outputs");

    RemoteFlags remoteFlags;
    CLI::App* remoteCommand = cli.add_subcommand("remote", "List the MIDI remote control, or learn a message for a function");
    remoteCommand->add_option("ACTION", remoteFlags.action, "list, or learn FUNCTION")
        ->required()
        ->check(CLI::IsMember({"list", "learn"}));
    remoteCommand->add_option("FUNCTION", remoteFlags.function, "learn: a function's number or name (\"Start/Stop\")");
    remoteCommand->add_option("--second-in", remoteFlags.secondIn, "learn: the input the message comes from")
        ->option_text("PORT");
    remoteCommand->add_option("--timeout", remoteFlags.timeoutSeconds, "learn: seconds to wait (default 60)")
        ->check(CLI::Range(1, 3600))
        ->option_text("S");

    LeadSheetFlags leadSheetFlags;
    CLI::App* leadSheetCommand =
        cli.add_subcommand("leadsheet", "Write a song's lead sheet, or its chords as a ChordPro, MusicXML or iReal Pro chart");
    leadSheetCommand->add_option("FILE", leadSheetFlags.input, "The song (.vxa)")->required();
    leadSheetCommand->add_option("-o,--output", leadSheetFlags.output,
                                 "The file to write (default: standard output)")
        ->option_text("OUT");
    leadSheetCommand->add_option("--format", leadSheetFlags.format, "text, chordpro, musicxml or ireal (default text)")
        ->check(CLI::IsMember({"text", "chordpro", "musicxml", "ireal"}))
        ->option_text("FORMAT");
    leadSheetCommand->add_option("--transpose", leadSheetFlags.transpose,
                                 "Semitones (-11 … 11), or Bb / Eb for the charts of transposing instruments")
        ->option_text("N|Bb|Eb");
    leadSheetCommand->add_flag("--force", leadSheetFlags.force, "Replace an existing file that is not a text file");

    ArrangerFlags arrangerFlags;
    CLI::App* arranger = cli.add_subcommand("arranger", "Play the live arranger without a window (Ctrl+C stops, p is the panic)");
    arranger->add_option("--in", arrangerFlags.in, "The keyboard: an input's id, name or part of its name")
        ->option_text("PORT");
    arranger->add_option("--out", arrangerFlags.out, "The output; without it the built-in synth plays")
        ->option_text("PORT");
    arranger->add_option("--second-in", arrangerFlags.secondIn, "The input for MIDI commands and clock")
        ->option_text("PORT");
    arranger->add_option("--commands", arrangerFlags.commands, "The ten MIDI commands (a .ccs command file)")
        ->option_text("FILE.ccs");
    arranger->add_option("--commands-out", arrangerFlags.commandsOut, "The output the MIDI commands are sent on")
        ->option_text("PORT");
    arranger->add_option("--style", arrangerFlags.style, "The style to play (.vxs, or another maker's .sty, .prs, …)")
        ->option_text("FILE");
    arranger->add_option("--set", arrangerFlags.set, "Another maker's style: its variations set")
        ->check(CLI::Range(1, 6))
        ->option_text("N");
    arranger->add_option("--first-key", arrangerFlags.firstKey, "Lowest key of the chord zone (MIDI note)")
        ->check(CLI::Range(0, 127))
        ->option_text("N");
    arranger->add_option("--last-key", arrangerFlags.lastKey, "Highest key of the chord zone (MIDI note)")
        ->check(CLI::Range(0, 127))
        ->option_text("N");
    arranger->add_option("--tempo", arrangerFlags.tempo, "Tempo in beats per minute (25 … 250)")
        ->check(CLI::Range(25, 250))
        ->option_text("BPM");
    arranger->add_flag("--start", arrangerFlags.start, "Start the style at once instead of at the first chord");
    AddAudioFlags(*arranger, arrangerFlags.audio, true);
    arranger->footer(ArrangerKeysHelp());
    RenderCommandFlags exportFlags;
    CLI::App* exportCommand =
        cli.add_subcommand("export", "Write a song with its style, or a style alone, as a MIDI file");
    exportCommand->add_option("FILE", exportFlags.input, "The song (.vxa) or style (.vxs)")->required();
    exportCommand->add_option("-o,--output", exportFlags.output, "The MIDI file to write")
        ->required()
        ->option_text("OUT.mid");
    exportCommand->add_flag("--force", exportFlags.force, "Replace an existing file that is not a MIDI file");
    exportCommand->add_option("--style", exportFlags.style, "The style a song is played with (default: its own)")
        ->option_text("STYLE.vxs");

    RenderCommandFlags renderFlags;
    CLI::App* renderCommand =
        cli.add_subcommand("render", "Play a song or style offline into a MIDI or WAV file");
    renderCommand->add_option("FILE", renderFlags.input, "The song (.vxa) or style (.vxs, .sty, .prs, …)")->required();
    renderCommand->add_option("--set", renderFlags.set, "Another maker's style: its variations set")
        ->check(CLI::Range(1, 6))
        ->option_text("N");
    renderCommand->add_option("-o,--output", renderFlags.output, "The file to write")
        ->required()
        ->option_text("OUT.mid|OUT.wav");
    renderCommand->add_flag("--force", renderFlags.force, "Replace an existing file of another kind");
    renderCommand->add_option("--style", renderFlags.style, "The style a song is played with (default: its own)")
        ->option_text("STYLE.vxs");
    renderCommand->add_option("--measures", renderFlags.measures,
                              "At most this many measures (a style alone: default 8)")
        ->check(CLI::NonNegativeNumber)
        ->option_text("N");
    AddAudioFlags(*renderCommand, renderFlags.audio, false);

    PlayCommandFlags playFlags;
    CLI::App* playCommand = cli.add_subcommand("play", "Play a song or style through a MIDI output or the built-in synth");
    playCommand->add_option("FILE", playFlags.input,
                            "The song (.vxa) or style (.vxs, .sty, .prs, …); without it the demo song");
    playCommand->add_option("--set", playFlags.set, "Another maker's style: its variations set")
        ->check(CLI::Range(1, 6))
        ->option_text("N");
    playCommand->add_option("--style", playFlags.style, "The style a song is played with (default: its own)")
        ->option_text("STYLE.vxs");
    playCommand->add_option("--out", playFlags.port, "A MIDI output's number or name (default: the built-in synth)")
        ->option_text("PORT");
    playCommand->add_option("--measures", playFlags.measures, "A style alone: stop after this many measures")
        ->check(CLI::NonNegativeNumber)
        ->option_text("N");
    AddAudioFlags(*playCommand, playFlags.audio, true);

    SonglistCommandFlags songlistFlags;
    CLI::App* songlistCommand =
        cli.add_subcommand("songlist", "Print, play or add to a songlist (.vxl)");
    songlistCommand->add_option("LIST", songlistFlags.list, "The songlist file")->required();
    songlistCommand->add_flag("--play", songlistFlags.play, "Play the songs in turn, one status line per song");
    songlistCommand->add_option("--from", songlistFlags.from, "Start at this song (1-based)")->option_text("N");
    songlistCommand->add_flag("--session", songlistFlags.session,
                              "Session mode: each song is repeated at its ending mark");
    songlistCommand->add_option("--repeats", songlistFlags.repeats,
                                "Plays per song in session mode (default 2; 0 turns session mode off, more than 20 "
                                "plays 20)")
        ->check(CLI::NonNegativeNumber)
        ->option_text("N");
    songlistCommand->add_option("--out", songlistFlags.port,
                                "A MIDI output's number or name (default: the built-in synth)")
        ->option_text("PORT");
    songlistCommand->add_option("--style", songlistFlags.style, "The style for songs that name none")
        ->option_text("STYLE.vxs");
    songlistCommand->add_option("--add", songlistFlags.add, "Add this song (.vxa or .mid) at the end of the list")
        ->option_text("SONG");
    songlistCommand->add_option("--title", songlistFlags.title, "The title of the song added")->option_text("T");
    StylesCommandFlags stylesFlags;
    CLI::App* stylesCommand = cli.add_subcommand(
        "styles", "Keep the style playlist: add styles, search, delete duplicates, prune, favourites");
    stylesCommand->add_option("ACTION", stylesFlags.action, "add, search, dedupe, prune, favorite or favorites (dedupe, export)")
        ->required()
        ->check(CLI::IsMember({"add", "search", "dedupe", "prune", "favorite", "favorites"}));
    stylesCommand->add_option("ARGS", stylesFlags.arguments,
                              "add: style files and folders; search: the query (\"!pop !rock; >75; +4/4\"); "
                              "favorite: the style file; favorites: dedupe or export");
    stylesCommand->add_option("--playlist", stylesFlags.playlist, "The playlist (default: StylePlayList.gen of the data home)")
        ->option_text("FILE");
    stylesCommand->add_option("--describe", stylesFlags.describe, "add: the short description of the styles added")
        ->option_text("TEXT");
    stylesCommand->add_flag("--without-bass", stylesFlags.withoutBass, "prune: also the program's styles without bass");
    // A query may begin with '-' ("-pop"): what is no option of ours is kept for the search.
    stylesCommand->allow_extras();
    GenerateCommandFlags generateFlags;
    CLI::App* generateCommand = cli.add_subcommand(
        "generate", "Make a song from common chord progressions or random chords, print it and write it");
    AddGenerateOptions(*generateCommand, generateFlags);

    try {
        cli.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::fputs(cli.help().c_str(), stdout);
        return 0;
    } catch (const CLI::CallForVersion& e) {
        std::printf("%s\n", e.what());
        return 0;
    } catch (const CLI::ParseError& e) {
        std::fprintf(stderr, "chordella: %s (see chordella --help)\n", e.what());
        return ExitUsage;
    }

    if (*importCommand && IsChartFile(importFlags.input))
        return RunChartImportCommand({importFlags.input, importFlags.output, importStyle, importFlags.force}, stdout, stderr);
    if (*leadSheetCommand) return RunLeadSheetCommand(leadSheetFlags, stdout, stderr);
    if (*importCommand) {
        if (!global.home.empty()) importFlags.home = global.home;
        return RunImportCommand(importFlags, stdout, stderr);
    }
    if (*infoCommand) return RunInfoCommand(infoPath, stdout, stderr);
    if (*batchCommand) {
        SetBatchSongsRunner(RunBatchSongsCommand);
        if (!global.home.empty()) batchFlags.home = global.home;
        batchFlags.yes = batchFlags.yes || global.yes;
        return RunBatchCommand(batchFlags, stdin, stdout, stderr);
    }
    if (*convertCommand) {
        if (!global.home.empty()) convertFlags.home = global.home;
        return RunConvertCommand(convertFlags, stdout, stderr);
    }
    if (*createCommand) {
        if (!global.home.empty()) createFlags.home = global.home;
        createFlags.newChords = createCommand->count("--interval") + createCommand->count("--chord-set") +
                                    createCommand->count("--sensitivity") > 0;
        return RunCreateCommand(createFlags, stdout, stderr);
    }
    if (*generateCommand) {
        if (!global.home.empty()) generateFlags.home = global.home;
        return RunGenerateCommand(generateFlags, stdout, stderr);
    }
    if (!global.home.empty()) exportFlags.home = renderFlags.home = playFlags.home = global.home;
    if (*exportCommand) return RunExportCommand(exportFlags, stdout, stderr);
    if (*renderCommand) return RunRenderCommand(renderFlags, stdout, stderr);
    if (*playCommand) return RunPlayCommand(playFlags, stdout, stderr);
    if (*songlistCommand) {
        if (!global.home.empty()) songlistFlags.home = global.home;
        return RunSonglistCommand(songlistFlags, stdout, stderr);
    }
    if (*stylesCommand) {
        if (!global.home.empty()) stylesFlags.home = global.home;
        std::vector<std::string> extras = stylesCommand->remaining();
        // "--" before a query still only ends the options.
        if (const auto dashes = std::find(extras.begin(), extras.end(), "--"); dashes != extras.end()) extras.erase(dashes);
        if (!extras.empty() && stylesFlags.action != "search") {
            std::fprintf(stderr, "chordella: styles %s: %s is not an option of it (see chordella styles --help)\n",
                         stylesFlags.action.c_str(), extras.front().c_str());
            return ExitUsage;
        }
        stylesFlags.arguments.insert(stylesFlags.arguments.end(), extras.begin(), extras.end());
        return RunStylesCommand(stylesFlags, stdout, stderr);
    }
    if (ports->parsed()) return RunPortsCommand(stdout, global.home.empty() ? std::nullopt : std::optional(global.home));
    if (remoteCommand->parsed()) {
        if (!global.home.empty()) remoteFlags.home = global.home;
        remoteFlags.reset = global.reset;
        return RunRemoteCommand(remoteFlags, stdout, stderr);
    }
    if (arranger->parsed()) {
        if (!global.home.empty()) arrangerFlags.home = global.home;
        arrangerFlags.reset = global.reset;
        return RunArrangerCommand(arrangerFlags, stdout, stderr);
    }
    if (!cli.get_subcommands().empty()) return 0;

    // No command: the program itself, with its window where one can be opened.
    app::InstanceArguments instance;
    if (!global.home.empty()) instance.Home = global.home;
    instance.File = global.file;
    instance.ResetSettings = global.reset;
    instance.AssumeYes = global.yes;
    if (window != nullptr && app::DisplayAvailable()) return window(instance, argc, argv);
    return headless(instance, argc, argv);
}

}  // namespace chordella::cli
