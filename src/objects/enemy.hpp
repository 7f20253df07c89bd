// enemy: a generated hostile ship that chases the player's ship, flees with the token and
// passes it on by touch. `enemies` owns every live ship. Depends on the records, trails, the
// generated content, the drawing layer and the collision layers.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "generate/content.hpp"
#include "objects/records.hpp"
#include "objects/trail.hpp"
#include "platform/base/base.hpp"
#include "platform/draw/draw.hpp"

struct enemy {
    int typ = 0;
    float size = 0;
    float half = 0;
    color col;
    ImagePtr ship;
    PixmapPtr ship_pix;
    FloatField normx, normy, normz;  // left empty by generatealt
    FloatField bump;
    FloatField paint;
    ImagePtr shadow;
    float random = 0;
    ms pos;
    ms dir;
    ms vel;
    float vrot = 0;
    float rot = 0;
    float ecos = 0, esin = 0;
    float dist = 0;
    int borders[4] = {0, 0, 0, 0};  // right, bottom, left, top
    float rot_accuracy = 0;
    float max_speed = 0;
    float energy = 0;
    TrailPtr trail_child;
    TrailPtr carry_trail_child;
    uint8_t carrier = 0;
    uint8_t carrier_count = 0;
    uint8_t finished = 0;
    // This ship's own link in `enemies`, for leaving it; weak, so the link (which owns the
    // ship) and the ship never keep each other alive.
    std::weak_ptr<TList<enemy>::TLink> list_link;

    // A new ship at (x, y) moving by (vx, vy), tinted from (r, g, b), of kind `typ`, carrying
    // the token; reseeds the random generator from the clock; appended to `enemies`.
    static std::shared_ptr<enemy> Create(int x, int y, int vx, int vy, int r, int g, int b,
                                         int typ);
    // Moves and draws every ship toward the player's ship at (tx, ty) facing (-sx, sy), and
    // passes the token.
    static int update(float tx, float ty, float sx, float sy);
    // Steers, thrusts, keeps to the borders (or leaves once finished), bounces off the bumpers
    // and passes the token by touch.
    int move(float tx, float ty, float sx, float sy);
    // Draws the shadow, the tinted ship, its engine glow and token, and emits its trails.
    int drawalt();
    // Builds the dome sprite, its shadow and the height field from `size`.
    int generatealt();
    // The token changing hands by sprite contact with the other ships and with the player's
    // ship at (tx, ty); the last step of move.
    void exchange_token(float tx, float ty);

  private:
    void steer(float sx, float sy, float* forward);
    void thrust(float forward);
    void keep_to_borders();
    bool has_left_the_field() const;
};
using EnemyPtr = std::shared_ptr<enemy>;
