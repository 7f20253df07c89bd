// Pointer and window operations over a scripted system driver, and the game's caption
// removal and window text on top of them.
#include <gtest/gtest.h>

#include "fake_system.hpp"
#include "game/game_state.hpp"
#include "game/window_title.hpp"
#include "platform/system/events.hpp"
#include "platform/system/input.hpp"
#include "platform/system/pointer.hpp"
#include "platform/system/window_ops.hpp"

namespace {
class WindowOpsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetEvents();
        ResetGame();
        EnablePolledInput();
    }
    void TearDown() override {
        ShowPointer();
        ResetEvents();
        ResetGame();
    }
};

TEST_F(WindowOpsTest, MoveMouseWarpsAndRecordsOnlyWhileTheWindowHasTheFocus) {
    FakeSystem system;
    MoveMouse(640, 250);
    EXPECT_EQ(PointerX(), 640);
    system.focused = false;
    MoveMouse(10, 20);  // another program has the mouse: leave its pointer alone
    ASSERT_EQ(system.warps.size(), 1u);
    EXPECT_EQ(system.warps[0], std::make_pair(640, 250));
    EXPECT_EQ(PointerX(), 640);  // nothing moved, so nothing recorded
    EXPECT_EQ(PointerY(), 250);
}

// The game's steering: d = PointerX() - last, then MoveMouse to the centre, then last =
// PointerX(). While another program has the focus, motion over the window must turn the ship
// by the pointer's own motion, not by its distance from the centre.
TEST_F(WindowOpsTest, WithoutTheFocusThePointerTurnsOnlyByItsOwnMotion) {
    FakeSystem system;
    system.focused = false;
    system.pending.push_back(MakeEvent(EVENT_MOUSE_MOVE, 0, 640, 250));
    int last = PointerX();
    std::vector<int> turns;
    for (int x : {700, 702, 702, 699}) {
        system.pending.push_back(MakeEvent(EVENT_MOUSE_MOVE, 0, x, 250));
        turns.push_back(PointerX() - last);
        MoveMouse(640, 250);
        last = PointerX();
    }
    EXPECT_EQ(turns, (std::vector<int>{60, 2, 0, -3}));
    EXPECT_TRUE(system.warps.empty());
}

TEST_F(WindowOpsTest, PointerVisibilityIsForwardedAndNeverCounted) {
    FakeSystem system;
    HidePointer();
    HidePointer();
    EXPECT_FALSE(PointerVisible());
    ShowPointer();
    EXPECT_TRUE(PointerVisible());
    EXPECT_EQ(system.visibility, (std::vector<bool>{false, false, true}));
}

TEST_F(WindowOpsTest, WindowOperationsReachOnlyTheGameWindow) {
    EXPECT_EQ(ActiveWindow(), 0u);  // no window open
    FakeSystem system;
    const TWindowHandle window = ActiveWindow();
    ASSERT_EQ(window, system.Window());
    MoveWindow(window, 5, 6, 1280, 500);
    const TWindowRect rect = GetWindowRect(window);
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.top, 6);
    EXPECT_EQ(rect.right, 1285);
    EXPECT_EQ(rect.bottom, 506);
    // A stale or foreign handle changes nothing and reads as empty.
    MoveWindow(window + 1, 0, 0, 1, 1);
    SetWindowStyle(0, 0);
    SetWindowText(window + 1, "other");
    SetWindowText(window, nullptr);
    EXPECT_EQ(GetWindowRect(window + 1).right, 0);
    EXPECT_EQ(GetWindowStyle(window + 1), 0);
    EXPECT_EQ(GetWindowRect(window).left, 5);
    EXPECT_NE(GetWindowStyle(window), 0);
    EXPECT_EQ(system.title, "");
}

TEST_F(WindowOpsTest, StripCaptionLeavesABorderlessWindowOfTheScreenSize) {
    FakeSystem system;
    system.rect = {320, 260, 1600, 790};  // outer rectangle with a caption above the client
    strip_caption();
    EXPECT_EQ(system.style & WINDOW_STYLE_CAPTION, 0);
    EXPECT_NE(system.style & WINDOW_STYLE_SYSMENU, 0);  // other style bits are kept
    EXPECT_EQ(system.rect.left, 320);                   // not moved
    EXPECT_EQ(system.rect.top, 260);
    EXPECT_EQ(system.rect.right - system.rect.left, 1280);
    EXPECT_EQ(system.rect.bottom - system.rect.top, 500);
    set_window_title(ActiveWindow());
    EXPECT_EQ(system.title, "Orbitrants");
}

TEST_F(WindowOpsTest, WithoutAWindowTheStartUpWindowCallsDoNothing) {
    strip_caption();
    set_window_title(ActiveWindow());
    MoveMouse(1, 2);
    HidePointer();
    EXPECT_EQ(PointerX(), 0);  // no pointer was moved
}
}  // namespace
