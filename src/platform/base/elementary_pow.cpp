// x^y as exp(y log x): the logarithm in double-double from a table of 128 intervals and a
// short series, the exponential from a table of 2^(j/64) and a short series, so that the
// product y log x keeps enough bits for the result's one rounding. Exponents that are multiples
// of 1/2, up to 64, multiply in double-double instead; the special cases follow IEEE pow.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "platform/base/double_double.hpp"
#include "platform/base/elementary.hpp"
#include "platform/base/elementary_tables.hpp"
#include "platform/base/numbers.hpp"

namespace elementary {
namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kRoundShift = 0x1.8p52;  // adding and subtracting it rounds to an integer
constexpr uint64_t kMantissa = (uint64_t{1} << 52) - 1;

// ln 2 in pieces of 42, 42 and 53 bits: e * piece is exact for |e| < 2^11.
constexpr double kLn2Piece1 = 0x1.62e42fefa38p-1;
constexpr double kLn2Piece2 = 0x1.ef35793c76p-45;
constexpr double kLn2Piece3 = 0x1.cc01f97b57a07p-87;
// ln 2 / 64 in pieces of 36, 36 and 53 bits: k * piece is exact for |k| < 2^17.
constexpr double kLn2By64Piece1 = 0x1.62e42fefap-7;
constexpr double kLn2By64Piece2 = 0x1.cf79abc9ep-46;
constexpr double kLn2By64Piece3 = 0x1.d9cc01f97b57ap-85;
constexpr double k64ByLn2 = 0x1.71547652b82fep+6;

// log(1 + t) = t - t^2/2 + t^3/3 + t^4 (-1/4 + t/5 - ...) for |t| < 2^-7; 1/13 t^13 < 2^-84 t.
constexpr DD kThird = {0x1.5555555555555p-2, 0x1.5555555555555p-56};
constexpr double kLogTail[] = {-1.0 / 4, 1.0 / 5,   -1.0 / 6, 1.0 / 7,  -1.0 / 8,
                               1.0 / 9,  -1.0 / 10, 1.0 / 11, -1.0 / 12};
// exp r = 1 + r + r^2/2 + r^3 (1/6 + r/24 + ...) for |r| <= ln2/128; then r^9/9! < 2^-83.
constexpr double kExpTail[] = {1.0 / 6, 1.0 / 24, 1.0 / 120, 1.0 / 720, 1.0 / 5040, 1.0 / 40320};

template <int N>
double Horner(const double (&c)[N], double z) {
    double s = c[N - 1];
    for (int i = N - 2; i >= 0; --i)
        s = s * z + c[i];
    return s;
}

DD Half(DD a) {
    return {a.hi * 0.5, a.lo * 0.5};
}

// log x for finite x > 0. x = 2^e m with m in [1, 2); m / c = 1 + t with t small. Just below
// 1, t = x - 1 directly, so that log x keeps its relative precision on both sides of 1.
DD Log(double x) {
    uint64_t bits = BitCast<uint64_t>(x);
    int e = static_cast<int>(bits >> 52) - 1023;
    if ((bits >> 52) == 0) {  // subnormal: scale into the normal range first
        bits = BitCast<uint64_t>(x * 0x1p54);
        e = static_cast<int>(bits >> 52) - 1023 - 54;
    }
    const int i = static_cast<int>((bits >> 45) & 127);
    const double m = BitCast<double>((bits & kMantissa) | (uint64_t{1023} << 52));
    DD t, minus_log = {0.0, 0.0};
    if (e == -1 && i == 127) {
        t = {x - 1, 0.0};  // exact, x in [1 - 2^-8, 1)
        e = 0;
    } else {
        const DD p = dd::TwoProd(m, kLogTable[i].inverse);
        t = dd::TwoSum(p.hi - 1, p.lo);  // p.hi - 1 is exact
        minus_log = kLogTable[i].minus_log;
    }
    const DD tt = dd::Mul(t, t);
    DD l = dd::Add(t, dd::Neg(Half(tt)));
    l = dd::Add(l, dd::Mul(dd::Mul(tt, t), kThird));
    l = dd::Add(l, tt.hi * tt.hi * Horner(kLogTail, t.hi));
    const double ed = e;
    DD result = dd::TwoSum(ed * kLn2Piece1, ed * kLn2Piece2);
    result = dd::Add(result, ed * kLn2Piece3);
    return dd::Add(dd::Add(result, minus_log), l);
}

// 2^n v for v near [1, 2) and n in [-1076, 1024], in steps that keep each factor normal.
double Scale(double v, int n) {
    if (n > 1000) {
        v *= 0x1p1000;
        n -= 1000;
    } else if (n < -1000) {
        v *= 0x1p-1000;
        n += 1000;
    }
    return v * BitCast<double>(static_cast<uint64_t>(n + 1023) << 52);
}

// exp w, rounded once: w = (64 n + j) ln2/64 + r.
double Exp(DD w) {
    if (w.hi > 710) return kInf;
    if (w.hi < -746) return 0.0;
    const double kd = (w.hi * k64ByLn2 + kRoundShift) - kRoundShift;
    DD r = dd::TwoSum(w.hi - kd * kLn2By64Piece1, -(kd * kLn2By64Piece2));  // first step exact
    r = dd::Add(r, w.lo);
    r = dd::Add(r, -(kd * kLn2By64Piece3));
    DD er = dd::Add(DD{1.0, 0.0}, r);
    er = dd::Add(er, Half(dd::Mul(r, r)));
    er = dd::Add(er, r.hi * r.hi * r.hi * Horner(kExpTail, r.hi));
    const int k = static_cast<int>(kd);
    const int j = k & 63;
    return Scale(dd::Mul(er, kExp2Table[j]).hi, (k - j) / 64);
}

// 0: not an integer; 1: odd; 2: even. For finite a >= 0.
int IntegerKind(double a) {
    if (a >= 0x1p53) return 2;
    const uint64_t v = static_cast<uint64_t>(a);
    if (static_cast<double>(v) != a) return 0;
    return (v & 1) != 0 ? 1 : 2;
}

// x^y for y a multiple of 1/2 with 0 < |y| <= 64, as x^n sqrt(x)^(0 or 1) by squaring in
// double-double, while no power leaves [2^-800, 2^800] (beyond, the products would lose their
// low parts).
bool HalfIntegerPower(double x, double y, double& result) {
    const int e = static_cast<int>(BitCast<uint64_t>(x) >> 52) - 1023;
    const double ay = y < 0 ? -y : y;
    if (ay > 64 || e == -1023 || (std::abs(e) + 1) * ay > 800) return false;
    const unsigned twice = static_cast<unsigned>(2 * ay);
    DD power = (twice & 1) != 0 ? dd::Sqrt(x) : DD{1.0, 0.0};
    DD base{x, 0.0};
    for (unsigned bits = twice >> 1; bits != 0; base = dd::Mul(base, base)) {
        if (bits & 1) power = dd::Mul(power, base);
        bits >>= 1;
        if (bits == 0) break;
    }
    if (y < 0) power = dd::Div(DD{1.0, 0.0}, power);
    result = power.hi;
    return true;
}

// x^y for finite x > 0 and finite y != 0.
double PowPositive(double x, double y) {
    if (y == 1) return x;
    if (y == 2) return x * x;
    if (y == -1) return 1 / x;
    if (y == 0.5) return std::sqrt(x);
    double result;
    if (IntegerKind(2 * (y < 0 ? -y : y)) != 0 && HalfIntegerPower(x, y, result)) return result;
    // |log x| >= 2^-54 for x != 1, so such a power is far outside the range.
    if (y > 0x1p64 || y < -0x1p64) return (x > 1) == (y > 0) ? kInf : 0.0;
    return Exp(dd::Mul(Log(x), y));
}
}  // namespace

double Pow(double x, double y) {
    if (y == 0 || x == 1) return 1.0;
    if (x != x || y != y) return x + y;
    const double ax = x < 0 ? -x : x, ay = y < 0 ? -y : y;
    if (ay == kInf) {
        if (ax == 1) return 1.0;
        return (ax < 1) == (y > 0) ? 0.0 : kInf;
    }
    const int kind = IntegerKind(ay);
    const bool negative = (BitCast<uint64_t>(x) >> 63) != 0;
    const bool odd_sign = negative && kind == 1;  // an odd power keeps the base's sign
    if (ax == 0 || ax == kInf) {
        const double magnitude = (ax == 0) == (y < 0) ? kInf : 0.0;
        return odd_sign ? -magnitude : magnitude;
    }
    if (negative && kind == 0) return std::numeric_limits<double>::quiet_NaN();
    const double r = PowPositive(ax, y);
    return odd_sign ? -r : r;
}

}  // namespace elementary
