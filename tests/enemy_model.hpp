// A second, independent account of how enemies move and pass the token, kept as plainly as the
// rules read: one function per step, every stored value rounded where its field is a float,
// everything else in double. It shares with the game only the platform (trigonometry, the
// generator step, truncation and the collision layers), the ships' sprites and the state a new
// ship starts with.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "objects/playfield.hpp"
#include "platform/base/base.hpp"
#include "platform/collide/collide.hpp"
#include "platform/draw/draw.hpp"

struct TModelShip {
    ImagePtr ship;
    float size = 0, rot_accuracy = 0, max_speed = 0;
    int borders[4] = {};
    double px = 0, py = 0, dx = 0, dy = 0, vx = 0, vy = 0;  // pos, dir, vel
    float vrot = 0, rot = 0, ecos = 0, esin = 0, dist = 0;
    uint8_t carrier = 0, carrier_count = 0, finished = 0;
    bool gone = false;  // left the field this frame
};

// How often each rule fired, so that a run can show it tested something.
struct TModelCounts {
    int frames = 0, passes = 0, multipasses = 0, taken = 0, retaken = 0, shoves = 0;
    int snaps = 0, corners = 0, bounces = 0, departures = 0;
};

class TEnemyModel {
  public:
    std::vector<TModelShip> ships;
    uint8_t carrying = 0;
    int32_t rng = 0;
    TModelCounts counts;

    // One frame: every ship moves and is drawn in list order; departed ships drop out after.
    void Update(float tx, float ty, float sx, float sy) {
        const bool held = carrying != 0;
        bool found = false;
        for (TModelShip& e : ships) {
            if (held || found) e.carrier = 0;
            Move(e, tx, ty, sx, sy);
            if (!held && e.carrier == 1 && e.finished == 0) found = true;
            Draw(e);
        }
        std::erase_if(ships, [](const TModelShip& e) { return e.gone; });
    }

  private:
    static constexpr double kDamping = double{0.899f};
    static constexpr double kThrust = double{0.005f};

    // Only what drawing does to shared state: the engine glow's draw and the turn it leaves.
    void Draw(const TModelShip& e) {
        if (float(e.vx * e.vx + e.vy * e.vy) > 2) rng = RandomNext(rng);
        SetRotation(float(e.rot - 90.0));
        SetScale(1, 1);
    }

    void Move(TModelShip& e, float tx, float ty, float sx, float sy) {
        e.ecos = float(-Sin(e.rot - 90.0));
        e.esin = float(Cos(e.rot - 90.0));
        e.dx = tx - e.px, e.dy = ty - e.py;
        e.dist = float(e.dx * e.dx + e.dy * e.dy);
        float forward = 0;
        if (e.dist != 0) forward = Steer(e, sx, sy);
        e.vrot = float(double{e.vrot} * e.rot_accuracy);
        e.rot = float(double{e.rot} + e.vrot);
        e.dist = forward > 0.5 ? float(kThrust * forward * e.dist) : 0.5f;
        if (e.dist > e.max_speed) e.dist = e.max_speed;
        e.vx = e.vx * kDamping + e.dx * e.dist;
        e.vy = e.vy * kDamping + e.dy * e.dist;
        if (e.finished == 0) {
            Borders(e);
        } else if (e.px > kScreenW + double{e.size} || e.py > kScreenH + double{e.size} ||
                   e.px < -double{e.size} || e.py < -double{e.size}) {
            e.gone = true;
            ++counts.departures;
            return;
        }
        e.px += e.vx, e.py += e.vy;
        Bumpers(e);
        Exchange(e, tx, ty);
    }

    // Turns toward the target (or away), with the shove ahead of the player's ship; returns
    // how squarely the ship faced the target. Leaves `dir` as the heading before the turn.
    float Steer(TModelShip& e, float sx, float sy) {
        e.dist = float(Sqrt(e.dist));
        e.dx /= e.dist, e.dy /= e.dist;
        const float forward = float(e.dx * e.ecos + e.dy * e.esin);
        float side = float(e.dy * e.ecos - e.dx * e.esin);
        if (e.finished == 1) {
            side = -side;
        } else {
            const float p = float(double{sx} * e.dx - double{sy} * e.dy);
            if (carrying == 0 && e.dist < 500.0 * p && p > 0) {
                const float q = float(1 - e.dist / 500.0);
                side = -side;
                e.dist = float(500.0 - e.dist);
                e.vx -= double{sx} * p * q;
                e.vy += double{sy} * p * q;
                e.vrot = float(e.vrot + (1.0 - q) * p * side);
                ++counts.shoves;
            }
            if (e.carrier == 1) side = -side;
        }
        e.vrot = float(e.vrot + 0.5 * side);
        e.dx = Cos(e.rot), e.dy = Sin(e.rot);
        return forward;
    }

    void Borders(TModelShip& e) {
        const auto snap = [&](double& p, double& v, int to, double sign, float rot) {
            v = sign * std::fabs(v), p = to, e.rot = rot;
            ++counts.snaps;
        };
        const int before = counts.snaps;
        if (e.px > e.borders[0]) snap(e.px, e.vx, e.borders[0], -1, 180);
        if (e.py > e.borders[1]) snap(e.py, e.vy, e.borders[1], -1, 270);
        if (e.px < e.borders[2]) snap(e.px, e.vx, e.borders[2], 1, 0);
        if (e.py < e.borders[3]) snap(e.py, e.vy, e.borders[3], 1, 90);
        counts.corners += counts.snaps - before > 1;  // where the order of the tests shows
    }

    void Bumpers(TModelShip& e) {
        for (int i = 1; i <= 4; ++i) {
            float dx = float(e.px - 256 * i), dy = float(e.py - 256);
            const double r2 = double{dx} * dx + double{dy} * dy;
            if (r2 >= 4096) continue;
            dx = float(dx / Sqrt(r2)), dy = float(dy / Sqrt(r2));
            const double m = Sqrt(e.vx * e.vx + e.vy * e.vy);
            const float ux = float(-e.vx / m), uy = float(-e.vy / m);
            const float d = float(double{ux} * dx + double{uy} * dy);
            e.vx = m * (ux + 2 * (double{d} * dx - ux));
            e.vy = m * (uy + 2 * (double{d} * dy - uy));
            e.px = 256 * i + 64.0 * dx + e.vx;
            e.py = 256 + 64.0 * dy + e.vy;
            ++counts.bounces;
        }
    }

    static bool Touches(const ImagePtr& image, double x, double y) {
        return OverlapImage(image, FloatToInt(x), FloatToInt(y), 0, 1, 0, nullptr, nullptr) > 0;
    }
    static void WriteAlone(const TModelShip& e) {
        ClearCollisionLayers(0);
        OverlapImage(e.ship, FloatToInt(e.px), FloatToInt(e.py), 0, 0, 1, nullptr, nullptr);
    }

    void Exchange(TModelShip& e, float tx, float ty) {
        if (e.carrier == 1) {
            SetRotation(0);
            SetScale(1, 1);
            WriteAlone(e);
            if (e.carrier_count != 0) {
                --e.carrier_count;
                return;
            }
            int passed = 0;
            for (TModelShip& other : ships) {
                if (&other == &e || other.gone || !Touches(other.ship, other.px, other.py))
                    continue;
                e.carrier = 0, other.carrier = 1, e.carrier_count = 20;
                ++passed;
            }
            counts.passes += passed, counts.multipasses += passed > 1;
            if (Touches(e.ship, tx, ty)) {
                e.carrier = 0, e.carrier_count = 20, carrying = 1;
                ++counts.taken;
            }
        } else if (carrying == 1) {
            if (e.carrier_count != 0) {
                --e.carrier_count;
                return;
            }
            // Tested as the last ship's drawing left the turn, like the carrier's own sprite.
            WriteAlone(e);
            if (Touches(e.ship, tx, ty)) {
                e.carrier = 1, e.carrier_count = 40, carrying = 0;
                ++counts.retaken;
            }
        }
    }
};
