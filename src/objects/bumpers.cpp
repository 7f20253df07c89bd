// The bumpers' bounce for enemies, with the two cases that have no reflection (no speed, or
// exactly on the centre) given a defined answer. Depends on the records and numbers.
#include "objects/bumpers.hpp"

#include "platform/base/base.hpp"

void BumperNormal(float dx, float dy, float* nx, float* ny) {
    const double length = Sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
    if (length == 0) {
        *nx = 0, *ny = -1;
        return;
    }
    *nx = static_cast<float>(dx / length);
    *ny = static_cast<float>(dy / length);
}

namespace {
// Mirrors `vel` about the unit normal (nx, ny) keeping its length m; zero speed stays zero.
void Reflect(ms& vel, float nx, float ny) {
    const double m = Sqrt(vel.x * vel.x + vel.y * vel.y);
    if (m == 0) return;
    const float ux = static_cast<float>(-vel.x / m), uy = static_cast<float>(-vel.y / m);
    const float d = static_cast<float>(static_cast<double>(ux) * nx + static_cast<double>(uy) * ny);
    vel.x = m * (ux + 2 * (static_cast<double>(d) * nx - ux));
    vel.y = m * (uy + 2 * (static_cast<double>(d) * ny - uy));
}
}  // namespace

void BounceOffBumpers(ms& pos, ms& vel) {
    for (int i = 1; i <= kBumperCount; ++i) {
        const int bx = BumperX(i);
        float dx = static_cast<float>(pos.x - bx), dy = static_cast<float>(pos.y - kBumperY);
        if (static_cast<double>(dx) * dx + static_cast<double>(dy) * dy >=
            kBumperRadius * kBumperRadius)
            continue;
        BumperNormal(dx, dy, &dx, &dy);
        Reflect(vel, dx, dy);
        pos.x = bx + static_cast<double>(kBumperRadius) * dx + vel.x;
        pos.y = kBumperY + static_cast<double>(kBumperRadius) * dy + vel.y;
    }
}
