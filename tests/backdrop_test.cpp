// The backdrop generators: vignette, lattice, random walk and maze.
#include <gtest/gtest.h>

#include <vector>

#include "generate/generate_util.hpp"
#include "generate/generators.hpp"
#include "platform/base/clock.hpp"
#include "platform/base/numbers.hpp"

namespace {
constexpr int kW = 1280, kH = 500;

class BackdropTest : public ::testing::Test {
  protected:
    void SetUp() override { SeedRandom(kRandomStartState); }
    void TearDown() override { UnfixClock(); }
};

int AlphaAt(const PixmapPtr& p, int x, int y) {
    return static_cast<int>(ReadPixel(p, x, y) >> 24);
}

bool SamePixels(const TPixmap& a, const TPixmap& b) {
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (a.ReadPixel(x, y) != b.ReadPixel(x, y)) return false;
        }
    }
    return true;
}

// The gradient as the text states it, on the game's global generator and Pow throughout.
int LiteralGradient(float x, float y, int w, int h) {
    const float fx = static_cast<float>((x - w * 0.5) / w *
                                        (double(0.95f) + Pow(RandomFloat(), 4) * double(0.1f)));
    const double fy = (y - h * 0.5) / h * (double(0.95f) + Pow(RandomFloat(), 2) * double(0.1f));
    float v = static_cast<float>((double(fx) * fx + fy * fy) * 255);
    if (RandomFloat() < v - Floor(v)) v = static_cast<float>(v + 1.0);
    return FloatToInt(v);
}

TEST_F(BackdropTest, FastStepEqualsTheGameStep) {
    for (int32_t s : {1, 2, 4660, 44487, 44488, 48271, 1 << 30, 2147483645, 2147483646}) {
        ASSERT_EQ(gen::FastRandomNext(s), RandomNext(s)) << s;
    }
    int32_t s = 4660;
    for (int i = 0; i < 100000; ++i) {
        ASSERT_EQ(gen::FastRandomNext(s), RandomNext(s));
        s = RandomNext(s);
    }
}

TEST_F(BackdropTest, VignetteIsTheLiteralFormulaOnOneOrTwoThreads) {
    const int w = 97, h = 41;  // small, odd sizes so the thread split is uneven
    const PixmapPtr literal = CreatePixmap(w, h, PIXFMT_RGBA32);
    for (float x = 0; x < w; x += 1) {
        for (float y = 0; y < h; y += 1) {
            int a = LiteralGradient(x, y, w, h);
            if (x == 0 || x == w - 1 || y == 0 || y == h - 1) a = 255;
            literal->WritePixel(int(x), int(y), uint32_t(a & 255) << 24 | 0xFFFFFF);
        }
    }
    const int32_t after = RandomState();
    for (int threads : {1, 2}) {
        SeedRandom(kRandomStartState);
        Content c;
        create_vignette(c, w, h);
        generate_vignette(c, threads);
        EXPECT_TRUE(SamePixels(*c.vignette_pix, *literal)) << threads;
        EXPECT_EQ(RandomState(), after) << threads;
    }
}

TEST_F(BackdropTest, VignetteIsTheSameEveryRunWithFrameAndClearCentre) {
    Content a, b;
    create_vignette(a, kW, kH);
    generate_vignette(a, 2);
    SeedRandom(kRandomStartState);
    create_vignette(b, kW, kH);
    generate_vignette(b, 1);
    EXPECT_TRUE(SamePixels(*a.vignette_pix, *b.vignette_pix));
    EXPECT_EQ(RandomState(), RandomJump(kRandomStartState, 3ull * kW * kH));
    for (int x = 0; x < kW; ++x) {
        ASSERT_EQ(ReadPixel(a.vignette_pix, x, 0), 0xFFFFFFFFu);
        ASSERT_EQ(ReadPixel(a.vignette_pix, x, kH - 1), 0xFFFFFFFFu);
    }
    for (int y = 0; y < kH; ++y) {
        ASSERT_EQ(ReadPixel(a.vignette_pix, 0, y), 0xFFFFFFFFu);
        ASSERT_EQ(ReadPixel(a.vignette_pix, kW - 1, y), 0xFFFFFFFFu);
    }
    EXPECT_EQ(ReadPixel(a.vignette_pix, 640, 250), 0x00FFFFFFu);
    // Just inside the corners the jittered gradient lies between about 114 and 140.
    for (auto [x, y] : {std::pair{1, 1}, {kW - 2, 1}, {1, kH - 2}, {kW - 2, kH - 2}}) {
        EXPECT_GE(AlphaAt(a.vignette_pix, x, y), 110);
        EXPECT_LE(AlphaAt(a.vignette_pix, x, y), 142);
    }
}

TEST_F(BackdropTest, LatticeStripesReduceTheGradient) {
    Content c;
    generate_lattice(c, kW, kH, 2);
    ASSERT_EQ(c.grid_gaps.size(), 256u);
    // The gaps are the first 256 draws from 20 to 512, in order (512 steps); each pixel then
    // draws 3, column by column.
    const int32_t after = RandomState();
    SeedRandom(kRandomStartState);
    for (int g : c.grid_gaps)
        ASSERT_EQ(g, RandomInt(20, 512));
    const int32_t pixels_start = RandomJump(kRandomStartState, 512);
    EXPECT_EQ(after, RandomJump(pixels_start, 3ull * kW * kH));
    int vertical = 0, crossings = 0;
    for (int x = 0; x < kW; x += 7) {
        for (int y = 0; y < kH; y += 3) {
            SeedRandom(RandomJump(pixels_start, 3ull * (x * kH + y)));
            const int a = LiteralGradient(x, y, kW, kH);
            const int g1 = c.grid_gaps[FloatToInt(x * double(0.02f) + y * double(0.01f))];
            const int g2 = c.grid_gaps[FloatToInt(x * double(0.01f) + y * double(0.01f))];
            const bool on1 = x % g1 < 4, on2 = y % g2 < 4;
            int want = a;
            if (on1) want = FloatToInt(want * double(0.3f));
            if (on2) want = FloatToInt(want * double(0.3f));
            ASSERT_EQ(ReadPixel(c.backdrop_pix, x, y), uint32_t(want) << 24 | 0xFFFFFF)
                << x << "," << y;
            vertical += on1 && !on2;
            crossings += on1 && on2;
        }
    }
    EXPECT_GT(vertical, 0);
    EXPECT_GT(crossings, 0);
}

TEST_F(BackdropTest, LatticeOnOneThreadEqualsTwo) {
    Content a, b;
    generate_lattice(a, 301, 77, 1);
    SeedRandom(kRandomStartState);
    generate_lattice(b, 301, 77, 2);
    EXPECT_EQ(a.grid_gaps, b.grid_gaps);
    EXPECT_TRUE(SamePixels(*a.backdrop_pix, *b.backdrop_pix));
}

TEST_F(BackdropTest, WalkerBouncesOffEveryEdge) {
    const int w = 5, h = 4;
    std::vector<float> map(w * h, 0.0f);
    WalkState s;
    s.px = 4, s.py = 1, s.dx = 1, s.dy = 0;
    walk_step(s, 0.5f, map.data(), w, h);  // no turn: pushes past the right edge
    EXPECT_EQ(s.px, 4);
    EXPECT_EQ(s.dx, -1);
    EXPECT_EQ(map[4 + 1 * w], 1.0f);
    s = WalkState{0, 1, 0, 0};
    walk_step(s, 0.995f, map.data(), w, h);  // turns left past the left edge
    EXPECT_EQ(s.px, 0);
    EXPECT_EQ(s.dx, 1);
    s = WalkState{2, 3, 0, 0};
    walk_step(s, 0.205f, map.data(), w, h);  // turns down past the bottom
    EXPECT_EQ(s.py, 3);
    EXPECT_EQ(s.dy, -1);
    s = WalkState{2, 0, 0, 0};
    walk_step(s, 0.505f, map.data(), w, h);  // turns up past the top
    EXPECT_EQ(s.py, 0);
    EXPECT_EQ(s.dy, 1);
}

// Each turn has its own band of the step's draw, one hundredth wide; anywhere else the walker
// keeps its direction (here none).
TEST_F(BackdropTest, WalkerTurnsOnlyInsideTheBandsOfItsDraw) {
    const std::pair<float, std::pair<int, int>> cases[] = {
        {0.0f, {1, 0}},     {0.0099f, {1, 0}}, {0.0101f, {0, 0}},  {0.985f, {0, 0}},
        {0.9901f, {-1, 0}}, {0.1999f, {0, 0}}, {0.2001f, {0, 1}},  {0.2099f, {0, 1}},
        {0.2101f, {0, 0}},  {0.4999f, {0, 0}}, {0.5001f, {0, -1}}, {0.5099f, {0, -1}},
        {0.5101f, {0, 0}},  {0.75f, {0, 0}}};
    for (const auto& [r, dir] : cases) {
        std::vector<float> map(9 * 9, 0.0f);
        WalkState s{4, 4, 0, 0};
        walk_step(s, r, map.data(), 9, 9);
        EXPECT_EQ(std::make_pair(s.dx, s.dy), dir) << "draw " << r;
        EXPECT_EQ(std::make_pair(s.px, s.py), std::make_pair(4 + dir.first, 4 + dir.second));
    }
}

TEST_F(BackdropTest, WalkerTurnsBackOnItsOwnTrace) {
    const int w = 6, h = 3;
    std::vector<float> map(w * h, 0.0f);
    map[3 + 1 * w] = 1.0f;
    WalkState s{2, 1, 1, 0};
    walk_step(s, 0.5f, map.data(), w, h);
    EXPECT_EQ(s.px, 3);
    EXPECT_EQ(s.dx, -1);
    EXPECT_EQ(map[3 + 1 * w], 1.0f);
}

TEST_F(BackdropTest, LongWalkOnATinyFieldStaysInside) {
    const int w = 7, h = 5;
    std::vector<float> map(w * h + 2 * w, 0.0f);  // a guard row either side
    float* field = map.data() + w;
    WalkState s{3, 2, 1, 0};
    SeedRandom(99);
    for (int i = 0; i < 80001; ++i) {
        walk_step(s, RandomFloat(), field, w, h);
        ASSERT_TRUE(s.px >= 0 && s.px < w && s.py >= 0 && s.py < h) << i;
    }
    for (int i = 0; i < w; ++i) {
        EXPECT_EQ(map[i], 0.0f);
        EXPECT_EQ(map[w + w * h + i], 0.0f);
    }
}

TEST_F(BackdropTest, MazeCoreHaloAndUntouchedEdges) {
    FixClock(4242);
    Content c;
    generate_maze(c, kW, kH, 2);
    // The walk is seeded from the clock: replay it to know the trace.
    std::vector<float> trace(kW * kH, 0.0f);
    SeedRandom(4242);
    random_walk(trace.data(), kW, kH);
    const PixmapPtr pix = LockImage(c.maze, 0, 1, 0);
    int visited = 0, far = 0;
    for (int x = 0; x < kW - 1; ++x) {
        for (int y = 0; y < kH - 1; ++y) {
            if (trace[x + y * kW] == 1.0f) {
                ++visited;
                ASSERT_GE(AlphaAt(pix, x, y), 25) << x << "," << y;
            } else if (c.walk_map[x + y * kW] == 0.0f) {
                ++far;
                ASSERT_EQ(AlphaAt(pix, x, y), 0);
            }
        }
    }
    EXPECT_GT(visited, 1000);
    EXPECT_GT(far, 0);
    for (int x = 0; x < kW; ++x)
        ASSERT_EQ(ReadPixel(pix, x, kH - 1), 0u);
    for (int y = 0; y < kH; ++y)
        ASSERT_EQ(ReadPixel(pix, kW - 1, y), 0u);
}

TEST_F(BackdropTest, MazeOnOneThreadEqualsTwo) {
    FixClock(777);
    Content a, b;
    generate_maze(a, 330, 120, 1);
    const int32_t after = RandomState();
    generate_maze(b, 330, 120, 2);
    EXPECT_EQ(RandomState(), after);
    EXPECT_EQ(a.walk_map, b.walk_map);
    EXPECT_TRUE(SamePixels(*LockImage(a.maze, 0, 1, 0), *LockImage(b.maze, 0, 1, 0)));
}
}  // namespace
