// The player's ship: a hull relief computed from formulas, its unit normals for lighting, and
// a soft black shadow of its outline. Draws no random numbers. Depends on the blur.
#include "generate/blur.hpp"
#include "generate/generate_util.hpp"
#include "generate/generators.hpp"

using namespace gen;

namespace {
constexpr int kShadowRadius = 3;

// Relief height at hull coordinates (X, Y) for a ship of size S with centre c.
double HullHeight(double X, double Y, double c, int S) {
    const double H = c - (X - c) * (X - c) * Single(0.025f) * (Single(1.58f) + Cos(Y * 9));
    float u = static_cast<float>((c - X) / H);
    const float v = static_cast<float>((H - Y) / H);
    if (Abs(u) > Single(0.3f) && Y > 0) u = static_cast<float>(u * (1 - (Abs(u) - Single(0.3f))));
    u = static_cast<float>(u + Single(0.1f) * Pow(Sin(u * 395.0), 5));  // fine ridges
    const double r = static_cast<double>(u) * u + static_cast<double>(v) * v;
    double h = Pow(1 - r, 2.5);
    if (!(h >= 0)) h = 0;  // outside the unit disc the power is NaN
    const double off = Abs(X - c);
    if (Single(0.4f) * c < off && off < Single(0.42f) * c) h = h * Single(0.6f);  // groove
    if (Y > 5) {                                                                  // domes
        const double e1 = off - Single(0.3f) * c, e2 = Y - Single(0.17f) * S;
        const double t = 1 - (e1 * e1 + Single(0.1f) * (e2 * e2)) / c;
        if (t > 0 && t > h) h = t;
    }
    if (Y > c && h > Single(0.3f)) h = h * (1 - (h - Single(0.3f)) / Single(0.7f));  // fold
    return h;
}

// Fills `player_bump` sample by sample (i outer, j inner).
void Relief(Content& s) {
    const int S = s.player_size;
    const double c = s.player_half;
    const double offset = S - S * Single(1.1f);
    for (float i = 0; i < S; i += 1) {
        for (float j = 0; j < S; j += 1) {
            const float X = static_cast<float>(i * Single(1.2f) + offset);
            const float Y = static_cast<float>(j * Single(1.2f) + offset);
            s.player_bump[FloatToInt(i + static_cast<double>(j) * S)] =
                static_cast<float>(HullHeight(X, Y, c, S));
        }
    }
}

// Raises the relief to a near-opaque silhouette, blurs it and writes `player_shadow`.
void Shadow(Content& s) {
    const int S = s.player_size;
    for (int k = 0; k < S * S; ++k) {
        s.player_soft[k] = static_cast<float>(Pow(s.player_bump[k], Single(0.2f)));
        s.player_silhouette[k] = s.player_soft[k];
    }
    for (int pass = 0; pass < 2; ++pass)
        blur(kShadowRadius, s.player_silhouette.data(), s.player_soft.data(), S, S);
    s.player_shadow = CreateImage(S, S, 1, 11);
    TPixmap& pix = *LockImage(s.player_shadow, 0, 1, 1);
    for (float x = 0; x < S; x += 1) {
        for (float y = 0; y < S; y += 1) {
            const float m = s.player_silhouette[FloatToInt(x + static_cast<double>(y) * S)];
            PutPixel(pix, FloatToInt(x), FloatToInt(y), Argb(FloatToInt(m * 128.0), 0));
        }
    }
    UnlockImage(s.player_shadow, 0);
}
}  // namespace

void generate_player_ship(Content& content) {
    const int S = content.player_size;
    content.player_half = FloatToInt(S * Single(0.5f));
    const size_t n = static_cast<size_t>(S) * S;
    for (FloatField* f : {&content.player_bump, &content.player_normx, &content.player_normy,
                          &content.player_normz, &content.player_soft, &content.player_silhouette})
        f->assign(n, 0.0f);
    Relief(content);
    ReliefNormals(content.player_bump.data(), content.player_size, Single(0.02f),
                  content.player_normx.data(), content.player_normy.data(),
                  content.player_normz.data());
    Shadow(content);
    content.player_ship = CreateImage(S, S, 1, 11);
}
