// The only file that includes CLI11 (it is slow to compile). Each command's work lives in
// its own file; here it only gets its flags.
#include "main/CommandLine.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

#include "app/ArrangerCommand.h"
#include "app/MainInstance.h"
#include "app/FileCommands.h"
#include "app/PortsCommand.h"
#include "app/RenderCommands.h"
#include "app/Version.h"

namespace chordella::app {

namespace {

constexpr int ExitUsage = 2;

// Flags every command understands.
struct GlobalFlags {
    std::string home;    // --home DIR: a portable data home
    bool yes = false;    // --yes: answer Yes to every question
    bool reset = false;  // --reset: start with the default settings instead of the stored ones
    std::string file;    // FILE: without a command, the style to open (or hand to the running instance)
};

}  // namespace

int RunCommandLine(int argc, char** argv, DesktopRunner desktop) {
    CLI::App cli{"Chordella: a real-time MIDI auto-accompaniment program", "chordella"};
    cli.set_version_flag("--version", std::string("chordella ") + Version);
    cli.require_subcommand(0, 1);
    GlobalFlags global;
    cli.add_option("--home", global.home, "Keep songs, styles, lists and settings in this folder")
        ->option_text("DIR");
    cli.add_flag("--yes", global.yes, "Answer Yes to every question");
    cli.add_flag("--reset", global.reset,
                 "Start with the default settings instead of the stored ones (they are saved at exit)");
    cli.add_option("FILE", global.file, "Without a command: a style to open, also in a running Chordella")
        ->check(CLI::ExistingFile)
        ->option_text(" ");

    ImportCommandFlags importFlags;
    CLI::App* importCommand =
        cli.add_subcommand("import", "Import a MIDI file or keyboard style file into a style-creator work file");
    importCommand->add_option("FILE", importFlags.input, "The .mid, .kar, .sty, .prs, .bcs or .sst file")->required();
    importCommand->add_option("-o,--output", importFlags.output, "The work file to write (.vxw)")
        ->required()
        ->option_text("WORK.vxw");
    importCommand->add_flag("--keep-silence", importFlags.keepLeadingSilence,
                            "Keep the silence before the first note");
    importCommand->add_flag("--force", importFlags.force, "Replace an existing file that is not a work file");

    std::string infoPath;
    CLI::App* infoCommand = cli.add_subcommand("info", "Describe a style, song, MIDI file, keyboard style file or work file");
    infoCommand->add_option("FILE", infoPath, "The file to describe")->required();
    CLI::App* ports = cli.add_subcommand("ports", "List MIDI inputs and outputs");

    ArrangerFlags arrangerFlags;
    CLI::App* arranger = cli.add_subcommand("arranger", "Play the live arranger without a window (Ctrl+C stops)");
    arranger->add_option("--in", arrangerFlags.in, "The keyboard: an input's id, name or part of its name")
        ->option_text("PORT");
    arranger->add_option("--out", arrangerFlags.out, "The output; without it the built-in synth plays")
        ->option_text("PORT");
    arranger->add_option("--second-in", arrangerFlags.secondIn, "The input for MIDI commands and clock")
        ->option_text("PORT");
    arranger->add_option("--style", arrangerFlags.style, "The style to play (.vxs)")->option_text("FILE");
    arranger->add_option("--first-key", arrangerFlags.firstKey, "Lowest key of the chord zone (MIDI note)")
        ->check(CLI::Range(0, 127))
        ->option_text("N");
    arranger->add_option("--last-key", arrangerFlags.lastKey, "Highest key of the chord zone (MIDI note)")
        ->check(CLI::Range(0, 127))
        ->option_text("N");
    arranger->add_option("--tempo", arrangerFlags.tempo, "Tempo in beats per minute (25 … 250)")
        ->check(CLI::Range(25, 250))
        ->option_text("BPM");
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
    renderCommand->add_option("FILE", renderFlags.input, "The song (.vxa) or style (.vxs)")->required();
    renderCommand->add_option("-o,--output", renderFlags.output, "The file to write")
        ->required()
        ->option_text("OUT.mid|OUT.wav");
    renderCommand->add_flag("--force", renderFlags.force, "Replace an existing file of another kind");
    renderCommand->add_option("--style", renderFlags.style, "The style a song is played with (default: its own)")
        ->option_text("STYLE.vxs");
    renderCommand->add_option("--measures", renderFlags.measures,
                              "At most this many measures (a style alone: default 8)")
        ->option_text("N");

    PlayCommandFlags playFlags;
    CLI::App* playCommand = cli.add_subcommand("play", "Play a song or style through a MIDI output or the built-in synth");
    playCommand->add_option("FILE", playFlags.input, "The song (.vxa) or style (.vxs); without it the demo song");
    playCommand->add_option("--style", playFlags.style, "The style a song is played with (default: its own)")
        ->option_text("STYLE.vxs");
    playCommand->add_option("--out", playFlags.port, "A MIDI output's number or name (default: the built-in synth)")
        ->option_text("PORT");
    playCommand->add_option("--measures", playFlags.measures, "A style alone: stop after this many measures")
        ->option_text("N");

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

    if (*importCommand) {
        if (!global.home.empty()) importFlags.home = global.home;
        return RunImportCommand(importFlags, stdout, stderr);
    }
    if (*infoCommand) return RunInfoCommand(infoPath, stdout, stderr);
    if (!global.home.empty()) exportFlags.home = renderFlags.home = playFlags.home = global.home;
    if (*exportCommand) return RunExportCommand(exportFlags, stdout, stderr);
    if (*renderCommand) return RunRenderCommand(renderFlags, stdout, stderr);
    if (*playCommand) return RunPlayCommand(playFlags, stdout, stderr);
    if (ports->parsed()) return RunPortsCommand(stdout);
    if (arranger->parsed()) {
        if (!global.home.empty()) arrangerFlags.home = global.home;
        arrangerFlags.reset = global.reset;
        return RunArrangerCommand(arrangerFlags, stdout, stderr);
    }
    if (!cli.get_subcommands().empty()) return 0;

    // No command: the program itself, with its window where one can be opened.
    InstanceArguments instance;
    if (!global.home.empty()) instance.Home = global.home;
    instance.File = global.file;
    instance.ResetSettings = global.reset;
    instance.AssumeYes = global.yes;
    if (desktop != nullptr && DisplayAvailable()) return desktop(instance, argc, argv);
    return RunMainInstance(instance);
}

}  // namespace chordella::app
