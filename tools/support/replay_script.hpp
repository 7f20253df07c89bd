// Replay scripts: one input event a line, "F kind args", delivered before pass F (counted from
// 0) polls its events. Kinds: move X Y, down B, up B, key VK (press then release), keydown VK,
// keyup VK, repeat VK, leave, focus-out, focus-in. "#" starts a comment. Depends on nothing.
#pragma once

#include <istream>
#include <string>
#include <vector>

enum class TReplayKind {
    kMove,
    kDown,
    kUp,
    kKey,
    kKeyDown,
    kKeyUp,
    kRepeat,
    kLeave,
    kFocusOut,
    kFocusIn,
    // Wheel steps (a), positive away from the user. No script line reads as one: scripts keep
    // their kinds, and only the soak's random input turns the wheel.
    kWheel,
};

struct TReplayAction {
    int pass = 0;
    TReplayKind kind = TReplayKind::kMove;
    int a = 0;  // x, button, key code or wheel steps
    int b = 0;  // y
};

// The actions by pass; within a pass in the order of the file.
using TReplayScript = std::vector<TReplayAction>;

// Reads a script; false with "line N: reason" in `error` for the first bad line.
bool ParseReplayScript(std::istream& in, TReplayScript* script, std::string* error);
// Reads a script from text (tests write their scripts inline).
bool ParseReplayScript(const std::string& text, TReplayScript* script, std::string* error);
