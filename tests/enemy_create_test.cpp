// Enemy creation and ship generation: size and handling from the random trait, borders,
// the dome and its shadow against a hemisphere and its blur, repeatability within one
// millisecond, and ships of other kinds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "objects_fixture.hpp"

namespace {
using EnemyCreateTest = ObjectsTest;

// The dome's height at (x, y) of a ship of `size`: a hemisphere of radius 0.3125 size standing
// on the sprite's centre.
double Dome(int x, int y, int size) {
    const double rho = std::hypot(x - size * 0.5, y - size * 0.5) / (0.3125 * size);
    return rho < 1 ? std::sqrt(1 - rho * rho) : 0;
}

// The dome softened by a 3-wide box and then a 5-wide one: one 7-wide kernel per axis. The
// dome stays 7 pixels inside the sprite's edges, so the edge rules of the blur never matter.
double SoftDome(int x, int y, int size) {
    static constexpr double w[7] = {1, 2, 3, 3, 3, 2, 1};
    double sum = 0;
    for (int i = -3; i <= 3; ++i)
        for (int j = -3; j <= 3; ++j)
            sum += w[i + 3] * w[j + 3] * Dome(x + i, y + j, size);
    return sum / 225;
}

uint32_t Alpha(const PixmapPtr& pix, int x, int y) {
    return pix->ReadPixel(x, y) >> 24;
}

TEST_F(EnemyCreateTest, SizeHandlingAndBordersFollowTheRandomTrait) {
    EnemyPtr small = MakeEnemy(36);
    EXPECT_EQ(small->size, 36.0f);
    EXPECT_EQ(small->half, 18.0f);
    EXPECT_EQ(small->rot_accuracy,
              static_cast<float>(double{0.995f} - double{0.095f} * small->random));
    EXPECT_EQ(small->max_speed, static_cast<float>(double{1.2f} - double{0.6f} * small->random));
    EXPECT_EQ(std::vector<int>(small->borders, small->borders + 4),
              (std::vector<int>{1269, 489, 10, 10}));
    EnemyPtr big = MakeEnemy(40);
    EXPECT_EQ(big->size, 40.0f);
    EXPECT_LT(big->max_speed, small->max_speed);  // bigger ships are slower
    EXPECT_LT(big->rot_accuracy, small->rot_accuracy);
    EXPECT_EQ(std::vector<int>(big->borders, big->borders + 4),
              (std::vector<int>{1267, 487, 12, 12}));
    EXPECT_EQ(Objects().enemies.Count(), 2);
    EXPECT_EQ(Objects().enemies.Last(), big);
}

TEST_F(EnemyCreateTest, CreationReseedsAndJittersRedAndGreenOnly) {
    FixClock(4242);
    EnemyPtr e = enemy::Create(3, 7, 1, -2, 170, 210, 255, 0);
    SeedRandom(4242);
    const float jr = RandomFloat(), jg = RandomFloat(), trait = RandomFloat();
    EXPECT_EQ(e->col.r, 170 * (double{0.8f} + double{0.2f} * jr));
    EXPECT_EQ(e->col.g, 210 * (double{0.8f} + double{0.2f} * jg));
    EXPECT_EQ(e->col.b, 255.0);
    EXPECT_EQ(e->random, trait);
    EXPECT_EQ(RandomState(), [] {
        SeedRandom(4242);
        for (int i = 0; i < 3; ++i)
            RandomFloat();
        return RandomState();
    }());
    EXPECT_EQ(e->pos.x, 3.0);
    EXPECT_EQ(e->pos.y, 7.0);
    EXPECT_EQ(e->vel.x, 1.0);
    EXPECT_EQ(e->vel.y, -2.0);
    EXPECT_EQ(e->carrier, 1);  // every new ship starts with the token
    EXPECT_EQ(e->carrier_count, 20);
}

TEST_F(EnemyCreateTest, TheDomeIsAWhiteHemisphereAndItsShadowTheDomeSoftenedAtHalfOpacity) {
    // Within one unit: the model is in double, the sprite's reals in float.
    for (const int size : {36, 43, 49}) {
        EnemyPtr e = MakeEnemy(size);
        const PixmapPtr shadow = e->shadow->pixmaps[0];
        for (int x = 0; x < size; ++x) {
            for (int y = 0; y < size; ++y) {
                ASSERT_NEAR(Alpha(e->ship_pix, x, y), 255 * Dome(x, y, size), 1)
                    << size << ": " << x << "," << y;
                ASSERT_EQ(e->ship_pix->ReadPixel(x, y) & 0xFFFFFF, 0xFFFFFFu);  // tinted when drawn
                ASSERT_NEAR(Alpha(shadow, x, y), 128 * SoftDome(x, y, size), 1)
                    << size << ": " << x << "," << y;
                ASSERT_EQ(shadow->ReadPixel(x, y) & 0xFFFFFF, 0u);
            }
        }
    }
}

TEST_F(EnemyCreateTest, DomeSpriteOfSize40) {
    EnemyPtr e = MakeEnemy(40);
    ASSERT_TRUE(e->ship && e->ship_pix && e->shadow);
    EXPECT_EQ(e->ship->width, 40);
    EXPECT_EQ(e->ship->handle_x, 20.0f);
    EXPECT_EQ(e->ship->pixmaps[0], e->ship_pix);
    // Far from a truncation boundary, so exact.
    EXPECT_EQ(Alpha(e->ship_pix, 20, 20), 255u);
    EXPECT_EQ(Alpha(e->ship_pix, 19, 20), 254u);
    EXPECT_EQ(Alpha(e->ship_pix, 20, 8), 71u);
    EXPECT_EQ(Alpha(e->ship_pix, 32, 20), 71u);
    EXPECT_EQ(Alpha(e->ship_pix, 20, 7), 0u);
    EXPECT_EQ(Alpha(e->ship_pix, 33, 20), 0u);
    ASSERT_EQ(e->bump.size(), 1600u);
    EXPECT_EQ(e->bump[20 + 20 * 40], 1.0f);
    EXPECT_EQ(e->paint, FloatField(1600, 0.0f));
    EXPECT_TRUE(e->normx.empty() && e->normy.empty() && e->normz.empty());
}

TEST_F(EnemyCreateTest, ShipsMadeWithinOneMillisecondAreIdentical) {
    FixClock(777);
    EnemyPtr a = enemy::Create(0, 0, 0, 0, 170, 210, 255, 0);
    EnemyPtr b = enemy::Create(0, 0, 0, 0, 170, 210, 255, 0);
    EXPECT_EQ(a->size, b->size);
    EXPECT_EQ(a->random, b->random);
    EXPECT_EQ(a->col.r, b->col.r);
    EXPECT_EQ(a->col.g, b->col.g);
    EXPECT_EQ(a->bump, b->bump);
    const int S = FloatToInt(a->size);
    for (int x = 0; x < S; ++x)
        for (int y = 0; y < S; ++y)
            ASSERT_EQ(a->shadow->pixmaps[0]->ReadPixel(x, y),
                      b->shadow->pixmaps[0]->ReadPixel(x, y));
    FixClock(778);
    EnemyPtr c = enemy::Create(0, 0, 0, 0, 170, 210, 255, 0);
    EXPECT_NE(c->col.r, a->col.r);
}

TEST_F(EnemyCreateTest, OtherKindsHaveNoSizeAndNoSprites) {
    EnemyPtr e = enemy::Create(100, 100, 0, 0, 170, 210, 255, 1);
    EXPECT_EQ(e->size, 0.0f);
    EXPECT_EQ(e->max_speed, 0.0f);
    EXPECT_FALSE(e->ship || e->shadow || e->ship_pix);
    EXPECT_TRUE(e->bump.empty());
    EXPECT_EQ(std::vector<int>(e->borders, e->borders + 4), (std::vector<int>{1280, 500, 0, 0}));
    // Such a ship still moves, draws (nothing of its own) and leaves a trail.
    EXPECT_EQ(enemy::update(640, 250, 0, 1), 0);
    EXPECT_EQ(Objects().trails.Count(), 2);  // exhaust and token
    e->size = 0.5f;                          // a fraction of a pixel builds nothing either
    EXPECT_EQ(e->generatealt(), 0);
    EXPECT_FALSE(e->ship);
}
}  // namespace

// The height field keeps double precision between the stored floats u, v and h, for every
// ship size; a float quotient or root changes the last bits of some samples of each size.
TEST_F(EnemyCreateTest, TheHeightFieldIsRoundedToFloatOnlyWhereItIsStored) {
    for (int size = 36; size <= 49; ++size) {
        EnemyPtr e = MakeEnemy(size);
        const double half = e->half;
        int samples = 0;
        for (int x = 0; x < size; ++x) {
            for (int y = 0; y < size; ++y) {
                const float u = float(double{1.6f} * x + (size - double{1.3f} * size));
                const float v = float(double{1.6f} * y + (size - double{1.3f} * size));
                const double nu = (half - u) / half, nv = (half - v) / half;
                const double d = Sqrt(nu * nu + nv * nv);
                const float h = std::clamp(float(1 - Pow(d, 2)), 0.0f, 1.0f);
                ASSERT_EQ(e->bump[x + y * size], float(Pow(h, 0.5)))
                    << "size " << size << " at " << x << "," << y;
                samples += h > 0 && h < 1;
            }
        }
        EXPECT_GT(samples, size * size / 4) << "the dome covers a quarter of the sprite";
        Objects().enemies.Clear();
    }
}
