// Process entry of the game: answers --version and --help, or runs the game once and exits
// with its status.
#include <cstdio>

#include "game/command_line.hpp"
#include "game/startup.hpp"

int main(int argc, char** argv) {
    const TCommandLine line =
        ReadCommandLine(std::vector<std::string>(argv + (argc > 0), argv + argc));
    if (line.play) return RunGame();
    std::fputs(line.out.c_str(), stdout);
    std::fputs(line.err.c_str(), stderr);
    return line.status;
}
