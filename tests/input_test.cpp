// Polled input fed through the pump: key hits count presses, not repeats; activation
// changes release everything; codes outside the arrays are ignored.
#include <gtest/gtest.h>

#include "fake_system.hpp"
#include "platform/system/events.hpp"
#include "platform/system/input.hpp"
#include "platform/system/pointer.hpp"

namespace {
class InputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetEvents();
        EnablePolledInput();
    }
    void TearDown() override { ResetEvents(); }
    void Send(int id, int data = 0, int x = 0, int y = 0) {
        InjectEvent(MakeEvent(id, data, x, y));
    }
};

TEST_F(InputTest, KeyHitsCountPressesNotRepeats) {
    Send(EVENT_KEY_DOWN, 27);
    for (int i = 0; i < 5; ++i)
        Send(EVENT_KEY_REPEAT, 27);
    EXPECT_EQ(KeyDown(27), 1);
    EXPECT_EQ(TakeKeyHits(27), 1);
    EXPECT_EQ(TakeKeyHits(27), 0);  // taking clears the count
    Send(EVENT_KEY_UP, 27);
    Send(EVENT_KEY_DOWN, 27);
    Send(EVENT_KEY_UP, 27);
    Send(EVENT_KEY_DOWN, 27);
    EXPECT_EQ(TakeKeyHits(27), 2);
}

TEST_F(InputTest, PressAndReleaseBetweenQueriesLeaveOneHitAndTheKeyUp) {
    Send(EVENT_KEY_DOWN, 80);
    Send(EVENT_KEY_UP, 80);
    EXPECT_EQ(KeyDown(80), 0);
    EXPECT_EQ(TakeKeyHits(80), 1);
}

TEST_F(InputTest, ADownWithoutAnUpInBetweenIsNotASecondHit) {
    Send(EVENT_KEY_DOWN, 81);
    Send(EVENT_KEY_DOWN, 81);
    Send(EVENT_MOUSE_DOWN, 1);
    Send(EVENT_MOUSE_DOWN, 1);
    EXPECT_EQ(TakeKeyHits(81), 1);
    EXPECT_EQ(TakeButtonHits(1), 1);
}

TEST_F(InputTest, ButtonsAndPointer) {
    Send(EVENT_MOUSE_MOVE, 0, 700, -20);
    Send(EVENT_MOUSE_DOWN, 1);
    Send(EVENT_MOUSE_DOWN, 3);
    Send(EVENT_MOUSE_UP, 3);
    EXPECT_EQ(IsButtonDown(1), 1);
    EXPECT_EQ(IsButtonDown(2), 0);
    EXPECT_EQ(IsButtonDown(3), 0);
    EXPECT_EQ(TakeButtonHits(3), 1);
    EXPECT_EQ(PointerX(), 700);
    EXPECT_EQ(PointerY(), -20);
}

TEST_F(InputTest, ActivationChangesReleaseKeysAndButtons) {
    for (int id : {EVENT_DEACTIVATE, EVENT_ACTIVATE}) {
        Send(EVENT_KEY_DOWN, 38);
        Send(EVENT_MOUSE_DOWN, 1);
        Send(id);
        EXPECT_EQ(KeyDown(38), 0) << id;
        EXPECT_EQ(TakeKeyHits(38), 0) << id;
        EXPECT_EQ(IsButtonDown(1), 0) << id;
        EXPECT_EQ(TakeButtonHits(1), 0) << id;
    }
}

TEST_F(InputTest, CodesOutsideTheArraysAreIgnored) {
    for (int code : {-1, 0, kKeyCount, 1000, -2147483647 - 1, 2147483647}) {
        Send(EVENT_KEY_DOWN, code);
        Send(EVENT_KEY_UP, code);
        EXPECT_EQ(TakeKeyHits(code), 0) << code;
        EXPECT_EQ(KeyDown(code), 0) << code;
    }
    for (int button : {-1, 0, kButtonCount, 5, 255}) {
        Send(EVENT_MOUSE_DOWN, button);
        EXPECT_EQ(IsButtonDown(button), 0) << button;
        EXPECT_EQ(TakeButtonHits(button), 0) << button;
    }
    for (int b = 1; b < kButtonCount; ++b)
        EXPECT_EQ(IsButtonDown(b), 0);
}

TEST_F(InputTest, OtherEventsLeaveTheStateAlone) {
    Send(EVENT_MOUSE_MOVE, 0, 10, 20);
    Send(EVENT_MOUSE_WHEEL, 3);
    Send(EVENT_MOUSE_ENTER, 0, 99, 99);  // the move that follows an entry carries the position
    Send(EVENT_CLOSE);
    Send(0x999, 27);
    EXPECT_EQ(PointerX(), 10);
    EXPECT_EQ(PointerY(), 20);
    EXPECT_EQ(TakeKeyHits(27), 0);
}

TEST_F(InputTest, NothingIsPolledBeforeInputIsEnabled) {
    ResetEvents();
    Send(EVENT_KEY_DOWN, 27);
    EXPECT_EQ(TakeKeyHits(27), 0);
    EnablePolledInput();  // enabling flushes, and adds the entry once only
    EnablePolledInput();
    Send(EVENT_KEY_DOWN, 27);
    EXPECT_EQ(TakeKeyHits(27), 1);
}

TEST_F(InputTest, AHookAddedLaterAtTheSamePrioritySeesTheUpdatedState) {
    int seen_down = -1;
    AddHook(
        EventEmitHook(),
        [&](int, const ObjectPtr& data, const ObjectPtr&) {
            seen_down = IsButtonDown(1);
            return data;
        },
        nullptr, 0);
    Send(EVENT_MOUSE_DOWN, 1);
    PumpMessages();
    EXPECT_EQ(seen_down, 1);
}

TEST_F(InputTest, MoveMouseRecordsThePositionAtOnce) {
    FakeSystem system;  // focused
    MoveMouse(640, 250);
    EXPECT_EQ(PointerX(), 640);
    EXPECT_EQ(PointerY(), 250);
    Send(EVENT_MOUSE_MOVE, 0, 645, 250);  // later motion still wins
    EXPECT_EQ(PointerX(), 645);
}

TEST_F(InputTest, FlushesClearButDoNotMoveThePointer) {
    Send(EVENT_MOUSE_MOVE, 0, 3, 4);
    Send(EVENT_KEY_DOWN, 65);
    Send(EVENT_MOUSE_DOWN, 2);
    FlushKeys();
    EXPECT_EQ(IsButtonDown(2), 1);
    FlushMouse();
    EXPECT_EQ(IsButtonDown(2), 0);
    EXPECT_EQ(TakeKeyHits(65), 0);
    EXPECT_EQ(PointerX(), 3);
}
}  // namespace
