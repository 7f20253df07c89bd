// What the developer tools share about their runs: failing with a message, whole-number
// arguments, and a repeatable headless run with the clock fixed. Depends on the platform's
// clock.
#pragma once

#include <string>

// Without --clock a run still repeats: the clock reads this.
constexpr int kDefaultToolClock = 0;

// Prints "TOOL: message" on standard error and exits with status 1.
[[noreturn]] void ToolFail(const std::string& tool, const std::string& message);
// Parses a whole decimal number that fits an int; false for anything else (empty, trailing
// characters, out of range).
bool ParseWholeNumber(const std::string& text, int* out);
// Fixes every ClockMillis() at `clock` and selects SDL's headless video driver unless the
// caller chose one.
void RunHeadless(int clock);
