// The hole: tint and light for where it stands, the opening stage put into the shared image,
// the relight skipped after a frame at stage 1, and a new hole taking the place of the old one.
#include <gtest/gtest.h>

#include "generate/generators.hpp"
#include "objects_fixture.hpp"

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

// Whether `hole_img` holds stage `stage`: its opacity is the stage's mask. (How the stage is
// lit is checked on screen, with the frame's other features.)
bool ShowsStage(int stage) {
    const PixmapPtr pix = Generated().hole_img->pixmaps[0];
    const uint8_t* mask = Generated().hole_mask.data() + stage * 6400;
    for (int x = 0; x < 80; ++x)
        for (int y = 0; y < 80; ++y)
            if (pix->ReadPixel(x, y) >> 24 != mask[x + y * 80]) return false;
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
    EXPECT_TRUE(ShowsStage(0));
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
    EXPECT_TRUE(ShowsStage(0));
}

TEST_F(HoleTest, TheFrameAfterStageOneSkipsItsRelight) {
    HolePtr h = hole::Create(300, 200);
    h->alpha = 1;
    h->open = 1;
    h->draw();
    EXPECT_TRUE(ShowsStage(1));
    EXPECT_EQ(h->stillopen, 1);
    h->open = 2;
    h->draw();  // skipped: the image still shows stage 1
    EXPECT_TRUE(ShowsStage(1));
    EXPECT_EQ(h->stillopen, 0);
    h->draw();
    EXPECT_TRUE(ShowsStage(2));
    h->open = 0;  // closed: no relight, the last look stays
    h->draw();
    EXPECT_TRUE(ShowsStage(2));
    h->alpha = 0.5f;  // faded: still relit while open
    h->open = 40;
    h->draw();
    EXPECT_TRUE(ShowsStage(40));
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
    EXPECT_TRUE(ShowsStage(0));
    Generated().hole_img = nullptr;  // before generation there is nothing to light
    h->open = 3;
    h->draw();
    h->generate();
}

}  // namespace
