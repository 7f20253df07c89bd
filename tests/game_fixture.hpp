// Shared fixture of the suites that run the started game in-process: the real start-up on a
// headless window with the clock fixed, replays of inline scripts through the replay engine,
// and a clean slate afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "game/game_state.hpp"
#include "game/game_trace.hpp"
#include "game/startup.hpp"
#include "generate/content.hpp"
#include "objects/object_state.hpp"
#include "platform/draw/draw.hpp"
#include "support/replay.hpp"
#include "support/tool_args.hpp"

class GameTest : public ::testing::Test {
  protected:
    static constexpr int kClock = 4242;

    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        Fresh();
        RunHeadless(kClock);
        ASSERT_TRUE(StartUp()) << LastGraphicsError();
    }
    void TearDown() override {
        CloseGraphics();
        Fresh();
        UnfixClock();
    }

    // Runs `script` for `passes` passes of the main loop; one trace row per pass run. `each`,
    // when given, runs after each pass's row is taken.
    std::vector<TTraceRow> Replay(const std::string& script, int passes,
                                  const std::function<void(int)>& each = {}) {
        TReplayScript actions;
        std::string error;
        EXPECT_TRUE(ParseReplayScript(script, &actions, &error)) << error;
        std::vector<TTraceRow> rows;
        RunReplay(actions, passes, [&](int pass) {
            rows.push_back(trace_row(pass));
            if (each) each(pass);
        });
        return rows;
    }

    // Starts the game again from nothing, as the next test would find it.
    void Restart() {
        CloseGraphics();
        Fresh();
        RunHeadless(kClock);
        ASSERT_TRUE(StartUp()) << LastGraphicsError();
    }
    static TGameState& G() { return Game(); }
    static TObjectState& O() { return Objects(); }

  private:
    static void Fresh() {
        ResetEvents();
        ResetGame();
        ResetObjects();
        ResetGenerated();
        ShowPointer();
    }
};
