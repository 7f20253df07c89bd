// The main loop with stand-in present and frame steps: Escape ends it after the pass that
// sees it, a pause skips presenting and playing (and idles instead), close requests are not
// acted on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_system.hpp"
#include "game/event_hook.hpp"
#include "game/game_state.hpp"
#include "game/main_loop.hpp"
#include "platform/system/events.hpp"
#include "platform/system/input.hpp"

namespace {
class MainLoopTest : public ::testing::Test {
  protected:
    std::string log;  // "F1" per Flip(1), "P" per play frame
    TLoopSteps steps;

    void SetUp() override {
        ResetEvents();
        ResetGame();
        EnablePolledInput();
        AddHook(EventEmitHook(), event_hook, nullptr, 0);
        // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about "F" + std::string.
        steps.flip = [this](int sync) {
            log += 'F';
            log += std::to_string(sync);
        };
        steps.play_frame = [this] { log += "P"; };
        steps.max_passes = 50;  // a broken loop fails instead of hanging
    }
    void TearDown() override {
        ResetEvents();
        ResetGame();
    }
};

TEST_F(MainLoopTest, EscapePressedBeforeTheFirstPassEndsTheLoopAfterOnePass) {
    // Pressed while content was generated: waiting in the platform's queue.
    FakeSystem system;
    system.pending = {MakeEvent(EVENT_KEY_DOWN, 27)};
    EXPECT_EQ(RunMainLoop(steps), 1);
    EXPECT_EQ(log, "F1P");
}

TEST_F(MainLoopTest, EscapeHeldFromTheStartEndsAtTheFirstTest) {
    InjectEvent(MakeEvent(EVENT_KEY_DOWN, 27));
    InjectEvent(MakeEvent(EVENT_KEY_REPEAT, 27));
    EXPECT_EQ(RunMainLoop(steps), 1);
}

TEST_F(MainLoopTest, EscapeDuringAPassEndsTheLoopAfterThatPass) {
    steps.before_pass = [](int pass) {
        if (pass == 3) InjectEvent(MakeEvent(EVENT_KEY_DOWN, 27));
    };
    EXPECT_EQ(RunMainLoop(steps), 4);
    EXPECT_EQ(log, "F1PF1PF1PF1P");
}

TEST_F(MainLoopTest, OtherKeysRepeatsAndCloseRequestsDoNotEndIt) {
    steps.before_pass = [](int pass) {
        if (pass == 0) InjectEvent(MakeEvent(EVENT_CLOSE));
        if (pass == 1) InjectEvent(MakeEvent(EVENT_KEY_REPEAT, 27));
        if (pass == 2) InjectEvent(MakeEvent(EVENT_KEY_DOWN, 80));
    };
    steps.max_passes = 6;
    EXPECT_EQ(RunMainLoop(steps), 6);
}

TEST_F(MainLoopTest, WhilePausedNoFrameIsPresentedOrPlayedButEscapeStillEnds) {
    Game().pause_image = std::make_shared<TImage>();
    int after = 0;
    steps.after_pass = [&](int pass) {
        ++after;
        if (pass == 2) InjectEvent(MakeEvent(EVENT_KEY_DOWN, 27));
    };
    EXPECT_EQ(RunMainLoop(steps), 3);  // the Escape test pumps before it reads the count
    EXPECT_EQ(log, "");
    EXPECT_EQ(after, 3);
}

TEST_F(MainLoopTest, OnlyPausedPassesIdle) {
    steps.idle = [this] { log += "I"; };
    steps.max_passes = 2;
    RunMainLoop(steps);
    EXPECT_EQ(log, "F1PF1P");
    log.clear();
    Game().pause_image = std::make_shared<TImage>();
    RunMainLoop(steps);
    EXPECT_EQ(log, "II");
}

TEST_F(MainLoopTest, TheGamesPausedPassWaitsForMessages) {
    FakeSystem system;
    GameLoopSteps().idle();
    EXPECT_EQ(system.waits, (std::vector<int>{kPausedWaitMs}));
}

TEST_F(MainLoopTest, EachPassPollsOneEvent) {
    for (int i = 0; i < 3; ++i)
        EmitEvent(TEvent::Create(EVENT_KEY_DOWN, 65 + i));
    steps.max_passes = 2;
    RunMainLoop(steps);
    EXPECT_EQ(QueuedEvents(), 1);
}

}  // namespace
