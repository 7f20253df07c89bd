// Fuzzes the replay tool's input-file parser: any bytes either parse into actions within the
// documented ranges, in pass order, or fail with a line-numbered reason.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/replay_script.hpp"

namespace {
bool InRange(const TReplayAction& a) {
    switch (a.kind) {
        case TReplayKind::kMove:
            return a.a >= -32768 && a.a <= 32767 && a.b >= -32768 && a.b <= 32767;
        case TReplayKind::kDown:
        case TReplayKind::kUp:
            return a.a >= 1 && a.a <= 3;
        case TReplayKind::kKey:
        case TReplayKind::kKeyDown:
        case TReplayKind::kKeyUp:
        case TReplayKind::kRepeat:
            return a.a >= 1 && a.a <= 255;
        case TReplayKind::kWheel:
            return false;  // the soak's own kind; no script line makes one
        default:
            return true;
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    TReplayScript script;
    std::string error;
    if (!ParseReplayScript(text, &script, &error)) {
        if (error.rfind("line ", 0) != 0) std::abort();
        return 0;
    }
    int last = 0;
    for (const TReplayAction& a : script) {
        if (a.pass < last || !InRange(a)) std::abort();
        last = a.pass;
    }
    return 0;
}
