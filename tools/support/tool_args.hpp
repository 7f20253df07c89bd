// What the developer tools share about their runs: failing with a message, reading their
// arguments (whole numbers, "--name value" pairs, parsed options or what is wrong with them),
// and a repeatable headless run with the clock fixed. Depends on the platform's clock.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Without --clock a run still repeats: the clock reads this.
constexpr int kDefaultToolClock = 0;

// Prints "TOOL: message" on standard error and exits with status 1.
[[noreturn]] void ToolFail(const std::string& tool, const std::string& message);
// Parses a whole decimal number that fits an int; false for anything else (empty, trailing
// characters, out of range).
bool ParseWholeNumber(const std::string& text, int* out);

// A tool's options as its arguments gave them, or what is wrong with the arguments (the message
// the tool fails with). The options mean nothing when `error` is set.
template <typename TOptions>
struct TParsed {
    TOptions options;
    std::string error;
    bool ok() const { return error.empty(); }
    bool operator==(const TParsed&) const = default;
};

// The parsed options; fails the tool with what is wrong with its arguments.
template <typename TOptions>
TOptions OptionsOrFail(const std::string& tool, TParsed<TOptions> parsed) {
    if (!parsed.ok()) ToolFail(tool, parsed.error);
    return std::move(parsed.options);
}

// The arguments after the program name.
std::vector<std::string> ToolArgs(int argc, const char* const* argv);
// Takes one option and its value; returns what is wrong with them, or "".
using TOptionTaker = std::function<std::string(const std::string& name, const std::string& value)>;
// Reads `args` as "--name value" pairs through `take`; returns the first thing wrong, `usage`
// when the last name has no value, or "".
std::string TakeOptionPairs(const std::vector<std::string>& args, const std::string& usage,
                            const TOptionTaker& take);
// Reads --clock's value into `clock`; returns what is wrong with it, or "".
std::string TakeClock(const std::string& value, int* clock);
// Fixes every ClockMillis() at `clock` and selects SDL's headless video driver unless the
// caller chose one.
void RunHeadless(int clock);
