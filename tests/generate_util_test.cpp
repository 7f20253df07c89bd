// The generators' inlined numeric shortcuts give exactly what the game's helpers give.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "generate/generate_util.hpp"

namespace {
TEST(GenerateUtilTest, ToIntAndFloorOfMatchTheGameHelpers) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double x : {0.0,
                     -0.0,
                     0.5,
                     -0.5,
                     2.7,
                     -2.7,
                     255.9999,
                     -0.999,
                     1e9,
                     -1e9,
                     2147483646.9,
                     2147483647.0,
                     2147483647.5,
                     3e9,
                     -2147483648.0,
                     -2147483648.5,
                     -3e9,
                     1e300,
                     -1e300,
                     inf,
                     -inf,
                     nan,
                     4503599627370495.5,
                     4503599627370496.0,
                     1e-300}) {
        EXPECT_EQ(gen::ToInt(x), FloatToInt(x)) << x;
        const double f = gen::FloorOf(x), g = Floor(x);
        if (std::isnan(g)) {
            EXPECT_TRUE(std::isnan(f));
        } else {
            EXPECT_EQ(f, g) << x;
            EXPECT_EQ(std::signbit(f), std::signbit(g)) << x;
        }
    }
}

TEST(GenerateUtilTest, FModPositiveEqualsFMod) {
    const auto check = [](double a, double m) {
        const double want = FMod(a, m), got = gen::FModPositive(a, m);
        ASSERT_EQ(got, want) << a << " mod " << m;
        ASSERT_EQ(std::signbit(got), std::signbit(want)) << a;
    };
    for (double m : {36.0, 60.0, 0.7, 256.0}) {
        for (int k = 0; k < 2000; ++k) {
            const double multiple = k * m;
            double below = multiple, above = multiple;
            for (int step = 0; step < 4; ++step) {
                check(below, m);
                check(above, m);
                below = std::nextafter(below, -1.0);
                above = std::nextafter(above, 1e300);
            }
        }
        int32_t state = 4660;
        for (int i = 0; i < 200000; ++i) {
            state = RandomNext(state);
            check(state / 1048576.0, m);
        }
    }
    for (double a : {-0.0, -1.0, -37.5, -1e-300, 1e16, 1e300}) {
        check(a, 36.0);
    }
}

// Every float the generator can return (m / 2^24) gets the factor Pow would give.
TEST(GenerateUtilTest, JitterXEqualsPowForEveryRandomFloat) {
    int mismatches = 0;
    for (int32_t m = 0; m < (1 << 24); ++m) {
        const float r = RandomFloatOf(m << 4);
        const double want = double(0.95f) + Pow(r, 4) * double(0.1f);
        mismatches += gen::JitterX(r) != want;
    }
    EXPECT_EQ(mismatches, 0);
}
}  // namespace
