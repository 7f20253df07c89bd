// The radial edge gradient the vignette and the lattice share: three draws per pixel.
// Private to the backdrop generators; depends on numbers.hpp.
#pragma once

#include <vector>

#include "generate/generate_util.hpp"

namespace gen {

// Number of generator steps one gradient pixel consumes.
constexpr int kGradientDraws = 3;

// (v - n * 0.5) / n: the signed distance of column or row v from the centre, in sizes.
inline double CentreOffset(float v, int n) {
    return (v - n * Single(0.5f)) / n;
}

// CentreOffset of every row 0 .. h-1, computed once for all columns.
inline std::vector<double> RowOffsets(int h) {
    std::vector<double> rows(h);
    for (float y = 0; y < h; y += 1)
        rows[ToInt(y)] = CentreOffset(y, h);
    return rows;
}

// Alpha of the pixel whose column and row offsets are gx and gy: jittered squared distance
// from the centre, scaled to 255 and dithered by the fractional part. Draws fx's jitter,
// fy's jitter, then the dither, in that order.
inline int EdgeGradient(double gx, double gy, LocalRandom& rng) {
    const float fx = static_cast<float>(gx * JitterX(rng.Float()));
    // A float's square is exact in double, so it equals Pow(r, 2) and costs far less.
    const double r2 = rng.Float();
    const double fy = gy * (Single(0.95f) + r2 * r2 * Single(0.1f));
    const float v = static_cast<float>((static_cast<double>(fx) * fx + fy * fy) * 255);
    const float r = rng.Float();
    // Both outcomes are computed so the unpredictable dither picks one without a branch.
    const int plain = ToInt(v), bumped = ToInt(static_cast<float>(v + 1.0));
    return r < v - FloorOf(v) ? bumped : plain;
}

}  // namespace gen
