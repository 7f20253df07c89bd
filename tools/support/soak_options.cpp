// orbitrants-soak's arguments: "--name value" pairs of whole numbers, then their ranges.
#include "support/soak_options.hpp"

namespace {
constexpr const char* kUsage =
    "usage: orbitrants-soak --passes N [--seed S] [--clock MS] [--max-growth-kib K]";

int* Target(const std::string& name, TSoakOptions& o) {
    return name == "--passes"           ? &o.passes
           : name == "--seed"           ? &o.seed
           : name == "--clock"          ? &o.clock
           : name == "--max-growth-kib" ? &o.max_growth_kib
                                        : nullptr;
}

std::string TakeOption(const std::string& name, const std::string& value, TSoakOptions& o) {
    int* target = Target(name, o);
    if (!target) return kUsage;
    if (!ParseWholeNumber(value, target))
        return name + " needs a whole number, got '" + value + "'";
    return "";
}

// What is out of range once every option is read, or "".
std::string OutOfRange(const TSoakOptions& o) {
    if (o.passes <= 0) return "--passes needs a whole number of passes, 1 or more";
    if (o.seed < 0) return "--seed needs a whole number, 0 or more";
    if (o.max_growth_kib < 0) return "--max-growth-kib needs a whole number, 0 or more";
    return "";
}
}  // namespace

TParsed<TSoakOptions> ParseSoakOptions(const std::vector<std::string>& args) {
    TParsed<TSoakOptions> p;
    p.error = TakeOptionPairs(args, kUsage, [&](const std::string& name, const std::string& value) {
        return TakeOption(name, value, p.options);
    });
    if (p.ok()) p.error = OutOfRange(p.options);
    return p;
}
