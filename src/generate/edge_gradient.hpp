// The radial edge gradient the vignette and the lattice share: three draws per pixel.
// Private to the backdrop generators; depends on numbers.hpp.
#pragma once

#include "generate/generate_util.hpp"

namespace gen {

// Number of generator steps one gradient pixel consumes.
constexpr int kGradientDraws = 3;

// Alpha of pixel (x, y) of a w x h gradient: jittered squared distance from the centre,
// scaled to 255 and dithered by the fractional part. Draws fx's, fy's, then the dither's.
inline int EdgeGradient(float x, float y, int w, int h, LocalRandom& rng) {
    const float fx = static_cast<float>((x - w * Single(0.5f)) / w * JitterX(rng.Float()));
    // A float's square is exact in double, so it equals Pow(r, 2) and costs far less.
    const double r2 = rng.Float();
    const double fy = (y - h * Single(0.5f)) / h * (Single(0.95f) + r2 * r2 * Single(0.1f));
    float v = static_cast<float>((static_cast<double>(fx) * fx + fy * fy) * 255);
    const float r = rng.Float();
    if (r < v - FloorOf(v)) v = static_cast<float>(v + 1.0);
    return ToInt(v);
}

}  // namespace gen
