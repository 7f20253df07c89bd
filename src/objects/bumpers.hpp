// The four round bumpers of the playfield and the bounce off them that enemies use. The
// player's ship bounces by its own rule but shares the guarded normal. Depends on the records.
#pragma once

#include "objects/records.hpp"

constexpr int kBumperCount = 4;
constexpr int kBumperRadius = 64;
constexpr int kBumperY = 256;
// Horizontal centre of bumper i, for i = 1 .. kBumperCount.
constexpr int BumperX(int i) {
    return 256 * i;
}

// (dx, dy) divided by its length: the outward normal at a point offset (dx, dy) from a
// bumper's centre. The centre itself has no direction; it gets straight up, (0, -1), so a
// ship there is pushed out of the top of the bumper instead of getting a NaN position.
void BumperNormal(float dx, float dy, float* nx, float* ny);

// Bounces a ship at `pos` moving by `vel` off bumpers 1 to 4 in turn, each testing the
// position the one before left: inside one, the velocity is mirrored about the surface normal
// (keeping its speed) and the ship is put on the rim plus one step of the new velocity. A ship
// with zero speed has nothing to mirror: its velocity stays zero and it is put on the rim.
void BounceOffBumpers(ms& pos, ms& vel);
