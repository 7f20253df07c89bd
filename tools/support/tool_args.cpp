// Tool arguments and headless runs.
#include "support/tool_args.hpp"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "platform/base/base.hpp"

void ToolFail(const std::string& tool, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", tool.c_str(), message.c_str());
    std::exit(1);
}

bool ParseWholeNumber(const std::string& text, int* out) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    // The whole text, not just up to a NUL byte a script line may carry, must be the number.
    if (errno != 0 || end != text.c_str() + text.size() || value < INT_MIN || value > INT_MAX)
        return false;
    *out = static_cast<int>(value);
    return true;
}

std::vector<std::string> ToolArgs(int argc, const char* const* argv) {
    if (argc < 1) return {};
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string TakeOptionPairs(const std::vector<std::string>& args, const std::string& usage,
                            const TOptionTaker& take) {
    for (size_t i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return usage;
        std::string error = take(args[i], args[i + 1]);
        if (!error.empty()) return error;
    }
    return "";
}

std::string TakeClock(const std::string& value, int* clock) {
    return ParseWholeNumber(value, clock) ? "" : "--clock needs a whole number of milliseconds";
}

void RunHeadless(int clock) {
    FixClock(clock);
    setenv("SDL_VIDEODRIVER", "offscreen", 0);  // keeps a driver the caller chose
}
