// The SDL window on the headless driver: it opens at the asked size with the system driver
// installed, its style word drives the frame, headless presents never wait, and closing it
// takes the system driver away.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "platform/system/events.hpp"
#include "platform/system/input.hpp"
#include "platform/system/pointer.hpp"
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
    // The SDL id of the open window.
    static Uint32 WindowId() {
        return SDL_GetWindowID(reinterpret_cast<SDL_Window*>(ActiveWindow()));
    }
    // Queues an SDL event, as the window's back end would, and pumps it through.
    static void Push(SDL_Event e) {
        ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
        PumpMessages();
    }
    static void PushWindowEvent(SDL_WindowEventID id) {
        SDL_Event e{};
        e.window.type = SDL_WINDOWEVENT;
        e.window.windowID = WindowId();
        e.window.event = id;
        Push(e);
    }
    static void PushMotion(int x, int y) {
        SDL_Event e{};
        e.motion.type = SDL_MOUSEMOTION;
        e.motion.windowID = WindowId();
        e.motion.x = x, e.motion.y = y;
        Push(e);
    }
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

namespace {
TEST_F(SdlWindowTest, TheHeadlessPointerIsMovedAndRecordedOnlyWhileFocused) {
    std::string error;
    auto graphics = CreateWindowGraphics(320, 200, 0, 60, 0, &error);
    ASSERT_NE(graphics, nullptr) << error;
    OnGraphicsOpened();
    MoveMouse(10, 20);  // the headless window has the focus and a virtual pointer
    EXPECT_EQ(PointerX(), 10);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    MoveMouse(160, 100);
    EXPECT_EQ(PointerX(), 10);
    PushMotion(50, 60);
    EXPECT_EQ(PointerX(), 50);  // the real pointer's own motion
    MoveMouse(160, 100);
    EXPECT_EQ(PointerX(), 50);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    MoveMouse(160, 100);
    EXPECT_EQ(PointerX(), 160);
    EXPECT_EQ(PointerY(), 100);
}
}  // namespace

namespace {
TEST_F(SdlWindowTest, TheClickThatGivesTheFocusIsHeld) {
    std::string error;
    auto graphics = CreateWindowGraphics(320, 200, 0, 60, 0, &error);
    ASSERT_NE(graphics, nullptr) << error;
    OnGraphicsOpened();
    std::vector<int> seen;
    AddHook(
        EventEmitHook(),
        [&](int, const ObjectPtr& data, const ObjectPtr&) {
            if (auto e = std::dynamic_pointer_cast<TEvent>(data)) seen.push_back(e->id);
            return data;
        },
        nullptr, 0);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    SDL_Event press{};
    press.button.type = SDL_MOUSEBUTTONDOWN;
    press.button.windowID = WindowId();
    press.button.button = SDL_BUTTON_LEFT;
    press.button.state = SDL_PRESSED;
    Push(press);
    EXPECT_EQ(seen, (std::vector<int>{EVENT_DEACTIVATE, EVENT_ACTIVATE, EVENT_MOUSE_DOWN}));
    EXPECT_EQ(IsButtonDown(1), 1);
    EXPECT_EQ(TakeButtonHits(1), 1);
}
}  // namespace

namespace {
// Half the desktop less half the window, each halved with truncation: an odd size lands one
// pixel off from centring the difference.
TEST_F(SdlWindowTest, TheClientAreaOpensCentredOnTheDesktop) {
    std::string error;
    auto graphics = CreateWindowGraphics(321, 201, 0, 60, 0, &error);
    ASSERT_NE(graphics, nullptr) << error;
    SDL_Rect desktop;
    ASSERT_EQ(SDL_GetDisplayBounds(0, &desktop), 0) << SDL_GetError();
    const TWindowRect rect = GetWindowRect(ActiveWindow());  // no frame on the headless driver
    EXPECT_EQ(rect.left, desktop.x + desktop.w / 2 - 160);
    EXPECT_EQ(rect.top, desktop.y + desktop.h / 2 - 100);
    EXPECT_EQ(rect.right - rect.left, 321);
    EXPECT_EQ(rect.bottom - rect.top, 201);
}
}  // namespace
