// The icon's plate (a rounded square, anti-aliased, with a rim) and the ship resampled onto it
// with a tent filter as wide as the scale, so small sizes average instead of dropping pixels.
#include "support/icon_tile.hpp"

#include <algorithm>
#include <cmath>

namespace {
struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;  // straight colour, alpha 0..1
};

Rgba FromArgb(uint32_t argb) {
    return {double(argb >> 16 & 255), double(argb >> 8 & 255), double(argb & 255),
            (argb >> 24) / 255.0};
}

uint32_t ToArgb(const Rgba& c) {
    auto byte = [](double v) { return uint32_t(std::clamp(std::lround(v), 0L, 255L)); };
    return byte(c.a * 255) << 24 | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

Rgba Mix(const Rgba& a, const Rgba& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

// Signed distance from (x, y) to a rounded square [lo, hi]^2 with corner radius `r`
// (negative inside).
double PlateDistance(double x, double y, double lo, double hi, double r) {
    const double mid = (lo + hi) / 2, half = (hi - lo) / 2 - r;
    const double qx = std::abs(x - mid) - half, qy = std::abs(y - mid) - half;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - r;
}

// The plate's colour at pixel (x, y): fill from top to bottom, brighter towards the ship's
// centre (gx, gy), the rim near the edge, alpha the pixel's coverage.
Rgba PlateAt(int x, int y, int size, double gx, double gy) {
    const double margin = size / 16.0, rim = std::max(1.0, size / 40.0);
    const double px = x + 0.5, py = y + 0.5;
    const double d = PlateDistance(px, py, margin, size - margin, size * 3 / 16.0);
    Rgba fill = Mix(FromArgb(kIconFillTop), FromArgb(kIconFillBottom), double(y) / size);
    const double glow = 1 - std::hypot(px - gx, py - gy) / (size * 0.4);
    if (glow > 0) fill = Mix(fill, FromArgb(kIconGlow), glow);
    Rgba c = Mix(fill, FromArgb(kIconRim), std::clamp(d + rim + 0.5, 0.0, 1.0));
    c.a = std::clamp(0.5 - d, 0.0, 1.0);
    return c;
}

// The ship's colour at the icon's pixel centre (x, y) for a ship box at (ox, oy) of side
// `side`: a premultiplied tent-filter average of the sprite's texels, straightened again.
Rgba ShipAt(const TPixmap& ship, double x, double y, double ox, double oy, double side) {
    const double scale = ship.width / side, reach = std::max(1.0, scale);
    const double sx = (x - ox) * scale - 0.5, sy = (y - oy) * scale - 0.5;
    Rgba sum;
    double weights = 0;
    for (int v = int(std::floor(sy - reach)); v <= int(std::ceil(sy + reach)); ++v) {
        for (int u = int(std::floor(sx - reach)); u <= int(std::ceil(sx + reach)); ++u) {
            const double w = std::max(0.0, 1 - std::abs(u - sx) / reach) *
                             std::max(0.0, 1 - std::abs(v - sy) / reach);
            if (w == 0) continue;
            weights += w;
            if (u < 0 || v < 0 || u >= ship.width || v >= ship.height) continue;
            const Rgba t = FromArgb(ship.ReadPixel(u, v));
            sum = {sum.r + t.r * t.a * w, sum.g + t.g * t.a * w, sum.b + t.b * t.a * w,
                   sum.a + t.a * w};
        }
    }
    if (sum.a <= 0) return {};
    return {sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, sum.a / weights};
}
}  // namespace

PixmapPtr IconTile(const TPixmap& ship, int size) {
    PixmapPtr icon = CreatePixmap(size, size, PIXFMT_RGBA32);
    if (!icon || ship.width <= 0 || ship.height <= 0) return icon;
    // The ship fills the plate inside its rim; its body lies in the sprite's upper part, so the
    // sprite sits lower by an eighth to centre it.
    const double side = size * 0.875, ox = (size - side) / 2, oy = ox + side / 8;
    const double gx = size / 2.0, gy = oy + side * 0.4;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Rgba c = PlateAt(x, y, size, gx, gy);
            const Rgba s = ShipAt(ship, x + 0.5, y + 0.5, ox, oy, side);
            const double plate_a = c.a;
            c = Mix(c, s, s.a);
            c.a = plate_a;  // the ship lies within the plate
            icon->WritePixel(x, y, ToArgb(c));
        }
    }
    return icon;
}
