#include "main/CommandLine.h"

int main(int argc, char** argv) { return chordella::app::RunCommandLine(argc, argv); }
