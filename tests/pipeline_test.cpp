// The generation phase drawn on a headless window: its progress frames in order, the
// composite grabbed into `backdrop`, the state left behind, and the same content as the
// CPU-only run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "generate/phase.hpp"
#include "generate/pipeline.hpp"
#include "platform/base/clock.hpp"
#include "platform/base/numbers.hpp"
#include "platform/draw/graphics.hpp"

namespace {
constexpr int kW = 1280, kH = 500;
constexpr int kClock = 5150;
// The progress line: 36 glyphs of 8 x 16 from (half_w - 140, half_h).
constexpr int kTextX = 500, kTextY = 250, kTextW = 36 * 8, kTextH = 16;
constexpr uint32_t kTextColour = 105u << 16 | 135u << 8 | 195u;

bool InText(int x, int y) {
    return x >= kTextX && x < kTextX + kTextW && y >= kTextY && y < kTextY + kTextH;
}

uint32_t Rgb(const PixmapPtr& p, int x, int y) {
    return p->ReadPixel(x, y) & 0xFFFFFF;
}

int TextPixels(const PixmapPtr& frame) {
    int n = 0;
    for (int y = kTextY; y < kTextY + kTextH; ++y) {
        for (int x = kTextX; x < kTextX + kTextW; ++x)
            n += Rgb(frame, x, y) == kTextColour;
    }
    return n;
}

// Whether two frames differ only inside the text line.
bool SameOutsideText(const PixmapPtr& a, const PixmapPtr& b) {
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            if (!InText(x, y) && a->ReadPixel(x, y) != b->ReadPixel(x, y)) return false;
        }
    }
    return true;
}

class PipelineTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        SelectGraphicsDriver(CreateGLDriver(), 2);
        if (!OpenGraphics(kW, kH, 0, 60, 0)) return;
        SeedRandom(kRandomStartState);
        FixClock(kClock);
        content_ = new Content;
        frames_ = new std::vector<PixmapPtr>;
        generate_startup_content(*content_, kW, kH, 2,
                                 [] { frames_->push_back(GrabPixmap(0, 0, kW, kH)); });
        state_after_ = RandomState();
    }
    static void TearDownTestSuite() {
        UnfixClock();
        delete content_;
        delete frames_;
        content_ = nullptr;
        frames_ = nullptr;
        CloseGraphics();
    }
    void SetUp() override { ASSERT_TRUE(content_) << LastGraphicsError(); }

    static const Content& C() { return *content_; }
    static const PixmapPtr& Frame(int i) { return (*frames_)[i]; }

    static inline Content* content_ = nullptr;
    static inline std::vector<PixmapPtr>* frames_ = nullptr;
    static inline int state_after_ = 0;
};

TEST_F(PipelineTest, NineFramesAreShown) {
    // Text 1, the bare composite, text 2, texts 3 to 5, text 6 twice, text 7.
    ASSERT_EQ(frames_->size(), 9u);
}

TEST_F(PipelineTest, FirstFrameIsTheDarkenedClearColourWithText1) {
    ASSERT_EQ(frames_->size(), 9u);
    const PixmapPtr& f = Frame(0);
    EXPECT_EQ(Rgb(f, 0, 0), 0u);  // the vignette's opaque frame, tinted black
    EXPECT_EQ(Rgb(f, kW - 1, kH - 1), 0u);
    // Near the centre the vignette is almost clear: nearly the clear colour itself.
    const uint32_t centre = Rgb(f, 640, 200);
    EXPECT_NEAR(static_cast<int>(centre >> 16), 52, 2);
    EXPECT_NEAR(static_cast<int>(centre >> 8 & 0xFF), 84, 2);
    EXPECT_NEAR(static_cast<int>(centre & 0xFF), 145, 3);
    EXPECT_GT(TextPixels(f), 100);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            if (!InText(x, y)) {
                ASSERT_NE(Rgb(f, x, y), kTextColour) << x << "," << y;
            }
        }
    }
}

TEST_F(PipelineTest, CompositeIsShownBareAndGrabbedIntoBackdrop) {
    ASSERT_EQ(frames_->size(), 9u);
    const PixmapPtr& shown = Frame(1);
    const PixmapPtr grabbed = C().backdrop->pixmaps[0];
    ASSERT_NE(grabbed, C().backdrop_pix);  // the lattice stays in backdrop_pix
    EXPECT_EQ(TextPixels(shown), 0);
    int differs_from_clear = 0;
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            ASSERT_EQ(grabbed->ReadPixel(x, y), shown->ReadPixel(x, y) | 0xFF000000u);
            differs_from_clear += Rgb(shown, x, y) != (52u << 16 | 84u << 8 | 145u);
        }
    }
    EXPECT_GT(differs_from_clear, kW * kH / 2);  // the tinted layers cover most of it
}

TEST_F(PipelineTest, LaterFramesOnlyAddDashes) {
    ASSERT_EQ(frames_->size(), 9u);
    EXPECT_EQ(Rgb(Frame(2), 0, 0), 0u);  // the composite under the vignette again
    for (int i = 3; i < 9; ++i)
        EXPECT_TRUE(SameOutsideText(Frame(i - 1), Frame(i))) << i;
    for (int i = 3; i < 9; ++i) {
        if (i == 7) continue;  // text 6 twice
        EXPECT_GT(TextPixels(Frame(i)), TextPixels(Frame(i - 1))) << i;
    }
    EXPECT_EQ(TextPixels(Frame(7)), TextPixels(Frame(6)));
}

TEST_F(PipelineTest, LeavesItsDrawingStateAndEveryGlobal) {
    const TVorn2DGraphics* g = TVorn2DGraphics::Current();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->color_red, 105);
    EXPECT_EQ(g->color_green, 135);
    EXPECT_EQ(g->color_blue, 195);
    EXPECT_EQ(g->blend_mode, BLEND_ALPHA);
    EXPECT_EQ(g->color_alpha, 1.0f);
    EXPECT_EQ(AutoCentre(), 1);
    EXPECT_EQ(state_after_, RandomJump(kClock, 80001));
    EXPECT_EQ(C().work_pix, C().hole_glow->pixmaps[0]);
    EXPECT_EQ(C().glow_white_pix, C().glow_white->pixmaps[0]);
    EXPECT_EQ(C().vignette_pix, C().vignette->pixmaps[0]);
    EXPECT_EQ(C().ring_segments->FrameCount(), 11);
    EXPECT_EQ(C().hole_mask.size(), 64u * 80 * 80);
    EXPECT_TRUE(C().player_ship && C().hole_img && C().maze && C().glow_red);
}

TEST_F(PipelineTest, DrawnRunMakesTheSameContentAsTheCpuRun) {
    SeedRandom(kRandomStartState);
    Content cpu;
    generate_content_cpu(cpu, kW, kH, 1);
    EXPECT_EQ(RandomState(), state_after_);
    EXPECT_EQ(cpu.grid_gaps, C().grid_gaps);
    EXPECT_EQ(cpu.walk_map, C().walk_map);
    EXPECT_EQ(cpu.hole_normx, C().hole_normx);
    EXPECT_EQ(cpu.player_normz, C().player_normz);
    const auto same = [](const PixmapPtr& a, const PixmapPtr& b) {
        for (int y = 0; y < a->height; ++y) {
            for (int x = 0; x < a->width; ++x) {
                if (a->ReadPixel(x, y) != b->ReadPixel(x, y)) return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(same(cpu.vignette_pix, C().vignette_pix));
    EXPECT_TRUE(same(cpu.backdrop_pix, C().backdrop_pix));
    EXPECT_TRUE(same(cpu.maze->pixmaps[0], C().maze->pixmaps[0]));
    EXPECT_TRUE(same(cpu.glow_white_pix, C().glow_white_pix));
    for (int k = 0; k < 11; ++k)
        EXPECT_TRUE(same(cpu.ring_segments->pixmaps[k], C().ring_segments->pixmaps[k])) << k;
}
}  // namespace
