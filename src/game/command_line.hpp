// The game's command line: it takes no configuration, only the two questions a package
// manager and a player ask of any program. Depends on the standard library alone.
#pragma once

#include <string>
#include <vector>

struct TCommandLine {
    bool play = true;  // no arguments: start the game
    int status = 0;    // the exit status when not playing
    std::string out;   // what to print on standard output
    std::string err;   // what to print on standard error
};

// The version the build was configured with, as in "1.0.0".
const char* GameVersion();
// What the arguments (those after the program name) ask for: play, --version, --help, or a
// one-line complaint with status 2.
TCommandLine ReadCommandLine(const std::vector<std::string>& args);
