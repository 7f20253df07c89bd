// What the objects leave behind: nothing once every enemy, particle and hole has left its
// list, and no heap allocation per frame once enemies and their trails run steadily.
#include <gtest/gtest.h>

#include <vector>

#include "alloc_counter.hpp"
#include "objects_fixture.hpp"

namespace {
using ObjectsLifetimeTest = ObjectsTest;

// Spreads `n` ships over the field, a millisecond apart so that they differ.
std::vector<std::weak_ptr<enemy>> Spawn(int n) {
    std::vector<std::weak_ptr<enemy>> made;
    for (int i = 0; i < n; ++i) {
        FixClock(100 + i);
        made.push_back(
            enemy::Create(60 + (i * 97) % 1160, 40 + (i * 53) % 420, 0, 0, 170, 210, 255, 0));
    }
    return made;
}

// One frame of the objects as the play frame runs them, the player's ship circling.
void Frame(int n) {
    const double heading = n * 3.0;
    const float x = static_cast<float>(640 + 300 * Cos(n * 0.7)),
                y = static_cast<float>(250 + 150 * Sin(n * 0.7));
    trail::update();
    enemy::update(x, y, static_cast<float>(Sin(heading)), static_cast<float>(Cos(heading)));
}

TEST_F(ObjectsLifetimeTest, NothingStaysAliveOnceEverythingHasLeftItsList) {
    std::vector<std::weak_ptr<enemy>> ships = Spawn(6);
    std::weak_ptr<hole> gate = hole::Create(100, 250);
    std::vector<std::weak_ptr<trail>> particles;
    const auto note_particles = [&] {
        Objects().trails.ForEach([&](const TrailPtr& t, const auto&) { particles.push_back(t); });
    };
    for (int n = 0; n < 200; ++n) {
        Frame(n);
        note_particles();
    }
    Objects().enemies.ForEach([](const EnemyPtr& e, const auto&) { e->finished = 1; });
    for (int n = 200; n < 5000 && !Objects().enemies.IsEmpty(); ++n) {
        Frame(n);
        note_particles();
    }
    ASSERT_TRUE(Objects().enemies.IsEmpty());
    for (int n = 0; n < 40; ++n)
        trail::update();
    EXPECT_EQ(Objects().trails.Count(), 0);
    Objects().holes.First()->remove();
    for (const auto& s : ships)
        EXPECT_TRUE(s.expired());
    for (const auto& p : particles)
        ASSERT_TRUE(p.expired());
    EXPECT_TRUE(gate.expired());
}

TEST_F(ObjectsLifetimeTest, SteadyFramesAllocateNothing) {
    Spawn(40);
    for (int n = 0; n < 400; ++n)
        Frame(n);
    ASSERT_TRUE(StartCountingAllocations());
    for (int n = 400; n < 600; ++n)
        Frame(n);
    EXPECT_EQ(StopCountingAllocations(), 0u);
    EXPECT_GT(Objects().trails.Count(), 40 * 30);
}
}  // namespace
