// The game's event hook without a window: the trail tuning keys and their limits, Q, the pause
// toggle with the pointer, and dragging the captionless window while paused.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "fake_system.hpp"
#include "game/event_hook.hpp"
#include "game/game_state.hpp"
#include "objects/object_state.hpp"
#include "platform/system/system.hpp"

namespace {
class EventHookTest : public ::testing::Test {
  protected:
    FakeSystem system;

    void SetUp() override {
        ResetEvents();
        ResetGame();
        ResetObjects();
        EnablePolledInput();
        AddHook(EventEmitHook(), event_hook, nullptr, 0);
        Game().window_handle = system.Window();
    }
    void TearDown() override {
        ResetEvents();
        ResetGame();
        ResetObjects();
        ShowPointer();
    }
    // Delivers the events through the pump, as the window would.
    void Send(std::vector<TEvent> events) {
        system.pending = std::move(events);
        PumpMessages();
    }
    void Press(int key, int times = 1) {
        for (int i = 0; i < times; ++i)
            Send({MakeEvent(EVENT_KEY_DOWN, key), MakeEvent(EVENT_KEY_UP, key)});
    }
};

TEST_F(EventHookTest, PassesEventsOnAndReturnsNullForAnythingElse) {
    const ObjectPtr event = TEvent::Create(EVENT_KEY_DOWN, 'A');
    EXPECT_EQ(event_hook(EventEmitHook(), event, nullptr), event);
    EXPECT_EQ(event_hook(EventEmitHook(), std::make_shared<TObject>(), nullptr), nullptr);
    EXPECT_EQ(event_hook(EventEmitHook(), nullptr, nullptr), nullptr);
}

TEST_F(EventHookTest, TrailTuningKeysKeepTheirUpperLimitsOnly) {
    Press(kKeyPageDown, 100);
    EXPECT_NEAR(Objects().trail_fade, -0.06f, 1e-5);  // no lower limit
    Press(kKeyUp, 26);
    float want = -0.25f;
    for (int i = 0; i < 26; ++i)
        if (!(want >= 1.0f)) want = static_cast<float>(want + double(0.05f));
    EXPECT_EQ(Objects().trail_speed, want);
    EXPECT_GT(want, 1.0f);  // 25 presses pass 1.0, the 26th is refused
    Press(kKeyDown, 3);
    EXPECT_EQ(Objects().trail_speed,
              static_cast<float>(
                  static_cast<float>(static_cast<float>(want - double(0.05f)) - double(0.05f)) -
                  double(0.05f)));
}

TEST_F(EventHookTest, RepeatsAndOtherKeysChangeNothing) {
    Send({MakeEvent(EVENT_KEY_REPEAT, kKeyPageUp), MakeEvent(EVENT_KEY_REPEAT, kKeyQ),
          MakeEvent(EVENT_KEY_DOWN, 'A'), MakeEvent(EVENT_KEY_UP, kKeyP)});
    EXPECT_EQ(Objects().trail_fade, 0.94f);
    EXPECT_EQ(Objects().enemies.Count(), 0);
    EXPECT_FALSE(Game().pause_image);
}

TEST_F(EventHookTest, QAddsOneEnemyAtRestOnTheLeftEdge) {
    Press(kKeyQ, 2);
    ASSERT_EQ(Objects().enemies.Count(), 2);
    const EnemyPtr e = Objects().enemies.Last();
    EXPECT_EQ(e->pos.x, 0);
    EXPECT_GE(e->pos.y, 0);
    EXPECT_LE(e->pos.y, 500);
    EXPECT_EQ(e->vel.x, 0);
    EXPECT_EQ(e->vel.y, 0);
}

TEST_F(EventHookTest, PTogglesThePauseAndThePointer) {
    HidePointer();
    Press(kKeyP);
    ASSERT_TRUE(Game().pause_image);
    EXPECT_EQ(Game().pause_image->width, 1280);
    EXPECT_EQ(Game().pause_image->height, 500);
    EXPECT_EQ(Game().pause_image->flags & 11, 11);
    EXPECT_TRUE(PointerVisible());
    Press(kKeyP);
    EXPECT_FALSE(Game().pause_image);
    EXPECT_FALSE(PointerVisible());
}

TEST_F(EventHookTest, WhilePausedTheWindowCentreFollowsThePointerWithTheButtonDown) {
    const TWindowRect start = system.rect;
    Send({MakeEvent(EVENT_MOUSE_DOWN, 1), MakeEvent(EVENT_MOUSE_MOVE, 0, 700, 300)});
    EXPECT_EQ(system.rect.left, start.left);  // playing: no drag
    Press(kKeyP);
    Send({MakeEvent(EVENT_MOUSE_UP, 1), MakeEvent(EVENT_MOUSE_MOVE, 0, 700, 300)});
    EXPECT_EQ(system.rect.left, start.left);  // no button: no drag
    Send({MakeEvent(EVENT_MOUSE_DOWN, 1), MakeEvent(EVENT_MOUSE_MOVE, 0, 700, 300)});
    EXPECT_EQ(system.rect.left, start.left + 60);
    EXPECT_EQ(system.rect.top, start.top + 50);
    EXPECT_EQ(system.rect.right - system.rect.left, 1280);
    EXPECT_EQ(system.rect.bottom - system.rect.top, 500);
    Send({MakeEvent(EVENT_MOUSE_MOVE, 0, 600, 250)});
    EXPECT_EQ(system.rect.left, start.left + 20);
    EXPECT_EQ(system.rect.top, start.top + 50);
}
// The window moves by the pointer's place now. Two motions queued before the window moved
// were both measured against its old place; taking the second against the new place would
// carry the window past the pointer.
TEST_F(EventHookTest, TheDragFollowsThePointerOnTheScreenNotTheMessagePosition) {
    Press(kKeyP);
    system.real_pointer = true;
    const TWindowRect start = system.rect;
    system.pointer_screen = {start.left + 640 + 30, start.top + 250 + 10};
    Send({MakeEvent(EVENT_MOUSE_DOWN, 1), MakeEvent(EVENT_MOUSE_MOVE, 0, 655, 255),
          MakeEvent(EVENT_MOUSE_MOVE, 0, 670, 260)});
    EXPECT_EQ(system.rect.left, start.left + 30);
    EXPECT_EQ(system.rect.top, start.top + 10);
}

TEST_F(EventHookTest, DraggingWithExtremePointerPositionsStaysOnTheDesktopRange) {
    Press(kKeyP);
    Send({MakeEvent(EVENT_MOUSE_DOWN, 1), MakeEvent(EVENT_MOUSE_MOVE, 0, INT_MAX, INT_MIN)});
    EXPECT_EQ(system.rect.left, INT16_MAX);
    EXPECT_EQ(system.rect.top, INT16_MIN);
    Send({MakeEvent(EVENT_MOUSE_MOVE, 0, INT_MIN, INT_MAX)});
    EXPECT_EQ(system.rect.left, INT16_MIN);
    EXPECT_EQ(system.rect.top, INT16_MAX);
}
}  // namespace
