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

// Height of the spiral flank at (x, y), unit direction (ux, uy) at distance d beyond R.
double FlankHeight(const HoleShape& g, double x, double y, double ux, double uy, double d,
                   float R) {
    double px = (x - (ux * R + g.c)) / (g.c - R);
    double py = (y - (uy * R + g.c)) / (g.c - R);
    const double s2 = px * px + py * py;
    if (!(0 < s2 && s2 <= 1 && d <= g.c)) return 0;
    const double s = Sqrt(s2);
    px = px / s, py = py / s;
    double a = ASin(px);
    if (!(py >= 0)) a = 180 - a;
    a = a + (90 + (1 - s) * (40 + R * Single(0.5f)));  // the twist grows toward the opening
    a = FMod(a, g.spoke) / g.spoke;
    a = a * Pow(Sin(a * 180), Single(0.3f));  // one sawtooth arm per sector
    return Single(0.9f) * Pow(1 - d / g.c, Single(0.75f)) + Single(0.1f) * a;
}

// Writes the mask of pixel (x, y) at `mask` and returns its height, for opening radius R.
double ReliefPixel(const HoleShape& g, float x, float y, float R, uint8_t& mask) {
    double ux = x - g.c, uy = y - g.c;
    double d = ux * ux + uy * uy;
    if (d != 0) {
        d = Sqrt(d);
        ux = ux / d, uy = uy / d;
    }
    mask = 0;
    if (d < g.c) {  // smooth fade toward the rim
        double q = (g.c - d) / g.rim_fade;
        if (q > 1) q = 1;
        mask = FloatToInt(q * q * (3 - 2 * q) * 255) & 255;
    }
    if (d <= R) {  // inside the opening only the lip has height
        double h = (1 - (R - d) / 5) * (1 - d / g.c);
        if (!(h >= 0)) h = 0;
        h = h * (1 - d / g.c);
        mask = FloatToInt(h * 255) & 255;
        return h;
    }
    return FlankHeight(g, x, y, ux, uy, d, R);
}

// Relief into `height` and mask of stage k.
void StageRelief(const HoleShape& g, float k, float* height, uint8_t* mask) {
    const int S = g.S;
    const float R = static_cast<float>(k * Single(0.7f));
    for (float x = 0; x < S; x += 1) {
        for (float y = 0; y < S; y += 1) {
            const int at = FloatToInt(x + static_cast<double>(y) * S);
            height[at] = static_cast<float>(ReliefPixel(g, x, y, R, mask[at]));
        }
    }
}

// Unit normals of stage k from `height`; the last row and column stay zero.
void StageNormals(const HoleShape& g, float k, const float* height, float* nx_out, float* ny_out,
                  float* nz_out) {
    const int S = g.S;
    const double lean = Single(0.1f) - k * Single(0.0005f);
    for (float x = 0; x < S - 1; x += 1) {
        for (float y = 0; y < S - 1; y += 1) {
            const int at = FloatToInt(x + static_cast<double>(y) * S);
            const double a = height[at];
            double nx = height[FloatToInt(x + 1 + static_cast<double>(y) * S)] - a;
            double ny = height[FloatToInt(x + (y + 1.0) * S)] - a;
            double nz = 1;
            const double L = nx * nx + ny * ny;
            if (L != 0) {
                const double root = Sqrt(L);
                nz = lean * Sqrt(1 - root * root);
                const double len = Sqrt(nx * nx + ny * ny + nz * nz);
                nx = nx / len, ny = ny / len, nz = nz / len;
            }
            nx_out[at] = static_cast<float>(nx);
            ny_out[at] = static_cast<float>(ny);
            nz_out[at] = static_cast<float>(nz);
        }
    }
}

// Builds stage k (mask and normals), using `height` for its relief.
void BuildStage(Content& s, const HoleShape& g, float k, float* height) {
    const size_t area = static_cast<size_t>(g.S) * g.S;
    const size_t base = static_cast<size_t>(FloatToInt(k * static_cast<double>(area)));
    StageRelief(g, k, height, s.hole_mask.data() + base);
    StageNormals(g, k, height, s.hole_normx.data() + base, s.hole_normy.data() + base,
                 s.hole_normz.data() + base);
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
    // Stages are dealt out in turn (early stages cost more); each lane builds in its own
    // scratch, and the lane that builds the last stage leaves its relief in hole_height.
    if (threads < 1) threads = 1;
    ForSlices(threads, threads, [&](int lane, int) {
        FloatField scratch(area, 0.0f);
        for (int k = lane; k < kHoleStages; k += threads)
            BuildStage(content, g, static_cast<float>(k), scratch.data());
        if ((kHoleStages - 1) % threads == lane) content.hole_height = scratch;
    });
}
