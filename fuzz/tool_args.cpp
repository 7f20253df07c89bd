// Fuzzes the tools' whole-number argument parser: whatever it accepts is a plain decimal int
// that prints back to the same digits, and it never reads past the text.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/tool_args.hpp"

namespace {
// The text without a leading '+' and leading zeros, as std::to_string would print it.
std::string Canonical(std::string text) {
    std::string sign;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        if (text[0] == '-') sign = "-";
        text.erase(0, 1);
    }
    const size_t digits = text.find_first_not_of('0');
    text = digits == std::string::npos ? "0" : text.substr(digits);
    return text == "0" ? text : sign + text;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    int value = 0;
    if (!ParseWholeNumber(text, &value)) return 0;
    for (const char c : text.substr(text[0] == '+' || text[0] == '-' ? 1 : 0))
        if (!std::isdigit(static_cast<unsigned char>(c))) std::abort();
    if (Canonical(text) != std::to_string(value)) std::abort();
    return 0;
}
