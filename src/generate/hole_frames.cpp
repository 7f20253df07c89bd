// The 64 stages of a hole opening: per stage an opacity mask and unit normals of a spiral
// funnel relief whose centre opens by 0.7 pixels a stage. Draws no random numbers.
// Depends on numbers.hpp; stages are independent, so they may be built on two threads.
#include <algorithm>

#include "generate/generate_util.hpp"
#include "generate/generators.hpp"

using namespace gen;

namespace {
// What one stage needs besides its index.
struct HoleShape {
    int S;            // hole_size
    double c;         // hole_half
    double spoke;     // hole_spoke_angle
    double rim_fade;  // Pow(c, 0.5): width of the smooth rim fade
};

// What a pixel's relief needs that does not change from stage to stage.
struct PixelGeometry {
    double ux, uy;   // unit direction from the centre (0, 0 at the centre)
    double d;        // distance from the centre
    int rim_mask;    // opacity of the smooth rim fade
    double falloff;  // 0.9 * Pow(1 - d / c, 0.75): the flank's slope toward the rim
};

// The stage-independent part of pixel (x, y).
PixelGeometry Geometry(const HoleShape& g, float x, float y) {
    PixelGeometry p{};
    p.ux = x - g.c, p.uy = y - g.c;
    p.d = p.ux * p.ux + p.uy * p.uy;
    if (p.d != 0) {
        p.d = Sqrt(p.d);
        p.ux = p.ux / p.d, p.uy = p.uy / p.d;
    }
    if (p.d < g.c) {  // smooth fade toward the rim
        double q = (g.c - p.d) / g.rim_fade;
        if (q > 1) q = 1;
        p.rim_mask = ToInt(q * q * (3 - 2 * q) * 255) & 255;
    }
    p.falloff = Single(0.9f) * Pow(1 - p.d / g.c, Single(0.75f));
    return p;
}

// Height of the spiral flank at (x, y), beyond the opening of radius R.
double FlankHeight(const HoleShape& g, const PixelGeometry& p, double x, double y, float R) {
    double px = (x - (p.ux * R + g.c)) / (g.c - R);
    double py = (y - (p.uy * R + g.c)) / (g.c - R);
    const double s2 = px * px + py * py;
    if (!(0 < s2 && s2 <= 1 && p.d <= g.c)) return 0;
    const double s = Sqrt(s2);
    px = px / s, py = py / s;
    double a = ASin(px);
    if (!(py >= 0)) a = 180 - a;
    a = a + (90 + (1 - s) * (40 + R * Single(0.5f)));  // the twist grows toward the opening
    a = FModPositive(a, g.spoke) / g.spoke;
    a = a * Pow(Sin(a * 180), Single(0.3f));  // one sawtooth arm per sector
    return p.falloff + Single(0.1f) * a;
}

// Writes the mask of pixel (x, y) at `mask` and returns its height, for opening radius R.
double ReliefPixel(const HoleShape& g, const PixelGeometry& p, float x, float y, float R,
                   uint8_t& mask) {
    mask = static_cast<uint8_t>(p.rim_mask);
    if (p.d <= R) {  // inside the opening only the lip has height
        double h = (1 - (R - p.d) / 5) * (1 - p.d / g.c);
        if (!(h >= 0)) h = 0;
        h = h * (1 - p.d / g.c);
        mask = static_cast<uint8_t>(ToInt(h * 255) & 255);
        return h;
    }
    return FlankHeight(g, p, x, y, R);
}

// Relief into `height` and mask of stage k.
void StageRelief(const HoleShape& g, const PixelGeometry* geometry, float k, float* height,
                 uint8_t* mask) {
    const int S = g.S;
    const float R = static_cast<float>(k * Single(0.7f));
    for (float x = 0; x < S; x += 1) {
        for (float y = 0; y < S; y += 1) {
            const int at = ToInt(x + static_cast<double>(y) * S);
            height[at] = static_cast<float>(ReliefPixel(g, geometry[at], x, y, R, mask[at]));
        }
    }
}

// Builds stage k (mask and normals), using `height` for its relief.
void BuildStage(Content& s, const HoleShape& g, const PixelGeometry* geometry, float k,
                float* height) {
    const size_t area = static_cast<size_t>(g.S) * g.S;
    const size_t base = static_cast<size_t>(ToInt(k * static_cast<double>(area)));
    StageRelief(g, geometry, k, height, s.hole_mask.data() + base);
    ReliefNormals(height, g.S, Single(0.1f) - k * Single(0.0005f), s.hole_normx.data() + base,
                  s.hole_normy.data() + base, s.hole_normz.data() + base);
}
}  // namespace

void generate_hole_frames(Content& content, int threads) {
    const int S = content.hole_size;
    const size_t area = static_cast<size_t>(S) * S;
    content.hole_height.assign(area, 0.0f);
    content.hole_mask.assign(kHoleStages * area, 0);
    content.hole_normx.assign(kHoleStages * area, 0.0f);
    content.hole_normy.assign(kHoleStages * area, 0.0f);
    content.hole_normz.assign(kHoleStages * area, 0.0f);
    content.hole_spoke_angle = static_cast<float>(360 / content.hole_spokes);
    content.hole_img = CreateImage(S, S, 1, 11);
    const HoleShape g{S, content.hole_half, content.hole_spoke_angle,
                      Pow(content.hole_half, Single(0.5f))};
    std::vector<PixelGeometry> geometry(area);
    for (float x = 0; x < S; x += 1) {
        for (float y = 0; y < S; y += 1)
            geometry[ToInt(x + static_cast<double>(y) * S)] = Geometry(g, x, y);
    }
    // Stages are dealt out in turn (early stages cost more); each lane builds in its own
    // scratch, and the lane that builds the last stage leaves its relief in hole_height.
    if (threads < 1) threads = 1;
    ForSlices(threads, threads, [&](int lane, int) {
        FloatField scratch(area, 0.0f);
        for (int k = lane; k < kHoleStages; k += threads)
            BuildStage(content, g, geometry.data(), static_cast<float>(k), scratch.data());
        if ((kHoleStages - 1) % threads == lane) content.hole_height = scratch;
    });
}
