// A minimised or hidden window: the game plays on exactly as when it is seen (the same trace,
// the same random draws), while the driver draws nothing into the back buffer; shown again,
// it draws every frame once more.
#include <SDL2/SDL.h>

#include <cstdlib>
#include <cstring>

#include "game_fixture.hpp"
#include "platform/draw/detail/gl_driver.hpp"
#include "platform/system/window_ops.hpp"

namespace {
// Turning and thrusting across the hiding, so the ship's motion shows in the trace.
constexpr const char* kFlight =
    "0 move 700 250\n1 down 1\n150 up 1\n160 move 600 250\n161 down 1\n";
constexpr int kPasses = 120, kHide = 30, kShow = 90;

SDL_Window* GameWindow() {
    return reinterpret_cast<SDL_Window*>(ActiveWindow());
}

PixmapPtr Screen() {
    return GrabPixmap(0, 0, 1280, 500);
}

// The mean difference per colour channel of two screens (-1 when they cannot be compared).
double MeanDifference(const PixmapPtr& a, const PixmapPtr& b) {
    if (!a || !b || a->width != b->width || a->height != b->height) return -1;
    double sum = 0;
    for (int y = 0; y < a->height; ++y) {
        const uint8_t *pa = a->PixelPtr(0, y), *pb = b->PixelPtr(0, y);
        for (int i = 0; i < a->width * 4; ++i)
            sum += (i % 4 == 3) ? 0 : std::abs(int(pa[i]) - int(pb[i]));
    }
    return sum / (3.0 * a->width * a->height);
}

bool SameRows(const std::vector<TTraceRow>& a, const std::vector<TTraceRow>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (format_trace_row(a[i]) != format_trace_row(b[i])) return false;
    return true;
}

class UnseenWindowTest : public GameTest {};

TEST_F(UnseenWindowTest, PlaysTheSameAndDrawsNothingWhileHidden) {
    PixmapPtr seen_last;
    const auto seen = Replay(kFlight, kPasses, [&](int pass) {
        if (pass == kPasses - 1) seen_last = Screen();
    });
    const int seen_state = RandomState();
    Restart();

    PixmapPtr at_hide, before_show, hidden_last;
    int calls_at_hide = 0, calls_before_show = 0;
    const auto hidden = Replay(kFlight, kPasses, [&](int pass) {
        if (pass == kHide) {
            SDL_HideWindow(GameWindow());
            // This pass's frame is drawn; from the next present on nothing is.
            at_hide = Screen();
            calls_at_hide = AttachedGLDriver()->DrawCallCount();
        }
        if (pass == kShow - 1) {
            before_show = Screen();
            calls_before_show = AttachedGLDriver()->DrawCallCount();
            SDL_ShowWindow(GameWindow());
        }
        if (pass == kPasses - 1) hidden_last = Screen();
    });
    EXPECT_TRUE(SameRows(seen, hidden)) << "the trace changed while the window was hidden";
    EXPECT_EQ(RandomState(), seen_state);
    ASSERT_EQ(hidden.size(), size_t(kPasses));
    EXPECT_NE(hidden[kHide].ship_x, hidden[kShow - 1].ship_x);  // the ship flew on meanwhile
    EXPECT_EQ(MeanDifference(at_hide, before_show), 0) << "the hidden window was drawn into";
    EXPECT_EQ(calls_before_show, calls_at_hide);
    // Shown again, every frame is drawn: the ship is where the never-hidden run shows it, not
    // where it was when hidden. The pictures are not equal to the byte: the backdrop's
    // translucent texels keep a faint trace of every earlier frame, the left-out ones too.
    const int sx = int(hidden.back().ship_x), sy = int(hidden.back().ship_y);
    EXPECT_LT(MeanDifference(seen_last->Window(sx - 6, sy - 6, 12, 12),
                             hidden_last->Window(sx - 6, sy - 6, 12, 12)),
              3);
    EXPECT_GT(MeanDifference(before_show->Window(sx - 6, sy - 6, 12, 12),
                             hidden_last->Window(sx - 6, sy - 6, 12, 12)),
              10);
    EXPECT_LT(MeanDifference(seen_last, hidden_last), 2.0);
}
}  // namespace
