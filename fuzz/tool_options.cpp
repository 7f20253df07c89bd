// Fuzzes the option parsers of orbitrants-dump, -replay and -soak: the bytes, split at NUL bytes,
// are the arguments after the program name. Whatever a parser accepts is in range and came from
// the arguments; whatever it rejects names a reason; the same arguments parse the same way twice.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/dump_options.hpp"
#include "support/replay_options.hpp"
#include "support/soak_options.hpp"

namespace {
using Args = std::vector<std::string>;

// The arguments as a program would get them: argv[0] the tool's name, one C string per field.
Args FromArgv(const std::string& tool, const std::string& bytes) {
    std::string text = bytes + '\0';
    std::vector<const char*> argv = {tool.c_str(), text.c_str()};
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '\0') argv.push_back(text.c_str() + i + 1);
    if (bytes.empty()) argv.pop_back();
    return ToolArgs(static_cast<int>(argv.size()), argv.data());
}

void Check(bool holds) {
    if (!holds) std::abort();
}

bool Has(const Args& args, const std::string& text) {
    for (const std::string& arg : args)
        if (arg == text) return true;
    return false;
}

// Whether `value` follows `name` somewhere in `args`.
bool Follows(const Args& args, const std::string& name, const std::string& value) {
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == name && args[i + 1] == value) return true;
    return false;
}

// Whether some `name` in `args` is followed by a number that reads as `value`.
bool NumberFollows(const Args& args, const std::string& name, int value) {
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        int read = 0;
        if (args[i] == name && ParseWholeNumber(args[i + 1], &read) && read == value) return true;
    }
    return false;
}

// Whether some --shot in `args` reads as F:PATH with `pass` and `path`.
bool ShotGiven(const Args& args, int pass, const std::string& path) {
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        const std::string& value = args[i + 1];
        const size_t colon = value.find(':');
        int read = 0;
        if (args[i] == "--shot" && colon != std::string::npos && value.substr(colon + 1) == path &&
            ParseWholeNumber(value.substr(0, colon), &read) && read == pass)
            return true;
    }
    return false;
}

// A rejection says why: the usage line or the option at fault.
template <typename TOptions>
bool Rejected(const TParsed<TOptions>& p, const std::string& tool) {
    if (p.ok()) return false;
    Check(p.error.rfind("usage: " + tool + " ", 0) == 0 || p.error.rfind("--", 0) == 0);
    return true;
}

void CheckDump(const Args& args) {
    const auto p = ParseDumpOptions(args);
    Check(ParseDumpOptions(args) == p);
    if (Rejected(p, "orbitrants-dump")) return;
    const TDumpOptions& o = p.options;
    Check(o.out.empty() != o.icon.empty());
    if (!o.out.empty()) Check(Has(args, o.out.string()) && o.out.string().rfind("--", 0) != 0);
    if (!o.icon.empty()) Check(Follows(args, "--icon", o.icon.string()));
    Check(o.clock == kDefaultToolClock || NumberFollows(args, "--clock", o.clock));
    Check(o.icon_size == 0 ||
          (!o.icon.empty() && o.icon_size >= kMinIconSize && o.icon_size <= kMaxIconSize &&
           NumberFollows(args, "--size", o.icon_size)));
}

void CheckReplay(const Args& args) {
    const auto p = ParseReplayOptions(args);
    Check(ParseReplayOptions(args) == p);
    if (Rejected(p, "orbitrants-replay")) return;
    const TReplayOptions& o = p.options;
    Check(args.size() % 2 == 0 && o.frames >= 1 && NumberFollows(args, "--frames", o.frames));
    Check(o.clock == kDefaultToolClock || NumberFollows(args, "--clock", o.clock));
    size_t shot_options = 0;
    for (size_t i = 0; i < args.size(); i += 2)
        shot_options += args[i] == "--shot";
    Check(o.shots.size() <= shot_options);
    for (const auto& [pass, path] : o.shots)
        Check(pass >= 0 && pass < o.frames && !path.empty() && ShotGiven(args, pass, path));
    Check(o.input.empty() || Follows(args, "--input", o.input));
    Check(o.trace.empty() || Follows(args, "--trace", o.trace));
}

void CheckSoak(const Args& args) {
    const auto p = ParseSoakOptions(args);
    Check(ParseSoakOptions(args) == p);
    if (Rejected(p, "orbitrants-soak")) return;
    const TSoakOptions& o = p.options;
    Check(args.size() % 2 == 0 && o.passes >= 1 && o.seed >= 0 && o.max_growth_kib >= 0);
    Check(NumberFollows(args, "--passes", o.passes));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckDump(FromArgv("orbitrants-dump", bytes));
    CheckReplay(FromArgv("orbitrants-replay", bytes));
    CheckSoak(FromArgv("orbitrants-soak", bytes));
    return 0;
}
