// Operations of the value records.
#include "objects/records.hpp"

#include <cmath>

namespace {
// Scales the vector by 1/length, the reciprocal taken once; leaves a zero vector alone.
void ScaleToUnit(double& x, double& y, double& z) {
    const double s = x * x + y * y + z * z;
    if (s == 0) return;
    const double k = 1 / std::sqrt(s);
    x *= k;
    y *= k;
    z *= k;
}
}  // namespace

double ms::normalize() {
    speed = x * x + y * y;
    if (speed == 0) return 0;
    speed = std::sqrt(speed);
    x /= speed;
    y /= speed;
    return speed;
}

int normal3d::normalize() {
    ScaleToUnit(x, y, z);
    return 0;
}

int color::Clear() {
    r = g = b = a = 0;
    return 0;
}

int color::normalize() {
    ScaleToUnit(r, g, b);
    return 0;
}

int color::up() {
    r *= 255;
    g *= 255;
    b *= 255;
    return 0;
}
