// The game's own state (window, ship, hole and waves, engine and token trails, pause) in one
// plain record; start-up fills the process's record and tests start each case from a fresh
// one. The state shared with the objects (lists, `carrying`, trail tuning) is in Objects().
// Depends on platform (images, window handles) and the object types.
#pragma once

#include <string>

#include "objects/hole.hpp"
#include "objects/trail.hpp"
#include "platform/draw/draw.hpp"
#include "platform/system/system.hpp"

struct TGameState {
    // Screen and window.
    int screen_w = 1280;
    int screen_h = 500;
    int half_w = 640;
    int half_h = 250;
    TWindowHandle window_handle = 0;
    std::string app_title = "Orbitrants";

    // Player ship.
    float ship_x = 640;
    float ship_y = 250;
    float ship_vx = 0;
    float ship_vy = 0;
    float ship_thrust = 0;
    int heading = 0;
    float last_mouse_x = 0;
    int turn_limit = 10;

    // Hole and waves.
    HolePtr the_hole;
    float the_hole_x = 100.0f;
    float the_hole_y = 250;
    float goal_x = 100.0f;
    float goal_y = 250;
    int relocate_clock = 300;
    int deliveries = 0;
    int wave_size = 1;
    float wave_time = 100.0f;

    // Newest particle of each running trail chain, or null.
    TrailPtr left_trail;
    TrailPtr right_trail;
    TrailPtr carry_trail;

    // Pause: a copy of the screen while paused, null while playing.
    ImagePtr pause_image;
};

// The process's game state.
TGameState& Game();
// Replaces the game state with a fresh one.
void ResetGame();
