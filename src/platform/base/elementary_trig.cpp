// Sine and cosine in radians: the argument is reduced to r in [-pi/4, pi/4] and a quadrant,
// exactly enough that r keeps about 100 correct bits; a table of sines and cosines of j/64 and
// short series in the remainder give the result before its one final rounding.
#include <cstdint>
#include <limits>

#include "platform/base/double_double.hpp"
#include "platform/base/elementary.hpp"
#include "platform/base/elementary_tables.hpp"
#include "platform/base/numbers.hpp"

namespace elementary {
namespace {
using dd::DD;

// pi/2 as three 33-bit pieces and a 53-bit tail: k * piece is exact for k < 2^20.
constexpr double kPio2Piece1 = 0x1.921fb544p+0;
constexpr double kPio2Piece2 = 0x1.0b4611a6p-34;
constexpr double kPio2Piece3 = 0x1.3198a2ep-69;
constexpr double kPio2Piece4 = 0x1.b839a252049c1p-104;
constexpr DD kPio2 = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
constexpr double kTwoOverPi = 0x1.45f306dc9c883p-1;
constexpr double kMediumLimit = 0x1p20;   // below it, k < 2^20
constexpr double kRoundShift = 0x1.8p52;  // adding and subtracting it rounds to an integer

// The binary digits of 2/pi after the point, 32 to a word: enough for any double's exponent.
constexpr uint32_t kTwoOverPiWords[] = {
    0xa2f9836e, 0x4e441529, 0xfc2757d1, 0xf534ddc0, 0xdb629599, 0x3c439041, 0xfe5163ab, 0xdebbc561,
    0xb7246e3a, 0x424dd2e0, 0x06492eea, 0x09d1921c, 0xfe1deb1c, 0xb129a73e, 0xe88235f5, 0x2ebb4484,
    0xe99c7026, 0xb45f7e41, 0x3991d639, 0x835339f4, 0x9c845f8b, 0xbdf9283b, 0x1ff897ff, 0xde05980f,
    0xef2f118b, 0x5a0a6d1f, 0x6d367ecf, 0x27cb09b7, 0x4f463f66, 0x9e5fea2d, 0x7527bac7, 0xebe5f17b,
    0x3d0739f7, 0x8a5292ea, 0x6bfb5fb1, 0x1f8d5d08, 0x56033046, 0xfc7b6bab, 0xf0cfbc20, 0x9af4361d,
    0xa9e39161, 0x5ee61b08, 0x6599855f, 0x14a06840, 0x8dffd880, 0x4d732731, 0x06061556, 0xca73a8c9};
constexpr int kWindowWords = 7;  // words of 2/pi multiplied by the mantissa

struct Reduced {
    int quadrant;  // 0..3
    DD r;
};

// x = k * pi/2 + r by subtracting k times each piece of pi/2; the first step is exact.
Reduced ReduceMedium(double x) {
    const double k = (x * kTwoOverPi + kRoundShift) - kRoundShift;
    DD r = dd::TwoSum(x - k * kPio2Piece1, -(k * kPio2Piece2));
    r = dd::Add(r, -(k * kPio2Piece3));
    r = dd::Add(r, dd::Neg(dd::TwoProd(k, kPio2Piece4)));
    return {static_cast<int>(static_cast<int64_t>(k) & 3), r};
}

// 32 bits of the little-endian limb number `limbs` starting at bit `pos` (pos >= 0).
uint32_t BitsAt(const uint32_t* limbs, int pos) {
    const int word = pos / 32, shift = pos % 32;
    if (shift == 0) return limbs[word];
    return (limbs[word] >> shift) | (limbs[word + 1] << (32 - shift));
}

// For |x| >= 2^20: x * 2/pi modulo 4 from the mantissa times a window of the digits of 2/pi in
// integer arithmetic, the digits before the window adding only multiples of 4.
Reduced ReduceLarge(double ax) {
    const uint64_t bits = BitCast<uint64_t>(ax);
    const int e = static_cast<int>(bits >> 52) - 1075;  // ax = m * 2^e, e >= -32
    const uint64_t m = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
    const int first = e >= 2 ? (e - 2) / 32 : 0;
    const uint64_t m_parts[2] = {m & 0xFFFFFFFF, m >> 32};
    uint64_t acc[kWindowWords + 3] = {};
    for (int i = 0; i < kWindowWords; ++i) {
        const uint64_t w = kTwoOverPiWords[first + i];
        for (int h = 0; h < 2; ++h) {
            const uint64_t p = m_parts[h] * w;
            const int at = kWindowWords - 1 - i + h;
            acc[at] += p & 0xFFFFFFFF;
            acc[at + 1] += p >> 32;
        }
    }
    uint32_t limbs[kWindowWords + 3];
    uint64_t carry = 0;
    for (int i = 0; i < kWindowWords + 3; ++i) {
        const uint64_t v = acc[i] + carry;
        limbs[i] = static_cast<uint32_t>(v);
        carry = v >> 32;
    }
    const int point = 32 * (first + kWindowWords) - e;  // bits of the product after the point
    int quadrant = static_cast<int>(BitsAt(limbs, point) & 3);
    uint32_t f[5];
    for (int i = 0; i < 5; ++i)
        f[i] = BitsAt(limbs, point - 32 * (i + 1));
    const bool upper_half = (f[0] >> 31) != 0;
    if (upper_half) {  // take the fraction as f - 1, to keep |r| <= pi/4
        quadrant = (quadrant + 1) & 3;
        for (uint32_t& w : f)
            w = ~w;
    }
    DD frac = dd::TwoSum(f[0] * 0x1p-32, f[1] * 0x1p-64);
    frac = dd::Add(frac, f[2] * 0x1p-96);
    frac = dd::Add(frac, f[3] * 0x1p-128);
    frac = dd::Add(frac, (f[4] + (upper_half ? 1.0 : 0.0)) * 0x1p-160);
    const DD r = dd::Mul(frac, kPio2);
    return {quadrant, upper_half ? dd::Neg(r) : r};
}

Reduced Reduce(double x) {
    if (x > -kMediumLimit && x < kMediumLimit) return ReduceMedium(x);
    const Reduced a = ReduceLarge(x < 0 ? -x : x);
    if (x > 0) return a;
    return {(4 - a.quadrant) & 3, dd::Neg(a.r)};
}

// cos h - 1 and sin h - h for h = hh + hl, |h| <= 1/128 and hl below an ulp of hh; the terms
// left out stay below 2^-70 of the results they enter.
struct SmallAngle {
    double cos_m1;
    double sin_m;
};

SmallAngle Small(double hh, double hl) {
    const double z = hh * hh;
    return {z * (-0.5 + z * (1.0 / 24 - z * (1.0 / 720))) - hh * hl,
            hh * z * (-1.0 / 6 + z * (1.0 / 120 - z * (1.0 / 5040)))};
}

// sin r, or cos r, for |r| <= pi/4 (a little more is fine): with a = j/64 the table angle
// nearest |r| and h = |r| - a, sin(a + h) = S + C h + S (cos h - 1) + C (sin h - h) and
// cos(a + h) = C - S h + C (cos h - 1) - S (sin h - h), the leading sum in double-double.
double SinOrCos(DD r, bool cosine) {
    const bool negative = r.hi < 0;
    const double a_hi = negative ? -r.hi : r.hi, a_lo = negative ? -r.lo : r.lo;
    const int j = static_cast<int>(a_hi * 64 + 0.5);
    const double hh = a_hi - j * 0x1p-6;  // exact
    const SmallAngle s = Small(hh, a_lo);
    double result;
    if (j == 0) {
        result = cosine ? 1 + s.cos_m1 : a_hi + (a_lo + s.sin_m);
    } else {
        const SinCosEntry& e = kSinCosTable[j];
        const DD f = cosine ? e.cos : e.sin;
        const DD g = cosine ? dd::Neg(e.sin) : e.cos;  // the derivative
        const DD p = dd::TwoProd(g.hi, hh);
        const double t = (g.hi * a_lo + g.lo * hh) + f.hi * s.cos_m1 + g.hi * s.sin_m + f.lo;
        const DD u = dd::TwoSum(f.hi, p.hi);
        result = u.hi + (u.lo + (p.lo + t));
    }
    return negative && !cosine ? -result : result;
}

constexpr double kTiny = 0x1p-27;  // below it sin x rounds to x and cos x to 1

bool IsFinite(double x) {
    return x - x == 0;
}

// The quadrant's sine (or cosine, one quadrant further) of the reduced argument.
double SinOfQuadrant(int quadrant, DD r) {
    switch (quadrant) {
        case 0:
            return SinOrCos(r, false);
        case 1:
            return SinOrCos(r, true);
        case 2:
            return -SinOrCos(r, false);
        default:
            return -SinOrCos(r, true);
    }
}
}  // namespace

double Sin(double x) {
    if (!IsFinite(x)) return std::numeric_limits<double>::quiet_NaN();
    if (x > -kTiny && x < kTiny) return x;
    const Reduced a = Reduce(x);
    return SinOfQuadrant(a.quadrant, a.r);
}

double Cos(double x) {
    if (!IsFinite(x)) return std::numeric_limits<double>::quiet_NaN();
    if (x > -kTiny && x < kTiny) return 1.0;
    const Reduced a = Reduce(x);
    return SinOfQuadrant((a.quadrant + 1) & 3, a.r);
}

}  // namespace elementary
