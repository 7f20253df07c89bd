// Oval outlines of the drawing layer (the wide-line quad is inline in the header).
#include "platform/draw/detail/draw_geometry.hpp"

#include <cstddef>
#include <cstdint>

#include "platform/base/numbers.hpp"

int OvalPointCount(float xr, float yr) {
    int n = FloatToInt(double(Abs(xr)) + Abs(yr));
    if (n < 12) n = 12;
    if (n > kMaxOvalPoints) n = kMaxOvalPoints;
    return n & ~3;
}

std::vector<float> OvalOutline(float x0, float y0, float x1, float y1) {
    const float xr = (x1 - x0) * 0.5f, yr = (y1 - y0) * 0.5f;
    const int n = OvalPointCount(xr, yr);
    const float cx = x0 + xr, cy = y0 + yr;
    std::vector<float> xy(static_cast<size_t>(n) * 2);
    for (int i = 0; i < n; ++i) {
        const float a = float(int64_t{i} * 360) / float(n);  // i * 360 outgrows an int
        xy[i * 2] = float(cx + xr * Cos(a));
        xy[i * 2 + 1] = float(cy - yr * Sin(a));
    }
    return xy;
}
