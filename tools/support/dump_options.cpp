// orbitrants-dump's arguments: one folder or one icon (with its size), and the clock.
#include "support/dump_options.hpp"

namespace {
constexpr const char* kUsage =
    "usage: orbitrants-dump OUTDIR [--clock MS] [--raw] | orbitrants-dump --icon PATH.png "
    "[--size N] [--clock MS]";
constexpr const char* kSizeError = "--size needs a whole number of pixels from 16 to 1024";

std::string TakeSize(const std::string& value, int* size) {
    int n = 0;
    if (!ParseWholeNumber(value, &n) || n < kMinIconSize || n > kMaxIconSize) return kSizeError;
    *size = n;
    return "";
}

// Takes args[i] (and its value, moving `i` past it); returns what is wrong, or "".
std::string TakeArg(const std::vector<std::string>& args, size_t& i, TDumpOptions& o) {
    const std::string& arg = args[i];
    const bool has_value = i + 1 < args.size();
    if (arg == "--clock" && has_value) return TakeClock(args[++i], &o.clock);
    if (arg == "--size" && has_value) return TakeSize(args[++i], &o.icon_size);
    if (arg == "--raw") {
        o.raw = true;
        return "";
    }
    if (arg == "--icon" && has_value && o.icon.empty()) {
        o.icon = args[++i];
        return "";
    }
    // Anything else that looks like an option is a mistake, not a folder.
    if (o.out.empty() && arg.rfind("--", 0) != 0) {
        o.out = arg;
        return "";
    }
    return kUsage;
}
}  // namespace

TParsed<TDumpOptions> ParseDumpOptions(const std::vector<std::string>& args) {
    TParsed<TDumpOptions> p;
    for (size_t i = 0; i < args.size() && p.ok(); ++i)
        p.error = TakeArg(args, i, p.options);
    const TDumpOptions& o = p.options;
    if (p.ok() && (o.out.empty() == o.icon.empty() || (o.icon_size && o.icon.empty()) ||
                   (o.raw && !o.icon.empty())))
        p.error = kUsage;
    return p;
}
