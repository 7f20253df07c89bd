// The game's command line: nothing starts the game; --version and --help answer on standard
// output with status 0; anything else is one line on standard error with status 2.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "game/command_line.hpp"

namespace {
using Args = std::vector<std::string>;

TEST(CommandLine, NoArgumentsPlays) {
    const TCommandLine c = ReadCommandLine({});
    EXPECT_TRUE(c.play);
    EXPECT_EQ(c.out + c.err, "");
}

TEST(CommandLine, VersionIsTheProjectsDottedVersion) {
    EXPECT_TRUE(std::regex_match(GameVersion(), std::regex(R"(\d+\.\d+\.\d+)"))) << GameVersion();
    const TCommandLine c = ReadCommandLine({"--version"});
    EXPECT_FALSE(c.play);
    EXPECT_EQ(c.status, 0);
    EXPECT_EQ(c.out, std::string("orbitrants ") + GameVersion() + "\n");
    EXPECT_EQ(c.err, "");
}

TEST(CommandLine, HelpNamesEveryControlAndTheOnlyWayOut) {
    const TCommandLine c = ReadCommandLine({"--help"});
    EXPECT_FALSE(c.play);
    EXPECT_EQ(c.status, 0);
    EXPECT_EQ(c.err, "");
    EXPECT_EQ(c.out.rfind("Usage: orbitrants [--help | --version]\n", 0), 0u) << c.out;
    for (const char* control : {"mouse", "left button", "thrust", "P ", "pause", "Q ", "enemy",
                                "Page Up", "Page Down", "Up, Down", "Escape", "quit"})
        EXPECT_NE(c.out.find(control), std::string::npos) << control;
    EXPECT_NE(c.out.find("Escape is the only way out"), std::string::npos);
}

TEST(CommandLine, AnythingElseIsOneLineOnStandardErrorAndStatusTwo) {
    const std::pair<Args, std::string> cases[] = {
        {{"-h"}, "-h"},
        {{"--Help"}, "--Help"},
        {{"--help=1"}, "--help=1"},
        {{""}, ""},
        {{"play"}, "play"},
        {{"--help", "x"}, "x"},
        {{"--version", "--help"}, "--help"},
        {{"x", "--help"}, "x"},
        {{"--version", "--version"}, "--version"},
    };
    for (const auto& [args, named] : cases) {
        const TCommandLine c = ReadCommandLine(args);
        EXPECT_FALSE(c.play) << testing::PrintToString(args);
        EXPECT_EQ(c.status, 2) << testing::PrintToString(args);
        EXPECT_EQ(c.out, "") << testing::PrintToString(args);
        EXPECT_EQ(c.err,
                  "orbitrants: unexpected argument '" + named + "' (try orbitrants --help)\n")
            << testing::PrintToString(args);
    }
}
}  // namespace
