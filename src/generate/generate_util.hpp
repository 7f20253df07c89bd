// Helpers private to the generators: single-precision constants, a local copy of the random
// generator for column-parallel passes, and running a loop over column ranges on threads.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>

#include "platform/base/base.hpp"
#include "platform/draw/draw.hpp"

namespace gen {

// A single-precision constant as it enters double arithmetic (0.95f -> 0.949999988079071).
constexpr double Single(float v) {
    return v;
}

// One generator step as state * 48271 mod (2^31 - 1), reduced without a division; equal to
// RandomNext for every valid state and cheap enough to inline into pixel loops.
inline int32_t FastRandomNext(int32_t state) {
    const uint64_t product = static_cast<uint64_t>(state) * kRandomMultiplier;
    uint64_t r = (product & kRandomModulus) + (product >> 31);
    if (r >= static_cast<uint64_t>(kRandomModulus)) r -= kRandomModulus;
    return static_cast<int32_t>(r);
}

// The game's generator stepped on a private state: same sequence, no shared writes.
struct LocalRandom {
    int32_t state;
    float Float() {
        state = FastRandomNext(state);
        return RandomFloatOf(state);
    }
};

// FloatToInt inlined for pixel loops: truncation toward zero, NaN gives 0, out-of-range
// values saturate. Same result as FloatToInt for every input.
inline int ToInt(double x) {
    if (x > -2147483648.0 && x < 2147483647.0) return static_cast<int>(x);
    if (x >= 2147483647.0) return 2147483647;
    if (x <= -2147483648.0) return -2147483647 - 1;
    return 0;
}

// Floor inlined for pixel loops; same result as Floor for every input.
inline double FloorOf(double v) {
    if (!(std::fabs(v) < 4503599627370496.0)) return v;  // NaN, infinite or already whole
    const double t = static_cast<double>(static_cast<int64_t>(v));
    if (t == v) return v;  // keeps the sign of a zero
    return t > v ? t - 1 : t;
}

// 0.95 + Pow(r, 4) * 0.1 for a random float r, as the gradient jitters its x distance.
// (r * r)^2 is the correctly rounded fourth power (a float's square is exact in double), and
// Pow is at most a unit in the last place away from it. The sum is monotonic in the power, so
// when the powers one unit either side give the same sum, Pow's gives it too and the costly
// call is skipped; otherwise Pow decides. A test checks this for every float r can be.
inline double JitterX(float r) {
    const auto jitter = [](double p) { return Single(0.95f) + p * Single(0.1f); };
    const double square = static_cast<double>(r) * r;
    const double fourth = square * square;
    const double sum = jitter(fourth);
    if (fourth > 0) {
        const uint64_t bits = BitCast<uint64_t>(fourth);
        if (jitter(BitCast<double>(bits - 1)) == sum && jitter(BitCast<double>(bits + 1)) == sum)
            return sum;
    }
    return jitter(Pow(r, 4));
}

// FMod(a, m) for a >= 0 and a whole m >= 1 without the library loop. n * m is then exact and
// so is the remainder a - n * m once n is right; a quotient rounded up across a multiple of m
// is put right by one step. Anything else takes FMod.
inline double FModPositive(double a, double m) {
    if (!(a >= 0 && a < 1e15 && m >= 1 && m < 1e6 && m == static_cast<int64_t>(m)))
        return FMod(a, m);
    if (a < m) return a;
    double r = a - static_cast<double>(static_cast<int64_t>(a / m)) * m;
    if (r < 0) r += m;
    if (r >= m) r -= m;
    return r;
}

// WritePixel with the RGBA32 case inlined (every generated image is RGBA32); other formats
// go through WritePixel. Same bytes either way.
inline void PutPixel(TPixmap& pix, int x, int y, uint32_t argb) {
    if (pix.format != PIXFMT_RGBA32) {
        pix.WritePixel(x, y, argb);
        return;
    }
    uint8_t* p = pix.pixels + static_cast<ptrdiff_t>(y) * pix.pitch + x * 4;
    p[0] = static_cast<uint8_t>(argb >> 16);
    p[1] = static_cast<uint8_t>(argb >> 8);
    p[2] = static_cast<uint8_t>(argb);
    p[3] = static_cast<uint8_t>(argb >> 24);
}

// Packs alpha and colour bytes into ARGB; the alpha is shifted as a 32-bit value.
inline uint32_t Argb(int a, uint32_t rgb) {
    return static_cast<uint32_t>(a) << 24 | rgb;
}

// Calls fn(begin, end) on `threads` contiguous slices of [0, n); the calling thread runs the
// last slice. With threads <= 1 it is a plain call of fn(0, n).
void ForSlices(int n, int threads, const std::function<void(int, int)>& fn);

// Unit normals of an S x S relief from each sample's right and lower neighbours, with the
// vertical term lean * sqrt(1 - slope); a flat sample gets (0, 0, 1). The last row and
// column are not computed.
void ReliefNormals(const float* height, int S, double lean, float* nx_out, float* ny_out,
                   float* nz_out);

}  // namespace gen
