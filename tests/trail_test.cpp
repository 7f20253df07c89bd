// Trail particles: drift from trail_speed, 38 draws of life at the default fade, removal off
// screen in the same draw, chains that stay bounded however long they run, release of long
// chains without recursion. (What a particle draws is checked with the frame's other features.)
#include <gtest/gtest.h>

#include <vector>

#include "objects_fixture.hpp"

namespace {
using TrailTest = ObjectsTest;

TEST_F(TrailTest, VelocityComesFromTrailSpeedAndSlowsEachDraw) {
    TrailPtr t = trail::Create(100, 100, 4, -8, 30, 44, 55, nullptr);
    EXPECT_EQ(t->vel.x, -1.0);
    EXPECT_EQ(t->vel.y, 2.0);
    EXPECT_EQ(t->age, 1.0f);
    EXPECT_EQ(t->col.b, 55.0);
    trail::update();
    EXPECT_EQ(t->pos.x, 99.0);
    EXPECT_EQ(t->vel.x, -1 * double{0.995f});
    Objects().trail_speed = 0.5f;
    EXPECT_EQ(trail::Create(100, 100, 4, 0, 1, 1, 1, nullptr)->vel.x, 2.0);
}

TEST_F(TrailTest, AParticleLivesThirtyEightDrawsAtTheDefaultFade) {
    TrailPtr t = trail::Create(100, 100, 0, 0, 30, 44, 55, nullptr);
    for (int i = 1; i < 38; ++i) {
        trail::update();
        ASSERT_EQ(Objects().trails.Count(), 1) << i;
    }
    trail::update();
    EXPECT_EQ(Objects().trails.Count(), 0);
    EXPECT_LT(t->age, 0.1f);
    EXPECT_GT(t->age, 0.09f);
    trail::update();  // no longer moved or aged
    EXPECT_LT(t->age, 0.1f);
    EXPECT_GT(t->age, 0.09f);
}

TEST_F(TrailTest, LeavingTheScreenRemovesItInTheSameDraw) {
    TrailPtr inside = trail::Create(100, 100, 0, 0, 1, 1, 1, nullptr);
    TrailPtr right = trail::Create(1279.5f, 100, -4, 0, 1, 1, 1, nullptr);
    TrailPtr top = trail::Create(100, 0.5f, 0, 4, 1, 1, 1, inside);
    trail::update();
    EXPECT_EQ(Objects().trails.Count(), 1);
    EXPECT_EQ(Objects().trails.First(), inside);
    EXPECT_GT(right->age, 0.9f);
    EXPECT_FALSE(top->child);  // a particle leaving the list drops its link
    EXPECT_TRUE(inside.use_count() >= 1);
}

TEST_F(TrailTest, ANewerParticleKeepsWhatItLinksToAfterThatLeaves) {
    TrailPtr old = trail::Create(100, 0.5f, 0, 4, 1, 1, 1, nullptr);  // leaves at once
    trail::update();
    TrailPtr newer = trail::Create(120, 20, 0, 0, 1, 1, 1, old);
    EXPECT_EQ(Objects().trails.Count(), 1);
    trail::update();
    ASSERT_EQ(newer->child, old);
    EXPECT_EQ(old->pos.y, -0.5);  // its last position, still read by the newer one
}

// Every particle still reachable from `head` through child links.
int ChainLength(TrailPtr head) {
    int n = 0;
    for (trail* t = head.get(); t; t = t->child.get())
        ++n;
    return n;
}

TEST_F(TrailTest, AnEndlessChainKeepsOnlyItsLiveParticles) {
    TrailPtr head;
    std::vector<std::weak_ptr<trail>> made;
    for (int frame = 0; frame < 3000; ++frame) {
        head = trail::Create(640, 250, 1, 1, 30, 44, 55, head);
        made.push_back(head);
        trail::update();
        // 37 in the list (the 38th draw removed the oldest) plus the one they reach.
        ASSERT_LE(ChainLength(head), 38) << frame;
    }
    int alive = 0;
    for (const auto& w : made)
        alive += !w.expired();
    EXPECT_EQ(alive, 38);
    EXPECT_EQ(Objects().trails.Count(), 37);
    head = nullptr;
    for (int i = 0; i < 38; ++i)
        trail::update();
    for (const auto& w : made)
        ASSERT_TRUE(w.expired());
}

TEST_F(TrailTest, AVeryLongChainIsReleasedWithoutRecursion) {
    Objects().trail_fade = 1;
    TrailPtr head;
    for (int i = 0; i < 200000; ++i)
        head = trail::Create(640, 250, 0, 0, 1, 1, 1, std::move(head));
    ResetObjects();  // the list lets go; the chain now hangs from `head` alone
    std::weak_ptr<trail> last = head;
    head = nullptr;  // would overflow the stack if each particle freed the next one
    EXPECT_TRUE(last.expired());
}

}  // namespace
