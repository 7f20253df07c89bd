// orbitrants-soak's options: --passes N [--seed S] [--clock MS] [--max-growth-kib K]. Depends
// on the tools' argument helpers.
#pragma once

#include <string>
#include <vector>

#include "support/tool_args.hpp"

struct TSoakOptions {
    int passes = 0;  // 1 or more
    int seed = 1;    // 0 or more
    int clock = kDefaultToolClock;
    int max_growth_kib = 64 * 1024;  // 0 or more; allocator caches settle within the default

    bool operator==(const TSoakOptions&) const = default;
};

// Reads orbitrants-soak's arguments (those after the program name).
TParsed<TSoakOptions> ParseSoakOptions(const std::vector<std::string>& args);
