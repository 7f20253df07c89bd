// The tools' option parsers: what each accepts, and for each way to get the arguments wrong the
// exact message the tool fails with (the messages and usage lines are the tools' interface).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/dump_options.hpp"
#include "support/replay_options.hpp"
#include "support/soak_options.hpp"

namespace {
using Args = std::vector<std::string>;

constexpr const char* kDumpUsage =
    "usage: orbitrants-dump OUTDIR [--clock MS] [--raw] | orbitrants-dump --icon PATH.png "
    "[--size N] [--clock MS]";
constexpr const char* kReplayUsage =
    "usage: orbitrants-replay --frames N [--clock MS] [--input FILE] "
    "[--shot F:PATH.png|F:PATH.rgba]... [--trace PATH.csv] [--enemies PATH.csv]";
constexpr const char* kSoakUsage =
    "usage: orbitrants-soak --passes N [--seed S] [--clock MS] [--max-growth-kib K]";

TEST(ToolOptions, ArgumentsAreThoseAfterTheProgramName) {
    const char* argv[] = {"tool", "a", "", "--b"};
    EXPECT_EQ(ToolArgs(4, argv), (Args{"a", "", "--b"}));
    EXPECT_EQ(ToolArgs(0, argv), Args{});
}

TEST(DumpOptions, AFolderOrAnIconWithAnyClock) {
    auto p = ParseDumpOptions({"out", "--clock", "-7"});
    ASSERT_TRUE(p.ok()) << p.error;
    EXPECT_EQ(p.options, (TDumpOptions{"out", "", -7}));
    p = ParseDumpOptions({"--clock", "5", "--icon", "i.png"});
    ASSERT_TRUE(p.ok()) << p.error;
    EXPECT_EQ(p.options, (TDumpOptions{"", "i.png", 5}));
    p = ParseDumpOptions({"--size", "16", "--icon", "i.png"});
    ASSERT_TRUE(p.ok()) << p.error;
    EXPECT_EQ(p.options, (TDumpOptions{"", "i.png", kDefaultToolClock, 16}));
    p = ParseDumpOptions({"--icon", "i.png", "--size", "1024"});
    ASSERT_TRUE(p.ok()) << p.error;
    EXPECT_EQ(p.options.icon_size, 1024);
    // A single dash is a name, and the last --clock counts.
    p = ParseDumpOptions({"-", "--clock", "1", "--clock", "2"});
    ASSERT_TRUE(p.ok()) << p.error;
    EXPECT_EQ(p.options, (TDumpOptions{"-", "", 2}));
    p = ParseDumpOptions({"--raw", "out"});
    ASSERT_TRUE(p.ok()) << p.error;
    EXPECT_EQ(p.options, (TDumpOptions{"out", "", kDefaultToolClock, 0, true}));
}

TEST(DumpOptions, AnythingElseIsTheUsageOrTheClocksMessage) {
    for (const Args& args : {Args{}, Args{"a", "b"}, Args{"--icon", "i.png", "out"},
                             Args{"--icon", "i", "--icon", "j"}, Args{"out", "--clock"},
                             Args{"--clock", "5"}, Args{"--bogus"}, Args{"--"}, Args{"a", ""},
                             Args{"out", "--size", "64"}, Args{"--icon", "i", "--size"},
                             Args{"--icon", "i.png", "--raw"}})
        EXPECT_EQ(ParseDumpOptions(args).error, kDumpUsage) << testing::PrintToString(args);
    for (const char* clock : {"x", " 5", "99999999999", ""})
        EXPECT_EQ(ParseDumpOptions({"out", "--clock", clock}).error,
                  "--clock needs a whole number of milliseconds")
            << clock;
    for (const char* size : {"15", "1025", "0", "-64", "64px", ""})
        EXPECT_EQ(ParseDumpOptions({"--icon", "i.png", "--size", size}).error,
                  "--size needs a whole number of pixels from 16 to 1024")
            << size;
}

TEST(ReplayOptions, EveryOptionAndRepeatedShots) {
    const auto p = ParseReplayOptions({"--shot", "2:a:b.png", "--frames", "3", "--clock", "-1",
                                       "--input", "in.txt", "--shot", "2:c.png", "--trace", "t",
                                       "--shot", "+0:d.png", "--enemies", "e"});
    ASSERT_TRUE(p.ok()) << p.error;
    EXPECT_EQ(p.options.frames, 3);
    EXPECT_EQ(p.options.clock, -1);
    EXPECT_EQ(p.options.input, "in.txt");
    EXPECT_EQ(p.options.trace, "t");
    EXPECT_EQ(p.options.enemies, "e");
    const std::multimap<int, std::string> shots = {{0, "d.png"}, {2, "a:b.png"}, {2, "c.png"}};
    EXPECT_EQ(p.options.shots, shots);
}

TEST(ReplayOptions, TheFirstFaultNamesItself) {
    const std::pair<Args, std::string> cases[] = {
        {{}, kReplayUsage},
        {{"--frames"}, kReplayUsage},
        {{"--clock", "5"}, kReplayUsage},
        {{"--frames", "3", "--bogus", "1"}, kReplayUsage},
        {{"--frames", "3", "extra"}, kReplayUsage},
        {{"--frames", "0"}, "--frames needs a whole number of passes, 1 or more"},
        {{"--frames", "5", "--frames", "x"}, "--frames needs a whole number of passes, 1 or more"},
        {{"--frames", "5", "--clock", "x"}, "--clock needs a whole number of milliseconds"},
        {{"--frames", "5", "--shot", "-1:x.png", "--shot", "9:y.png"},
         "--shot needs F:PATH.png with a pass F of 0 or more, got '-1:x.png'"},
        {{"--frames", "5", "--shot", "1:"},
         "--shot needs F:PATH.png with a pass F of 0 or more, got '1:'"},
        {{"--frames", "5", "--shot", "x.png"},
         "--shot needs F:PATH.png with a pass F of 0 or more, got 'x.png'"},
        // Checked once every option is read, the lowest pass first.
        {{"--shot", "9:y.png", "--shot", "5:x.png", "--frames", "5"},
         "--shot 5 is past the last pass"},
    };
    for (const auto& [args, message] : cases)
        EXPECT_EQ(ParseReplayOptions(args).error, message) << testing::PrintToString(args);
}

TEST(SoakOptions, DefaultsAndLimits) {
    auto p = ParseSoakOptions({"--passes", "1"});
    ASSERT_TRUE(p.ok()) << p.error;
    EXPECT_EQ(p.options, (TSoakOptions{1, 1, 0, 64 * 1024}));
    p = ParseSoakOptions({"--max-growth-kib", "0", "--seed", "0", "--clock", "-2147483648",
                          "--passes", "2147483647"});
    ASSERT_TRUE(p.ok()) << p.error;
    EXPECT_EQ(p.options, (TSoakOptions{2147483647, 0, -2147483647 - 1, 0}));
}

TEST(SoakOptions, TheFirstFaultNamesItself) {
    const std::pair<Args, std::string> cases[] = {
        {{}, "--passes needs a whole number of passes, 1 or more"},
        {{"--seed", "3"}, "--passes needs a whole number of passes, 1 or more"},
        {{"--passes", "5", "--passes", "0"}, "--passes needs a whole number of passes, 1 or more"},
        {{"--passes"}, kSoakUsage},
        {{"--bogus", "5", "--passes", "x"}, kSoakUsage},
        {{"--passes", "x", "--bogus", "5"}, "--passes needs a whole number, got 'x'"},
        {{"--passes", "5", "--clock", "1e3"}, "--clock needs a whole number, got '1e3'"},
        {{"--passes", "5", "--max-growth-kib", ""},
         "--max-growth-kib needs a whole number, got ''"},
        {{"--passes", "5", "--seed", "-1", "--max-growth-kib", "-1"},
         "--seed needs a whole number, 0 or more"},
        {{"--passes", "5", "--max-growth-kib", "-1"},
         "--max-growth-kib needs a whole number, 0 or more"},
    };
    for (const auto& [args, message] : cases)
        EXPECT_EQ(ParseSoakOptions(args).error, message) << testing::PrintToString(args);
}
}  // namespace
