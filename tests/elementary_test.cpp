// The game's own sine, cosine, arc sine and power against MPFR, the multiple-precision
// reference, over a million arguments each: every result within one ulp, nearly all correctly
// rounded. Then the IEEE special cases of pow, and the degree wrappers.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "elementary_inputs.hpp"
#include "platform/base/elementary.hpp"
#include "platform/base/numbers.hpp"

namespace {
using elementary_inputs::PowArgs;

// Sanitized builds run a tenth of the arguments.
#ifdef ORB_CHECKED
constexpr int kCount = 100000;
#else
constexpr int kCount = 1000000;
#endif
// Allowed share of results one ulp off the correctly rounded one (all stay below one ulp).
constexpr double kMaxMisroundedShare = 1e-4;

struct Tally {
    double max_ulps = 0.5;  // a correctly rounded result is within half an ulp
    double worst_x = 0, worst_y = 0;
    long misrounded = 0;
    long count = 0;
};

enum class Op { kSin, kCos, kAsin, kPow };

// Correctly rounded doubles from MPFR: 53 bits in the double exponent range, subnormals
// rounded as such. Only a result that differs is measured again, in ulps, at 128 bits.
class Reference {
  public:
    Reference() {
        mpfr_inits2(53, x_, y_, sin_, cos_, static_cast<mpfr_ptr>(nullptr));
        mpfr_inits2(128, wide_, diff_, static_cast<mpfr_ptr>(nullptr));
    }
    ~Reference() { mpfr_clears(x_, y_, sin_, cos_, wide_, diff_, static_cast<mpfr_ptr>(nullptr)); }
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;

    // Both correctly rounded at once, for |x| >= 2^-1000 (no subnormal results).
    void SinCos(double x, double& sin, double& cos) {
        DoubleRange range;
        mpfr_set_d(x_, x, MPFR_RNDN);
        mpfr_sin_cos(sin_, cos_, x_, MPFR_RNDN);
        sin = mpfr_get_d(sin_, MPFR_RNDN);
        cos = mpfr_get_d(cos_, MPFR_RNDN);
    }
    double Rounded(Op op, double x, double y) {
        DoubleRange range;
        const int inexact = Evaluate(op, sin_, x, y);
        mpfr_subnormalize(sin_, inexact, MPFR_RNDN);
        return mpfr_get_d(sin_, MPFR_RNDN);
    }
    // Counts `got` against the correctly rounded `rounded`.
    void Count(Op op, double got, double rounded, double x, double y, Tally& t) {
        ++t.count;
        if (std::isnan(rounded) && std::isnan(got)) return;
        if (got == rounded && std::signbit(got) == std::signbit(rounded)) return;
        ++t.misrounded;
        const double ulps = UlpsOff(op, got, x, y);
        if (ulps > t.max_ulps) {
            t.max_ulps = ulps;
            t.worst_x = x;
            t.worst_y = y;
        }
    }

  private:
    // MPFR's exponent range narrowed to the double's while alive.
    class DoubleRange {
      public:
        DoubleRange() : emin_(mpfr_get_emin()), emax_(mpfr_get_emax()) {
            mpfr_set_emin(-1073);
            mpfr_set_emax(1024);
        }
        ~DoubleRange() {
            mpfr_set_emin(emin_);
            mpfr_set_emax(emax_);
        }

      private:
        mpfr_exp_t emin_, emax_;
    };

    int Evaluate(Op op, mpfr_ptr out, double x, double y) {
        mpfr_set_d(x_, x, MPFR_RNDN);
        mpfr_set_d(y_, y, MPFR_RNDN);
        switch (op) {
            case Op::kSin:
                return mpfr_sin(out, x_, MPFR_RNDN);
            case Op::kCos:
                return mpfr_cos(out, x_, MPFR_RNDN);
            case Op::kAsin:
                return mpfr_asin(out, x_, MPFR_RNDN);
            default:
                return mpfr_pow(out, x_, y_, MPFR_RNDN);
        }
    }
    // |got - exact| in ulps of the exact value (subnormal ulps at the bottom).
    double UlpsOff(Op op, double got, double x, double y) {
        if (!std::isfinite(got)) return std::numeric_limits<double>::infinity();
        Evaluate(op, wide_, x, y);
        if (!mpfr_number_p(wide_)) return std::numeric_limits<double>::infinity();
        mpfr_sub_d(diff_, wide_, got, MPFR_RNDN);
        const long e = mpfr_zero_p(wide_) ? -1074 : mpfr_get_exp(wide_) - 53;
        mpfr_mul_2si(diff_, diff_, -(e < -1074 ? -1074 : e), MPFR_RNDN);
        return std::fabs(mpfr_get_d(diff_, MPFR_RNDN));
    }

    mpfr_t x_, y_, sin_, cos_, wide_, diff_;
};

void Report(const char* name, const Tally& t) {
    if (t.misrounded == 0)
        std::printf("%-4s %ld arguments: all correctly rounded\n", name, t.count);
    else
        std::printf("%-4s %ld arguments: %ld not correctly rounded, max error %.3f ulp at %a, %a\n",
                    name, t.count, t.misrounded, t.max_ulps, t.worst_x, t.worst_y);
    EXPECT_LT(t.max_ulps, 1.0) << name << " at " << t.worst_x << ", " << t.worst_y;
    EXPECT_LE(t.misrounded, static_cast<long>(kMaxMisroundedShare * t.count)) << name;
}

TEST(ElementaryTest, SineAndCosineWithinOneUlp) {
    Reference ref;
    Tally sin, cos;
    for (double x : elementary_inputs::TrigArguments(kCount)) {
        double exact_sin, exact_cos;
        ref.SinCos(x, exact_sin, exact_cos);
        ref.Count(Op::kSin, elementary::Sin(x), exact_sin, x, 0, sin);
        ref.Count(Op::kCos, elementary::Cos(x), exact_cos, x, 0, cos);
    }
    Report("sin", sin);
    Report("cos", cos);
}

TEST(ElementaryTest, ArcSineWithinOneUlp) {
    Reference ref;
    Tally asin;
    for (double x : elementary_inputs::AsinArguments(kCount)) {
        ref.Count(Op::kAsin, elementary::ASin(x), ref.Rounded(Op::kAsin, x, 0), x, 0, asin);
    }
    Report("asin", asin);
}

TEST(ElementaryTest, PowerWithinOneUlp) {
    Reference ref;
    Tally pow;
    for (const PowArgs& a : elementary_inputs::PowArguments(kCount)) {
        const double exact = ref.Rounded(Op::kPow, a.x, a.y);
        ref.Count(Op::kPow, elementary::Pow(a.x, a.y), exact, a.x, a.y, pow);
    }
    Report("pow", pow);
}

TEST(ElementaryTest, NonFiniteAndOutOfDomainArguments) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double x : {inf, -inf, nan}) {
        EXPECT_TRUE(std::isnan(elementary::Sin(x))) << x;
        EXPECT_TRUE(std::isnan(elementary::Cos(x))) << x;
        EXPECT_TRUE(std::isnan(elementary::ASin(x))) << x;
    }
    for (double x : {1.0000000000000002, -1.0000000000000002, 2.0, -inf})
        EXPECT_TRUE(std::isnan(elementary::ASin(x))) << x;
    EXPECT_TRUE(std::signbit(elementary::Sin(-0.0)));
    EXPECT_TRUE(std::signbit(elementary::ASin(-0.0)));
    EXPECT_EQ(elementary::ASin(1), 0x1.921fb54442d18p+0);
    EXPECT_EQ(elementary::Sin(0x1p-1074), 0x1p-1074);
}

// pow's special cases as IEEE 754 and C define them.
TEST(ElementaryTest, PowerSpecialCases) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    using elementary::Pow;
    const auto same = [](double a, double b) {
        return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
    };
    struct Case {
        double x, y, expected;
    };
    const Case cases[] = {
        {nan, 0.0, 1},
        {nan, -0.0, 1},
        {1, nan, 1},
        {1, inf, 1},
        {-1, inf, 1},
        {-1, -inf, 1},
        {nan, 2, nan},
        {2, nan, nan},
        {0.0, 3, 0.0},
        {-0.0, 3, -0.0},
        {-0.0, 2, 0.0},
        {-0.0, 0.5, 0.0},
        {0.0, -3, inf},
        {-0.0, -3, -inf},
        {-0.0, -2, inf},
        {-0.0, -inf, inf},
        {0.5, inf, 0.0},
        {0.5, -inf, inf},
        {2, inf, inf},
        {2, -inf, 0.0},
        {-2, inf, inf},
        {-0.5, inf, 0.0},
        {inf, 0.5, inf},
        {inf, -2, 0.0},
        {-inf, 3, -inf},
        {-inf, 2, inf},
        {-inf, 0.5, inf},
        {-inf, -3, -0.0},
        {-inf, -2, 0.0},
        {-2, 3, -8},
        {-2, 2, 4},
        {-2, -1, -0.5},
        {-0.5, 2.5, nan},
        {-8, 1.0 / 3, nan},
        {-3, 0x1p60, inf},
        {-0.5, 0x1p60, 0.0},
        {2, 1024, inf},
        {2, -1075, 0.0},
        {2, -1074, 0x1p-1074},
        {10, 400, inf},
        {1.0000000000000002, 1e300, inf},
        {0.9999999999999999, 1e300, 0.0},
        {4, 0.5, 2},
        {9, 1.5, 27},
        {16, 0.25, 2},
        {0.25, -0.5, 2},
    };
    for (const Case& c : cases)
        EXPECT_PRED2(same, Pow(c.x, c.y), c.expected) << c.x << " ^ " << c.y;
}

// The wrappers convert degrees with exactly these factors before the radian kernels.
TEST(ElementaryTest, DegreeWrappersUseTheKernels) {
    for (int d = -360; d <= 360; ++d) {
        EXPECT_EQ(Sin(d), elementary::Sin(d * kDegToRad)) << d;
        EXPECT_EQ(Cos(d), elementary::Cos(d * kDegToRad)) << d;
    }
    for (double x : {-1.0, -0.5, 0.3, 0.99})
        EXPECT_EQ(ASin(x), elementary::ASin(x) * kRadToDeg) << x;
    EXPECT_EQ(Sin(180), 0x1.1a62633145c07p-53);  // sin of the double nearest pi
    EXPECT_EQ(Cos(90), 0x1.1a62633145c07p-54);
    EXPECT_EQ(Pow(3, 4), 81.0);
}
}  // namespace
