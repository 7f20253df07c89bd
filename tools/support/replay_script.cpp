// Parsing replay scripts: a pass, a kind and its whole-number arguments per line.
#include "support/replay_script.hpp"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "support/tool_args.hpp"

namespace {
constexpr int kMaxKey = 255;
constexpr int kMaxButton = 3;
constexpr int kMinCoordinate = -32768, kMaxCoordinate = 32767;  // client positions are 16-bit

struct KindInfo {
    const char* name;
    TReplayKind kind;
    int arguments;
};

constexpr KindInfo kKinds[] = {
    {"move", TReplayKind::kMove, 2},
    {"down", TReplayKind::kDown, 1},
    {"up", TReplayKind::kUp, 1},
    {"key", TReplayKind::kKey, 1},
    {"keydown", TReplayKind::kKeyDown, 1},
    {"keyup", TReplayKind::kKeyUp, 1},
    {"repeat", TReplayKind::kRepeat, 1},
    {"leave", TReplayKind::kLeave, 0},
    {"focus-out", TReplayKind::kFocusOut, 0},
    {"focus-in", TReplayKind::kFocusIn, 0},
};

const KindInfo* FindKind(const std::string& name) {
    for (const KindInfo& k : kKinds)
        if (name == k.name) return &k;
    return nullptr;
}

// The range check of a button or key argument; empty when it is fine.
std::string CheckCode(TReplayKind kind, int code) {
    if (kind == TReplayKind::kDown || kind == TReplayKind::kUp)
        return code >= 1 && code <= kMaxButton ? "" : "button must be 1, 2 or 3";
    return code >= 1 && code <= kMaxKey ? "" : "key code must be 1 to 255";
}

// One line without its comment; false with the reason when it is not an action.
bool ParseLine(const std::string& line, TReplayAction* action, std::string* reason) {
    std::istringstream words(line);
    std::string pass, kind;
    words >> pass >> kind;
    if (!ParseWholeNumber(pass, &action->pass) || action->pass < 0) {
        *reason = "expected a pass number (0 or more), got '" + pass + "'";
        return false;
    }
    const KindInfo* info = FindKind(kind);
    if (!info) {
        *reason = "unknown kind '" + kind + "'";
        return false;
    }
    action->kind = info->kind;
    int* args[] = {&action->a, &action->b};
    for (int i = 0; i < info->arguments; ++i) {
        std::string word;
        words >> word;
        if (!ParseWholeNumber(word, args[i])) {
            *reason = std::string(info->name) + " needs " + std::to_string(info->arguments) +
                      " whole-number argument(s)";
            return false;
        }
    }
    std::string extra;
    if (words >> extra) {
        *reason = "unexpected '" + extra + "' after " + info->name;
        return false;
    }
    if (info->arguments == 1) *reason = CheckCode(info->kind, action->a);
    if (info->arguments == 2 && (std::min(action->a, action->b) < kMinCoordinate ||
                                 std::max(action->a, action->b) > kMaxCoordinate))
        *reason = "move needs client coordinates from -32768 to 32767";
    return reason->empty();
}

bool Blank(const std::string& line) {
    return std::all_of(line.begin(), line.end(),
                       [](unsigned char c) { return std::isspace(c) != 0; });
}
}  // namespace

bool ParseReplayScript(std::istream& in, TReplayScript* script, std::string* error) {
    script->clear();
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        line = line.substr(0, line.find('#'));
        if (Blank(line)) continue;
        TReplayAction action;
        std::string reason;
        if (!ParseLine(line, &action, &reason)) {
            *error = "line " + std::to_string(number) + ": " + reason;
            return false;
        }
        script->push_back(action);
    }
    std::stable_sort(script->begin(), script->end(),
                     [](const auto& x, const auto& y) { return x.pass < y.pass; });
    return true;
}

bool ParseReplayScript(const std::string& text, TReplayScript* script, std::string* error) {
    std::istringstream in(text);
    return ParseReplayScript(in, script, error);
}
