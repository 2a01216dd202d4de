// `chordella-desktop`: the same command line as `chordella`, with the window linked in. The
// `chordella` command hands over to it when it would open the window.
#include "cli/CommandLine.h"
#include "desktop/HeadlessInstance.h"
#include "ui/RunDesktop.h"

int main(int argc, char** argv) {
    return chordella::cli::RunCommandLine(argc, argv, &chordella::ui::RunDesktop, &chordella::desktop::RunHeadless);
}
