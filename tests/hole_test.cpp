// The hole: tint and light for where it stands, lighting of an opening stage into the shared
// image, the relight skipped after a frame at stage 1, drawing state, and a new hole taking
// the place of the old one.
#include <gtest/gtest.h>

#include "generate/generators.hpp"
#include "objects_fixture.hpp"
#include "render_fixture.hpp"

namespace {
// The hole stages, generated once for the suite and copied into each test's content.
const Content& Stages() {
    static const Content* stages = [] {
        auto* c = new Content;
        c->hole_half = c->hole_size * 0.5f;
        generate_hole_frames(*c, 2);
        return c;
    }();
    return *stages;
}

void LoadStages() {
    Content& c = Generated();
    c.hole_normx = Stages().hole_normx;
    c.hole_normy = Stages().hole_normy;
    c.hole_normz = Stages().hole_normz;
    c.hole_mask = Stages().hole_mask;
    c.hole_img = CreateImage(80, 80, 1, 11);
}

// The lit pixel (x, y) of stage `stage` for hole `h`, transcribed.
uint32_t Lit(const hole& h, int stage, int x, int y) {
    const Content& c = Generated();
    const int i = x + y * 80 + stage * 6400;
    float l = static_cast<float>(double{c.hole_normx[i]} * h.light_x +
                                 double{c.hole_normy[i]} * h.light_y +
                                 double{c.hole_normz[i]} * h.light_z);
    l = l < 0 ? 0 : l > 1 ? 1 : l;
    return uint32_t{c.hole_mask[i]} << 24 | uint32_t(FloatToInt(20 + 235.0 * l)) << 16 |
           uint32_t(FloatToInt(35 + 220.0 * l)) << 8 | uint32_t(FloatToInt(80 + 165.0 * l));
}

// Whether `hole_img` holds stage `stage` as lit for `h`.
bool ShowsStage(const hole& h, int stage) {
    const PixmapPtr pix = Generated().hole_img->pixmaps[0];
    for (int x = 0; x < 80; ++x)
        for (int y = 0; y < 80; ++y)
            if (pix->ReadPixel(x, y) != Lit(h, stage, x, y)) return false;
    return true;
}

class HoleTest : public ObjectsTest {
  protected:
    void SetUp() override {
        ObjectsTest::SetUp();
        LoadStages();
    }
};

TEST_F(HoleTest, AtTheCentreTheLightIsStraightAboveAndTheTintDeepest) {
    HolePtr h = hole::Create(640, 250);
    EXPECT_EQ(h->col.r, 55.0);
    EXPECT_EQ(h->col.g, 85.0);
    EXPECT_EQ(h->col.b, 155.0);
    EXPECT_EQ(h->light_x, 0.0f);
    EXPECT_EQ(h->light_y, 0.0f);
    EXPECT_EQ(h->light_z, 1.0f);
    EXPECT_EQ(h->alpha, 0.0f);
    EXPECT_EQ(h->open, 0);
    EXPECT_TRUE(ShowsStage(*h, 0));
    EXPECT_EQ(Generated().work_pix, Generated().hole_img->pixmaps[0]);
    // A pixel facing the light straight on is near white, one in the mask's hole unseen.
    EXPECT_EQ(Generated().hole_img->pixmaps[0]->ReadPixel(0, 0) >> 24, 0u);
}

TEST_F(HoleTest, AtTheLeftEdgeTheTintIsLighterAndTheLightSlants) {
    HolePtr h = hole::Create(0, 250);
    EXPECT_EQ(h->col.r, 80.0);
    EXPECT_EQ(h->col.g, 112.0);
    EXPECT_EQ(h->col.b, 195.0);
    const double length = Sqrt(640.0 * 640 + 900.0 * 900);
    EXPECT_EQ(h->light_x, static_cast<float>(-640 / length));
    EXPECT_EQ(h->light_y, 0.0f);
    EXPECT_EQ(h->light_z, static_cast<float>(900 / length));
    EXPECT_TRUE(ShowsStage(*h, 0));
}

TEST_F(HoleTest, TheFrameAfterStageOneSkipsItsRelight) {
    HolePtr h = hole::Create(300, 200);
    h->alpha = 1;
    h->open = 1;
    h->draw();
    EXPECT_TRUE(ShowsStage(*h, 1));
    EXPECT_EQ(h->stillopen, 1);
    h->open = 2;
    h->draw();  // skipped: the image still shows stage 1
    EXPECT_TRUE(ShowsStage(*h, 1));
    EXPECT_EQ(h->stillopen, 0);
    h->draw();
    EXPECT_TRUE(ShowsStage(*h, 2));
    h->open = 0;  // closed: no relight, the last look stays
    h->draw();
    EXPECT_TRUE(ShowsStage(*h, 2));
    h->alpha = 0.5f;  // faded: still relit while open
    h->open = 40;
    h->draw();
    EXPECT_TRUE(ShowsStage(*h, 40));
}

TEST_F(HoleTest, ANewHoleTakesThePlaceOfTheOld) {
    HolePtr first = hole::Create(100, 250);
    HolePtr second = hole::Create(500, 100);
    EXPECT_EQ(Objects().holes.Count(), 1);
    EXPECT_EQ(Objects().holes.First(), second);
    first->remove();  // no longer in the list: nothing happens
    EXPECT_EQ(Objects().holes.Count(), 1);
    second->remove();
    EXPECT_EQ(Objects().holes.Count(), 0);
    second->generate();  // a hole out of the list can still be moved and relit
    EXPECT_EQ(second->pos.x, 500.0);
}

TEST_F(HoleTest, StagesOutsideTheSequenceAreNotLit) {
    HolePtr h = hole::Create(640, 250);
    h->open = 64;
    h->draw();
    EXPECT_TRUE(ShowsStage(*h, 0));
    Generated().hole_img = nullptr;  // before generation there is nothing to light
    h->open = 3;
    h->draw();
    h->generate();
}

class HoleRenderTest : public RenderTest {
  protected:
    void SetUp() override {
        RenderTest::SetUp();
        ResetObjects();
        ResetGenerated();
        SetAutoCentre(1);
        LoadStages();
    }
    void TearDown() override {
        ResetObjects();
        ResetGenerated();
        SetAutoCentre(0);
    }
};

TEST_F(HoleRenderTest, DrawsTheLitImageTintedAndLeavesAlphaBlendAtScaleOne) {
    HolePtr h = hole::Create(32, 24);
    h->alpha = 1;
    SetBlend(BLEND_ALPHA);
    h->draw();
    const uint32_t centre = Pixel(32, 24);
    EXPECT_NE(centre & 0xFFFFFF, 0u);
    EXPECT_EQ(Pixel(0, 0) & 0xFFFFFF, 0u);  // outside the hole
    h->open = 30;
    h->draw();
    float sx = 0, sy = 0;
    GetScale(&sx, &sy);
    EXPECT_EQ(sx, 1.0f);
    EXPECT_EQ(GetBlend(), BLEND_ALPHA);
    EXPECT_EQ(GetAlpha(), static_cast<float>((30 / 148.0) * (30 / 148.0)));  // the bloom's
}
}  // namespace
