// The geometry of the drawing primitives, apart from any 3D interface so that it can be checked
// without a GPU: oval outlines and the quads of lines. Depends on nothing.
#pragma once

#include <cmath>
#include <vector>

// Most points an oval outline gets. With this many the chords stay within a pixel of the true
// ellipse for radii up to 10^11 pixels, far beyond where float positions still hold whole
// pixels, so larger ovals look the same; the cap keeps a huge size from asking for gigabytes.
constexpr int kMaxOvalPoints = 1 << 20;

// Points of the oval outline for radii xr, yr: |xr| + |yr| truncated, at least 12, a multiple of
// 4, at most kMaxOvalPoints.
int OvalPointCount(float xr, float yr);
// The outline of the oval inscribed in (x0, y0)-(x1, y1) as x, y pairs, counter-clockwise on
// screen from the rightmost point, before any transform.
std::vector<float> OvalOutline(float x0, float y0, float x1, float y1);
// The strip from (x0, y0) to (x1, y1) widened by (dx, dy) to either side: four x, y pairs.
inline void WidenedStrip(float x0, float y0, float x1, float y1, float dx, float dy,
                         float strip[8]) {
    strip[0] = x0 - dx, strip[1] = y0 - dy, strip[2] = x0 + dx, strip[3] = y0 + dy;
    strip[4] = x1 - dx, strip[5] = y1 - dy, strip[6] = x1 + dx, strip[7] = y1 + dy;
}
// The triangle strip of a line wider than one pixel between transformed ends (x0, y0) and
// (x1, y1): widened along x when steeper than 45 degrees, otherwise (ties included) along y.
// `strip` receives four x, y pairs. Inline: every trail segment draws wide lines.
inline void WideLineStrip(float x0, float y0, float x1, float y1, float width, float strip[8]) {
    const float h = width * 0.5f;
    const bool steep = std::fabs(double(y1) - y0) > std::fabs(double(x1) - x0);
    WidenedStrip(x0, y0, x1, y1, steep ? h : 0, steep ? 0 : h, strip);
}
// The strip of a one-pixel line between transformed ends: the line through the pixel centres
// (x0 + 0.5, y0 + 0.5) and (x1 + 0.5, y1 + 0.5), moved back half a pixel along its main
// direction and one pixel thick across it. It fills one pixel per column (per row when steep)
// from the first end's up to, not including, the last end's, as a line drawn by the
// diamond-exit rule does; but its ends fall between pixel centres, so every rasteriser fills
// the same pixels, where line rasterisers differ at the ends. False for a line of no length,
// which fills nothing.
inline bool ThinLineStrip(float x0, float y0, float x1, float y1, float strip[8]) {
    const double dx = double(x1) - x0, dy = double(y1) - y0;
    const bool steep = std::fabs(dy) > std::fabs(dx);
    const double run = steep ? std::fabs(dy) : std::fabs(dx);
    if (run == 0) return false;
    const float bx = float(0.5 - 0.5 * dx / run), by = float(0.5 - 0.5 * dy / run);
    WidenedStrip(x0 + bx, y0 + by, x1 + bx, y1 + by, steep ? 0.5f : 0, steep ? 0 : 0.5f, strip);
    return true;
}
