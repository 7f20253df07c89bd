// A screenshot of the running game after two hundred passes: where nothing is drawn on top
// the backdrop shows under the vignette, which darkens the edges; the ring and crosshair
// stand at the hole; the side panel on the right; the ship at its place. Chosen pixels and
// regions are checked, not a hash.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game_fixture.hpp"

namespace {
struct Rgb {
    int r, g, b;
};

Rgb RgbOf(uint32_t argb) {
    return {static_cast<int>(argb >> 16 & 255), static_cast<int>(argb >> 8 & 255),
            static_cast<int>(argb & 255)};
}

int Distance(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

class ScreenshotTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        if (HasFatalFailure()) return;
        Replay("", kPasses - 1);
        // The last frame without enemies and their trails, which chase the ship anywhere: every
        // other layer stays where the game put it.
        O().enemies.Clear();
        O().trails.Clear();
        Replay("", 1);
        shot = GrabPixmap(0, 0, 1280, 500);
        backdrop = Generated().backdrop->pixmaps[0];
        vignette = Generated().vignette->pixmaps[0];
    }

    // The backdrop at (x, y) darkened by the vignette: what shows where nothing else is drawn.
    Rgb Bare(int x, int y) const {
        const Rgb bg = RgbOf(backdrop->ReadPixel(x, y));
        const double keep = 1 - (vignette->ReadPixel(x, y) >> 24) / 255.0;
        return {static_cast<int>(bg.r * keep), static_cast<int>(bg.g * keep),
                static_cast<int>(bg.b * keep)};
    }
    Rgb Shot(int x, int y) const { return RgbOf(shot->ReadPixel(x, y)); }
    // True when a pixel within `r` of (x, y) differs from the bare backdrop by over `by`.
    bool Marked(int x, int y, int r, int by) const {
        for (int v = std::max(0, y - r); v <= std::min(499, y + r); ++v)
            for (int u = std::max(0, x - r); u <= std::min(1279, x + r); ++u)
                if (Distance(Shot(u, v), Bare(u, v)) > by) return true;
        return false;
    }
    // True when (x, y) is clear of everything drawn over the backdrop.
    bool Clear(int x, int y) const {
        const TGameState& g = G();
        const auto near = [&](double cx, double cy, double r) {
            return std::hypot(x - cx, y - cy) < r;
        };
        if (std::abs(x - g.the_hole_x) < 3 || std::abs(y - g.the_hole_y) < 3) return false;
        if (near(g.the_hole_x, g.the_hole_y, 70) || near(g.ship_x, g.ship_y, 50)) return false;
        for (int k = 1; k <= 4; ++k)
            if (near(256 * k, 256, 70)) return false;
        return x < 1240;
    }

    static constexpr int kPasses = 200;
    PixmapPtr shot, backdrop, vignette;
};

TEST_F(ScreenshotTest, WhereNothingIsDrawnTheBackdropShowsUnderTheVignette) {
    int checked = 0;
    for (int y = 2; y < 500; y += 23) {
        for (int x = 2; x < 1280; x += 37) {
            if (!Clear(x, y)) continue;
            ASSERT_LE(Distance(Shot(x, y), Bare(x, y)), 6) << x << "," << y;
            ++checked;
        }
    }
    EXPECT_GT(checked, 500);
}

TEST_F(ScreenshotTest, TheVignetteDarkensTheEdgesMoreThanTheMiddle) {
    const auto darkening = [&](int x, int y) {
        const Rgb bg = RgbOf(backdrop->ReadPixel(x, y)), s = Shot(x, y);
        return (bg.r + bg.g + bg.b) - (s.r + s.g + s.b);
    };
    EXPECT_GT(darkening(1, 1), 60);
    EXPECT_GT(darkening(3, 498), 60);
    EXPECT_GT(darkening(640, 1), 20);
    EXPECT_LT(darkening(640, 120), darkening(640, 1));
}

TEST_F(ScreenshotTest, RingAndCrosshairStandAtTheHole) {
    const int hx = FloatToInt(G().the_hole_x), hy = FloatToInt(G().the_hole_y);
    ASSERT_NE(hx, 100);  // the hole has moved off its start
    int ring = 0;
    for (int a = 0; a < 360; a += 15) {
        const double t = a * 3.14159265358979 / 180;
        ring += Marked(hx + FloatToInt(61 * std::cos(t)), hy + FloatToInt(61 * std::sin(t)), 2, 12);
    }
    EXPECT_GE(ring, 20);
    // The crosshair, far out along both of its lines.
    const int far_x = hx > 640 ? hx / 2 : (hx + 64 + 1240) / 2;
    const int far_y = hy > 250 ? (hy - 64) / 2 : (hy + 64 + 500) / 2;
    EXPECT_TRUE(Marked(far_x, hy, 1, 12));
    EXPECT_TRUE(Marked(hx, far_y, 1, 12));
}

TEST_F(ScreenshotTest, SidePanelOnTheRight) {
    EXPECT_TRUE(Marked(1260, 300, 0, 12));  // the long line under the gauge
    EXPECT_TRUE(Marked(1249, 60, 0, 12));   // the gauge's frame
    EXPECT_TRUE(Marked(1270, 60, 0, 12));
    EXPECT_FALSE(Marked(1230, 60, 0, 12));
}

TEST_F(ScreenshotTest, TheShipAndItsShadowAreDrawnAtItsPlace) {
    ASSERT_EQ(G().ship_x, 640);
    ASSERT_EQ(G().ship_y, 250);
    // The pixels the ship and its shadow change, in an 81 x 81 square around it, and their
    // centre; the same square further down changes nothing.
    const auto changed = [&](int cx, int cy, double* mx, double* my) {
        int n = 0;
        double sx = 0, sy = 0;
        for (int y = cy - 40; y <= cy + 40; ++y) {
            for (int x = cx - 40; x <= cx + 40; ++x) {
                if (Distance(Shot(x, y), Bare(x, y)) <= 30) continue;
                ++n, sx += x, sy += y;
            }
        }
        if (mx) *mx = n ? sx / n : 0, *my = n ? sy / n : 0;
        return n;
    };
    double mx = 0, my = 0;
    EXPECT_GT(changed(640, 250, &mx, &my), 1000);
    EXPECT_NEAR(mx, 640, 4);
    EXPECT_NEAR(my, 250, 12);
    EXPECT_EQ(changed(640, 420, nullptr, nullptr), 0);
}
}  // namespace
