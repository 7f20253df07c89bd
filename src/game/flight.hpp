// The player's ship in flight: steering from the mouse, thrust and motion, the window edges
// and the bumpers, and the light that shades it. Reals follow the game's rule: arithmetic in
// double, stored as float. Depends on the game state, polled input and the pointer.
#pragma once

#include "game/game_state.hpp"
#include "objects/bumpers.hpp"

// What one play frame computes once and uses throughout.
struct TPlayFrame {
    float s = 0, c = 0;            // sine and cosine of the heading
    float lx = 0, ly = 0, lz = 0;  // unit vector toward the light over the window centre
    float r2 = 0;                  // lx*lx + ly*ly
};

// Turns the ship by the mouse's horizontal motion (at most turn_limit degrees), puts the
// pointer back at the window centre and fills s and c.
void steer_ship(TGameState& g, TPlayFrame& f);
// Thrusts while the left button is down, damps and moves the ship.
void thrust_ship(TGameState& g, const TPlayFrame& f);
// Bounces the ship back inside the window, 25 pixels from each edge.
void keep_ship_inside(TGameState& g);
// Fills the light vector and r2 for the ship's position.
void light_ship(const TGameState& g, TPlayFrame& f);
// Bounces the ship off the bumper centred at (bx, by) when its centre is inside it: the motion
// mirrored about the surface normal, the ship put on the rim. At the exact centre the motion
// is left alone and the ship goes out of the top.
void bounce_ship(TGameState& g, int bx, int by);
