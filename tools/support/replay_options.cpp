// orbitrants-replay's arguments: "--name value" pairs, --frames required, shots within the run.
#include "support/replay_options.hpp"

namespace {
constexpr const char* kUsage =
    "usage: orbitrants-replay --frames N [--clock MS] [--input FILE] "
    "[--shot F:PATH.png|F:PATH.rgba]... [--trace PATH.csv] [--enemies PATH.csv]";

std::string TakeShot(const std::string& value, TReplayOptions& o) {
    const size_t colon = value.find(':');
    int pass = 0;
    if (colon == std::string::npos || !ParseWholeNumber(value.substr(0, colon), &pass) ||
        pass < 0 || colon + 1 == value.size())
        return "--shot needs F:PATH.png with a pass F of 0 or more, got '" + value + "'";
    o.shots.emplace(pass, value.substr(colon + 1));
    return "";
}

std::string TakeFrames(const std::string& value, TReplayOptions& o, bool& have_frames) {
    have_frames = ParseWholeNumber(value, &o.frames) && o.frames > 0;
    return have_frames ? "" : "--frames needs a whole number of passes, 1 or more";
}

std::string TakeOption(const std::string& name, const std::string& value, TReplayOptions& o,
                       bool& have_frames) {
    if (name == "--frames") return TakeFrames(value, o, have_frames);
    if (name == "--clock") return TakeClock(value, &o.clock);
    if (name == "--shot") return TakeShot(value, o);
    std::string* text = name == "--input"     ? &o.input
                        : name == "--trace"   ? &o.trace
                        : name == "--enemies" ? &o.enemies
                                              : nullptr;
    if (!text) return kUsage;
    *text = value;
    return "";
}

// The first shot of a pass the run never reaches, or "".
std::string ShotPastTheEnd(const TReplayOptions& o) {
    const auto past = o.shots.lower_bound(o.frames);
    if (past == o.shots.end()) return "";
    return "--shot " + std::to_string(past->first) + " is past the last pass";
}
}  // namespace

TParsed<TReplayOptions> ParseReplayOptions(const std::vector<std::string>& args) {
    TParsed<TReplayOptions> p;
    bool have_frames = false;
    p.error = TakeOptionPairs(args, kUsage, [&](const std::string& name, const std::string& value) {
        return TakeOption(name, value, p.options, have_frames);
    });
    if (p.ok() && !have_frames) p.error = kUsage;
    if (p.ok()) p.error = ShotPastTheEnd(p.options);
    return p;
}
