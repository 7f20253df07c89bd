// The browser canvas's reports as the game's events: the pointer lock as activation, motion
// deltas moving the virtual pointer while locked, DOM buttons and key codes as the game's.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/system/detail/canvas_input.hpp"

namespace {
struct Seen {
    int id, data, x, y, mods;
    bool operator==(const Seen&) const = default;
};

std::vector<Seen> Take(TCanvasInput& input) {
    std::vector<Seen> out;
    for (const TEvent& e : input.Take())
        out.push_back({e.id, e.data, e.x, e.y, e.mods});
    return out;
}

using Events = std::vector<Seen>;
}  // namespace

// Taking the lock is activation, losing it (or the page being hidden) deactivation, each once.
TEST(CanvasInput, LockIsFocus) {
    TCanvasInput input;
    input.Hidden();
    EXPECT_EQ(Take(input), Events{});
    input.Lock(true);
    input.Lock(true);
    EXPECT_TRUE(input.locked());
    input.Hidden();
    input.Lock(false);
    EXPECT_EQ(Take(input), (Events{{0x102, 0, 0, 0, 0}, {0x101, 0, 0, 0, 0}}));
    EXPECT_FALSE(input.locked());
}

// While locked the deltas move the pointer from where the game last warped it; unlocked the
// canvas position counts. The first motion enters (0x405 before its 0x403), once.
TEST(CanvasInput, LockedMotionSumsDeltasFromTheWarp) {
    TCanvasInput input;
    input.Lock(true);
    input.Take();
    input.Warp(640, 250);
    input.Motion(3, 4, 5, -3);
    input.Motion(3, 4, -12, 1);
    EXPECT_EQ(Take(input),
              (Events{{0x405, 0, 645, 247, 0}, {0x403, 0, 645, 247, 0}, {0x403, 0, 633, 248, 0}}));
    input.Leave();  // a locked pointer cannot leave
    input.Lock(false);
    input.Take();
    input.Motion(100, 200, 50, 50);
    input.Leave();
    input.Motion(101, 201, 1, 1);
    EXPECT_EQ(Take(input),
              (Events{{0x403, 0, 100, 200, 0}, {0x405, 0, 101, 201, 0}, {0x403, 0, 101, 201, 0}}));
}

// Positions stay within signed 16 bits however far the deltas go.
TEST(CanvasInput, SummedPositionsSaturate) {
    TCanvasInput input;
    input.Lock(true);
    input.Warp(32760, -32760);
    input.Motion(0, 0, 100, -100);
    EXPECT_EQ(input.pointer_x(), INT16_MAX);
    EXPECT_EQ(input.pointer_y(), INT16_MIN);
}

// DOM buttons 0, 2, 1 are the game's left 1, right 2 and middle 3; others are not reported.
TEST(CanvasInput, ButtonsTakeTheGameNumbering) {
    TCanvasInput input;
    input.Button(0, true);
    input.Button(2, true);
    input.Button(1, false);
    input.Button(3, true);
    input.Button(-1, true);
    EXPECT_EQ(Take(input), (Events{{0x401, 1, 0, 0, 0}, {0x401, 2, 0, 0, 0}, {0x402, 3, 0, 0, 0}}));
}

// keyCode is the virtual-key code: first press 0x201, repeat 0x204, release 0x202, with the
// modifiers; codes outside 1..255 are refused. Pointer events carry no modifiers.
TEST(CanvasInput, KeysAsVirtualKeyCodes) {
    TCanvasInput input;
    EXPECT_TRUE(input.Key(80, true, false, 1));
    EXPECT_TRUE(input.Key(80, true, true, 1));
    EXPECT_TRUE(input.Key(80, false, false, 0));
    EXPECT_FALSE(input.Key(0, true, false, 0));
    EXPECT_FALSE(input.Key(256, true, false, 0));
    input.Button(0, true);
    EXPECT_EQ(Take(input), (Events{{0x201, 80, 0, 0, 1},
                                   {0x204, 80, 0, 0, 1},
                                   {0x202, 80, 0, 0, 0},
                                   {0x401, 1, 0, 0, 0}}));
    EXPECT_EQ(CanvasModifiers(true, false, true, false), 1 | 4);
    EXPECT_EQ(CanvasModifiers(false, true, false, true), 2 | 8);
}

// One wheel step a report, positive away from the user (negative deltaY); none for zero.
TEST(CanvasInput, WheelSteps) {
    TCanvasInput input;
    input.Wheel(-100);
    input.Wheel(53);
    input.Wheel(0);
    EXPECT_EQ(Take(input), (Events{{0x404, 1, 0, 0, 0}, {0x404, -1, 0, 0, 0}}));
}

// The page keeps its own action for every key but the game's and those that would scroll it.
TEST(CanvasInput, GameKeysKeepThePageStill) {
    for (int key : {27, 32, 33, 34, 35, 36, 37, 38, 39, 40, 80, 81})
        EXPECT_TRUE(IsGameKey(key)) << key;
    for (int key : {9, 13, 65, 82, 116, 122, 123})
        EXPECT_FALSE(IsGameKey(key)) << key;
}
