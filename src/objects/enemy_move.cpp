// Moving the enemies: steering toward (or away from) the player's ship with damped turning,
// the shove ahead of the player's ship, capped thrust, the borders, leaving the field once
// finished, and the bumpers. The token's rule of one carrier is kept by update. Depends on
// the object state, the bumpers and the numbers.
#include "objects/bumpers.hpp"
#include "objects/object_state.hpp"
#include "objects/playfield.hpp"

namespace {
constexpr double kShoveReach = 500;  // how far ahead of the player's ship a ship is shoved
}

int enemy::update(float tx, float ty, float sx, float sy) {
    TObjectState& o = Objects();
    if (o.carrying != 0) {  // the player has the token: no ship carries it
        o.enemies.ForEach([&](const EnemyPtr& e, const auto&) {
            e->carrier = 0;
            e->move(tx, ty, sx, sy);
            e->drawalt();
        });
        return 0;
    }
    // The token stays with the first unfinished carrier in list order.
    bool found = false;
    o.enemies.ForEach([&](const EnemyPtr& e, const auto&) {
        if (found) e->carrier = 0;
        e->move(tx, ty, sx, sy);
        if (e->carrier == 1 && e->finished == 0) found = true;
        e->drawalt();  // also for a ship that has just left the list: its last look
    });
    return 0;
}

// Turns toward the target `dir` points at (away once finished, away while carrying), with the
// shove ahead of the player's ship facing (-sx, sy); `dir` ends as the facing before the turn.
void enemy::steer(float sx, float sy, float* forward) {
    dist = static_cast<float>(Sqrt(dist));
    dir.x = dir.x / dist;
    dir.y = dir.y / dist;
    *forward = static_cast<float>(dir.x * ecos + dir.y * esin);
    float side = static_cast<float>(dir.y * ecos - dir.x * esin);
    if (finished == 1) {
        side = -side;
    } else {
        const float p = static_cast<float>(sx * dir.x - sy * dir.y);
        if (Objects().carrying == 0 && dist < kShoveReach * p && p > 0) {
            const float q = static_cast<float>(1 - dist / kShoveReach);
            side = -side;
            dist = static_cast<float>(kShoveReach - dist);
            vel.x = vel.x - static_cast<double>(sx) * p * q;
            vel.y = vel.y + static_cast<double>(sy) * p * q;
            vrot = static_cast<float>(vrot + (1 - static_cast<double>(q)) * p * side);
        }
        if (carrier == 1) side = -side;  // a carrier flees
    }
    vrot = static_cast<float>(vrot + 0.5 * side);
    dir.x = Cos(rot);
    dir.y = Sin(rot);
}

// Damps the velocity and thrusts along `dir`: harder the further the target lies ahead (a
// ship facing away gets a fixed 0.5), never more than the ship's top speed.
void enemy::thrust(float forward) {
    if (forward > 0.5)
        dist = static_cast<float>(double{0.005f} * forward * dist);
    else
        dist = 0.5f;
    if (dist > max_speed) dist = max_speed;
    vel.x = vel.x * double{0.899f};
    vel.y = vel.y * double{0.899f};
    vel.x = vel.x + dir.x * dist;
    vel.y = vel.y + dir.y * dist;
}

// Puts a ship that crossed a border back on it, heading away from that wall.
void enemy::keep_to_borders() {
    if (pos.x > borders[0]) {
        vel.x = -Abs(vel.x);
        pos.x = borders[0];
        rot = 180;
    }
    if (pos.y > borders[1]) {
        vel.y = -Abs(vel.y);
        pos.y = borders[1];
        rot = 270;
    }
    if (pos.x < borders[2]) {
        vel.x = Abs(vel.x);
        pos.x = borders[2];
        rot = 0;
    }
    if (pos.y < borders[3]) {
        vel.y = Abs(vel.y);
        pos.y = borders[3];
        rot = 90;
    }
}

// Whether the centre is more than the ship's size outside the screen.
bool enemy::has_left_the_field() const {
    return pos.x > kScreenW + static_cast<double>(size) ||
           pos.y > kScreenH + static_cast<double>(size) || pos.x < -static_cast<double>(size) ||
           pos.y < -static_cast<double>(size);
}

int enemy::move(float tx, float ty, float sx, float sy) {
    ecos = static_cast<float>(-Sin(rot - 90.0));
    esin = static_cast<float>(Cos(rot - 90.0));
    dir.x = tx - pos.x;
    dir.y = ty - pos.y;
    dist = static_cast<float>(dir.x * dir.x + dir.y * dir.y);
    float forward = 0;
    if (dist != 0) steer(sx, sy, &forward);
    vrot = static_cast<float>(static_cast<double>(vrot) * rot_accuracy);
    rot = static_cast<float>(static_cast<double>(rot) + vrot);
    thrust(forward);
    if (finished == 0) {
        keep_to_borders();
    } else if (has_left_the_field()) {
        Objects().enemies.Remove(list_link.lock());
        return 0;
    }
    pos.x = pos.x + vel.x;
    pos.y = pos.y + vel.y;
    BounceOffBumpers(pos, vel);
    exchange_token(tx, ty);
    return 0;
}
