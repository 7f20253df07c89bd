// The random generator's sequences and the numeric helpers, value for value.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/base/numbers.hpp"

namespace {
class NumbersTest : public ::testing::Test {
  protected:
    void SetUp() override { SeedRandom(kRandomStartState); }
};

TEST_F(NumbersTest, StepsFromStartStateAndFromOne) {
    EXPECT_EQ(RandomState(), 4660);
    EXPECT_EQ(RandomNext(4660), 224942860);
    EXPECT_EQ(RandomNext(224942860), 539475828);
    EXPECT_EQ(RandomNext(539475828), 650989866);
    EXPECT_EQ(RandomNext(1), 48271);
    EXPECT_EQ(RandomNext(48271), 182605794);
    EXPECT_EQ(RandomNext(182605794), 1291394886);
}

TEST_F(NumbersTest, StepMatchesModularProductEverywhere) {
    for (int64_t s : {1LL, 2LL, 44487LL, 44488LL, 44489LL, 1000000007LL, 2147483646LL}) {
        EXPECT_EQ(RandomNext(static_cast<int32_t>(s)), s * 48271 % 2147483647) << s;
    }
}

TEST_F(NumbersTest, JumpEqualsRepeatedSteps) {
    int32_t s = 4660;
    for (int n = 0; n < 1000; ++n) {
        ASSERT_EQ(RandomJump(4660, n), s) << n;
        s = RandomNext(s);
    }
    EXPECT_EQ(RandomJump(RandomJump(77, 123456), 654321), RandomJump(77, 777777));
}

TEST_F(NumbersTest, FloatAndDoubleReadings) {
    EXPECT_FLOAT_EQ(RandomFloat(), 0.8379774f);
    EXPECT_NEAR(RandomFloat(), 0.0097041, 1e-7);
    EXPECT_NEAR(RandomFloat(), 0.4251262, 1e-7);
    SeedRandom(kRandomStartState);
    EXPECT_NEAR(RandomDouble(), 0.4189887, 1e-7);
    EXPECT_EQ(RandomState(), 539475828);  // two steps
    EXPECT_EQ(RandomFloatOf(0x7FFFFFFF), 1.0f - std::ldexp(1.0f, -24));
}

TEST_F(NumbersTest, SeedsThatAreFixedPointsFallBack) {
    for (int seed : {0, -1, 0x7FFFFFFF, std::numeric_limits<int>::min()}) {
        SeedRandom(12345);
        SeedRandom(seed);
        EXPECT_EQ(RandomState(), 4660) << seed;
    }
    SeedRandom(-5);  // only the sign bit is dropped
    EXPECT_EQ(RandomState(), 0x7FFFFFFB);
}

TEST_F(NumbersTest, RandomIntIsOrderIndependentAndConsumesTwoSteps) {
    int forward[5], backward[5];
    for (int& v : forward)
        v = RandomInt(1, 6);
    SeedRandom(kRandomStartState);
    for (int& v : backward)
        v = RandomInt(6, 1);
    const int expected[5] = {3, 2, 5, 1, 4};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(forward[i], expected[i]);
        EXPECT_EQ(backward[i], expected[i]);
    }
    SeedRandom(kRandomStartState);
    EXPECT_EQ(RandomInt(5, 5), 5);
    EXPECT_EQ(RandomState(), RandomJump(4660, 2));
    EXPECT_EQ(RandomRange(2.0, 2.0), 2.0);
}

TEST_F(NumbersTest, RandomIntCoversBothBoundsAndExtremeArguments) {
    bool low = false, high = false;
    for (int i = 0; i < 2000; ++i) {
        const int v = RandomInt(0, 3);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 3);
        low |= v == 0;
        high |= v == 3;
    }
    EXPECT_TRUE(low && high);
    const int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    for (int i = 0; i < 100; ++i)
        RandomInt(lo, hi);  // no signed overflow under the sanitizer
}

TEST_F(NumbersTest, RandomRangeKeepsBetweenBoundsInEitherOrder) {
    for (int i = 0; i < 100; ++i) {
        const double a = RandomRange(3.0, -1.0);
        EXPECT_GE(a, -1.0);
        EXPECT_LT(a, 3.0);
    }
}

TEST(FloatToIntTest, TruncatesAndIsDefinedEverywhere) {
    EXPECT_EQ(FloatToInt(2.7), 2);
    EXPECT_EQ(FloatToInt(-2.7), -2);
    EXPECT_EQ(FloatToInt(-0.5), 0);
    EXPECT_EQ(FloatToInt(-0.999), 0);
    EXPECT_EQ(FloatToInt(255.9999), 255);
    EXPECT_EQ(FloatToInt(std::nan("")), 0);
    EXPECT_EQ(FloatToInt(std::numeric_limits<double>::infinity()), 2147483647);
    EXPECT_EQ(FloatToInt(-std::numeric_limits<double>::infinity()), -2147483647 - 1);
    EXPECT_EQ(FloatToInt(1e300), 2147483647);
    EXPECT_EQ(FloatToInt(-1e300), -2147483647 - 1);
    EXPECT_EQ(FloatToInt(2147483646.9), 2147483646);
    EXPECT_EQ(FloatToInt(-2147483648.5), -2147483647 - 1);
}

TEST(DegreesTest, TrigonometryInDegrees) {
    EXPECT_EQ(Sin(90), 1.0);
    EXPECT_EQ(Cos(180), -1.0);
    EXPECT_EQ(ASin(1), 90.0);
    EXPECT_EQ(FMod(-7.5, 2), -1.5);
    EXPECT_EQ(Floor(-0.5), -1.0);
    EXPECT_TRUE(std::isnan(Pow(-0.5, 2.5)));
}
}  // namespace
