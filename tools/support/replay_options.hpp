// orbitrants-replay's options: --frames N [--clock MS] [--input FILE] [--shot F:PATH.png]...
// [--trace PATH.csv] [--enemies PATH.csv]. Depends on the tools' argument helpers.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/tool_args.hpp"

struct TReplayOptions {
    int frames = 0;  // passes to run, 1 or more
    int clock = kDefaultToolClock;
    std::string input;                      // the script, or empty for none
    std::multimap<int, std::string> shots;  // pass (below `frames`) -> file
    std::string trace;                      // the CSV trace, or empty for none
    std::string enemies;                    // the enemies' CSV trace, or empty for none

    bool operator==(const TReplayOptions&) const = default;
};

// Reads orbitrants-replay's arguments (those after the program name).
TParsed<TReplayOptions> ParseReplayOptions(const std::vector<std::string>& args);
