// The SDL window on the headless driver: it opens at the asked size with the system driver
// installed, its style word drives the frame, headless presents never wait, and closing it
// takes the system driver away.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "platform/system/events.hpp"
#include "platform/system/input.hpp"
#include "platform/system/window_graphics.hpp"
#include "platform/system/window_ops.hpp"

namespace {
class SdlWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        ResetEvents();
    }
    void TearDown() override { ResetEvents(); }
};

TEST_F(SdlWindowTest, OpensTheWindowWithItsSystemDriver) {
    TSystemDriver* before = CurrentSystemDriver();
    std::string error;
    auto graphics = CreateWindowGraphics(320, 200, 0, 60, 0, &error);
    ASSERT_NE(graphics, nullptr) << error;
    EXPECT_EQ(graphics->width, 320);
    EXPECT_EQ(graphics->height, 200);
    EXPECT_EQ(graphics->hertz, 60);
    int w = 0, h = 0;
    graphics->GetDrawableSize(&w, &h);
    EXPECT_GE(w, 320);
    EXPECT_GE(h, 200);

    const TWindowHandle window = ActiveWindow();
    ASSERT_NE(window, 0u);
    const int style = GetWindowStyle(window);
    EXPECT_EQ(style & WINDOW_STYLE_CAPTION, WINDOW_STYLE_CAPTION);  // opened with a caption
    SetWindowStyle(window, style ^ WINDOW_STYLE_CAPTION);
    SetWindowClientSize(window, 300, 180);
    const TWindowRect rect = GetWindowRect(window);
    EXPECT_EQ(rect.right - rect.left, 300);
    EXPECT_EQ(rect.bottom - rect.top, 180);

    OnGraphicsOpened();
    PumpMessages();  // the headless window's own messages go through without trouble
    graphics.reset();
    EXPECT_EQ(CurrentSystemDriver(), before);
}

TEST_F(SdlWindowTest, HeadlessPresentsDoNotWaitForTheSchedule) {
    std::string error;
    auto graphics = CreateWindowGraphics(64, 64, 0, 60, 0, &error);
    ASSERT_NE(graphics, nullptr) << error;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 60; ++i)
        graphics->Present(1, [] {});
    // Paced, sixty presents would take a second.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}
}  // namespace

namespace {
TEST_F(SdlWindowTest, HeadlessWindowStartsFocusedWithThePointerAtItsCentre) {
    std::string error;
    auto graphics = CreateWindowGraphics(320, 200, 0, 60, 0, &error);
    ASSERT_NE(graphics, nullptr) << error;
    OnGraphicsOpened();
    EXPECT_TRUE(CurrentSystemDriver()->HasFocus());
    EXPECT_EQ(PointerX(), 160);
    EXPECT_EQ(PointerY(), 100);
}

TEST_F(SdlWindowTest, InjectedActivationChangesMoveTheHeadlessFocus) {
    std::string error;
    auto graphics = CreateWindowGraphics(64, 64, 0, 60, 0, &error);
    ASSERT_NE(graphics, nullptr) << error;
    OnGraphicsOpened();
    TEvent event;
    event.id = EVENT_DEACTIVATE;
    InjectEvent(event);
    PumpMessages();
    EXPECT_FALSE(CurrentSystemDriver()->HasFocus());
    event.id = EVENT_ACTIVATE;
    InjectEvent(event);
    PumpMessages();
    EXPECT_TRUE(CurrentSystemDriver()->HasFocus());
}

TEST_F(SdlWindowTest, WaitingForMessagesReturnsByItsTimeout) {
    std::string error;
    auto graphics = CreateWindowGraphics(64, 64, 0, 60, 0, &error);
    ASSERT_NE(graphics, nullptr) << error;
    OnGraphicsOpened();
    PumpMessages();
    const auto start = std::chrono::steady_clock::now();
    WaitForMessages(20);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(SdlWindowTest, ClosingWindowsInAnyOrderLeavesAnOpenOneFeedingThePump) {
    TSystemDriver* before = CurrentSystemDriver();
    std::string error;
    auto first = CreateWindowGraphics(32, 32, 0, 60, 0, &error);
    ASSERT_NE(first, nullptr) << error;
    TSystemDriver* first_system = CurrentSystemDriver();
    auto second = CreateWindowGraphics(32, 32, 0, 60, 0, &error);
    ASSERT_NE(second, nullptr) << error;
    EXPECT_NE(CurrentSystemDriver(), first_system);
    first.reset();
    EXPECT_NE(CurrentSystemDriver(), first_system);
    EXPECT_NE(CurrentSystemDriver(), nullptr);
    second.reset();
    EXPECT_EQ(CurrentSystemDriver(), before);
}
}  // namespace
