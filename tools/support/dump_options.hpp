// orbitrants-dump's options: OUTDIR [--clock MS] [--raw], or --icon PATH.png [--size N] [--clock MS].
// Depends on the tools' argument helpers.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/tool_args.hpp"

// The icon's side in pixels: the desktop's sizes lie between these.
constexpr int kDefaultIconSize = 64, kMinIconSize = 16, kMaxIconSize = 1024;

struct TDumpOptions {
    std::filesystem::path out;   // the folder for the content, or empty
    std::filesystem::path icon;  // the icon's file, or empty; exactly one of the two is set
    int clock = kDefaultToolClock;
    int icon_size = 0;  // the icon's --size, 0 when not given (kDefaultIconSize then)
    bool raw = false;   // image frames as bare RGBA rows instead of PNG (content folder only)

    bool operator==(const TDumpOptions&) const = default;
};

// Reads orbitrants-dump's arguments (those after the program name).
TParsed<TDumpOptions> ParseDumpOptions(const std::vector<std::string>& args);
