// The only file that includes CLI11 (it is slow to compile). Each command's work lives in
// its own file; here it only gets its flags.
#include "app/CommandLine.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

#include "app/MainInstance.h"
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

int RunCommandLine(int argc, char** argv) {
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

    if (!cli.get_subcommands().empty()) return 0;
    // No command: the program itself (the desktop window once it exists; until then it
    // runs without a window).
    InstanceArguments instance;
    if (!global.home.empty()) instance.Home = global.home;
    instance.File = global.file;
    instance.ResetSettings = global.reset;
    instance.AssumeYes = global.yes;
    return RunMainInstance(instance);
}

}  // namespace chordella::app
