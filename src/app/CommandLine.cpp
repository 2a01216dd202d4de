// The only file that includes CLI11 (it is slow to compile). Each command's work lives in
// its own file; here it only gets its flags.
#include "app/CommandLine.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>

#include "app/PortsCommand.h"
#include "app/Version.h"

namespace chordella::app {

namespace {

constexpr int ExitUsage = 2;

// Flags every command understands.
struct GlobalFlags {
    std::string home;   // --home DIR: a portable data home
    bool yes = false;   // --yes: answer Yes to every question
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
    CLI::App* ports = cli.add_subcommand("ports", "List MIDI inputs and outputs");

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

    if (ports->parsed()) return RunPortsCommand(stdout);

    // No command: the desktop window opens here once it exists; until then show the usage.
    std::fputs(cli.help().c_str(), stdout);
    return 0;
}

}  // namespace chordella::app
