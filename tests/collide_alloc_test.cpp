// Steady-state collision tests must not touch the heap: the layers recycle their quads and the
// walk reuses its scratch row.
#include "alloc_counter.hpp"
#include "collide_fixture.hpp"

namespace {
// One frame of a game-like pass: clear, then every object tests against the layer and writes
// itself into it, half of them turned; plus a pair of quads whose overlap is wider than the
// scratch row's pieces.
void Frame(const std::vector<ImagePtr>& images, const std::vector<TCollisionId>& ids,
           std::vector<TCollisionId>* hits, const TQuad& wide_a, const TQuad& wide_b, int* total) {
    ClearCollisionLayers(0);
    for (size_t i = 0; i < images.size(); ++i) {
        SetRotation(i % 2 ? 30.0f : 0.0f);
        *total += OverlapImage(images[i], int(i % 8) * 12, int(i / 8) * 12, 0, 1, 1, ids[i], hits);
    }
    SetRotation(0);
    *total += QuadsOverlap(wide_a, wide_b);
}

TEST_F(CollideTest, SteadyStateAllocatesNothing) {
    std::vector<ImagePtr> images;
    std::vector<TCollisionId> ids;
    for (int i = 0; i < 40; ++i) {
        images.push_back(MakeImage(16, 16, [](int x, int y) {
            return (x - 8) * (x - 8) + (y - 8) * (y - 8) < 60 ? 0xFFFFFFFFu : 0u;
        }));
        ids.push_back(Id(i));
    }
    TQuad wide_a, wide_b;  // 5000 pixels of clear overlap per scanline
    wide_a.SetCoords(0, 0, 5000, 0, 5000, 3, 0, 3);
    wide_b.SetCoords(0, 1, 5000, 1, 5000, 2, 0, 2);
    wide_b.mask = images[0]->Lock(0, 1, 0);
    wide_a.mask = MakeImage(2, 2, [](int, int) { return 0u; })->Lock(0, 1, 0);
    std::vector<TCollisionId> hits;
    int warm = 0, steady = 0;
    for (int pass = 0; pass < 3; ++pass)
        Frame(images, ids, &hits, wide_a, wide_b, &warm);
    ASSERT_TRUE(StartCountingAllocations());
    for (int pass = 0; pass < 50; ++pass)
        Frame(images, ids, &hits, wide_a, wide_b, &steady);
    EXPECT_EQ(StopCountingAllocations(), 0u);
    EXPECT_GT(warm, 0);  // the pass does find hits
    EXPECT_EQ(steady, warm / 3 * 50);
}
}  // namespace
