// Every suite starts from the state a fresh process has: the drawing layer (graphics closed,
// no driver, image defaults), events and hooks, the clock, the random generator, and the
// generated content, objects and game state. So no suite depends on what another left behind,
// in any order (--gtest_shuffle).
#include <gtest/gtest.h>

#include "game/game_state.hpp"
#include "generate/content.hpp"
#include "objects/object_state.hpp"
#include "platform/base/clock.hpp"
#include "platform/base/numbers.hpp"
#include "platform/draw/graphics.hpp"
#include "platform/system/events.hpp"

namespace {
class FreshStatePerSuite : public ::testing::EmptyTestEventListener {
    // Runs before the suite's own SetUpTestSuite.
    void OnTestSuiteStart(const ::testing::TestSuite&) override {
        ResetGame();
        ResetObjects();
        ResetGenerated();  // images first, while their context may still be open
        ResetDrawingState();
        ResetEvents();
        UnfixClock();
        SeedRandom(kRandomStartState);
    }
};

const bool g_installed = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStatePerSuite);
    return true;
}();
}  // namespace
