// Arc sine in radians. Up to 1/2 the Taylor series of asin converges by a factor 4 a term;
// above, asin x = pi/2 - 2 asin(sqrt((1 - x) / 2)) brings the argument back below 1/2.
#include <iterator>
#include <limits>

#include "platform/base/double_double.hpp"
#include "platform/base/elementary.hpp"

namespace elementary {
namespace {
using dd::DD;

constexpr DD kPio2 = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};

// The series' coefficients (2n)! / (4^n (n!)^2 (2n + 1)): the first three in double-double,
// then n = 4..31 (the rest stays below 2^-71 of the result for |s| <= 1/2).
constexpr DD kC1 = {0x1.5555555555555p-3, 0x1.5555555555555p-57};
constexpr DD kC2 = {0x1.3333333333333p-4, 0x1.999999999999ap-59};
constexpr DD kC3 = {0x1.6db6db6db6db7p-5, -0x1.2492492492492p-60};
constexpr double kTail[] = {
    0x1.f1c71c71c71c7p-6,  0x1.6e8ba2e8ba2e9p-6, 0x1.1c4ec4ec4ec4fp-6,  0x1.c99999999999ap-7,
    0x1.7a87878787878p-7,  0x1.3fde50d79435ep-7, 0x1.12ef3cf3cf3cfp-7,  0x1.df3bd37a6f4dfp-8,
    0x1.a6863d70a3d71p-8,  0x1.782dda12f684cp-8, 0x1.51ba308d3dcb1p-8,  0x1.31683bdef7bdfp-8,
    0x1.15ee9d45d1746p-8,  0x1.fcaf8fb6db6dbp-9, 0x1.d3d2a8e0dd67dp-9,  0x1.b026f57b13b14p-9,
    0x1.90cb77f60c7cep-9,  0x1.750de64d7d05fp-9, 0x1.5c5f56efaaaabp-9,  0x1.464c0950f7d47p-9,
    0x1.3275586c5f2fp-9,   0x1.208d3570ae5a6p-9, 0x1.1052bc5fa960ap-9,  0x1.018f963c229bfp-9,
    0x1.e82be60d9127ep-10, 0x1.cf7dea5b6e83p-10, 0x1.b8d2e5667ce6cp-10, 0x1.a3f1ef82137eep-10};
constexpr double kTiny = 0x1p-26;  // below it asin x rounds to x

// asin s for 0 <= s <= 1/2, s in double-double.
DD AsinKernel(DD s) {
    const double z = s.hi * s.hi;
    // The even and the odd coefficients in two independent chains, which run side by side.
    const double z2 = z * z;
    constexpr int n = static_cast<int>(std::size(kTail));
    static_assert(n % 2 == 0);
    double even = kTail[n - 2], odd = kTail[n - 1];
    for (int i = n - 4; i >= 0; i -= 2) {
        even = even * z2 + kTail[i];
        odd = odd * z2 + kTail[i + 1];
    }
    const double tail = even + z * odd;
    const DD ss = dd::Mul(s, s);
    const DD a3 = dd::Add(kC3, z * tail);
    const DD a2 = dd::Add(kC2, dd::Mul(ss, a3));
    const DD a1 = dd::Add(kC1, dd::Mul(ss, a2));
    return dd::Add(s, dd::Mul(dd::Mul(ss, s), a1));
}

}  // namespace

double ASin(double x) {
    const double a = x < 0 ? -x : x;
    if (!(a <= 1)) return std::numeric_limits<double>::quiet_NaN();  // NaN included
    if (a < kTiny) return x;
    double r;
    if (a <= 0.5) {
        r = AsinKernel({a, 0.0}).hi;
    } else {
        const DD s = dd::Sqrt((1 - a) * 0.5);  // both steps exact
        r = dd::Add(kPio2, dd::Neg(dd::Mul(AsinKernel(s), 2.0))).hi;
    }
    return x < 0 ? -r : r;
}

}  // namespace elementary
