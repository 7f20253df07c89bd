// The play frame's drawing steps, back to front: backdrop, crosshair, bumpers (which also
// bounce the ship), side panel with ring and time bar, the ship with its shadow, the engine
// effects with their trails, and the vignette last. Every step sets the drawing state it
// needs. Depends on the game state, the generated content and the drawing layer.
#pragma once

#include "game/flight.hpp"

// Step 5: the backdrop over the whole back buffer.
void draw_backdrop(const TGameState& g);
// Step 6: four crosshair lines through the hole, with a gap around it.
void draw_crosshair(const TGameState& g);
// Step 7: each bumper's glow, each followed by the ship's bounce off it.
void draw_bumpers(TGameState& g);
// Step 8: the panel on the right edge, the hole's ring and progress, the time bar.
void draw_side_panel(const TGameState& g);
// Step 10: the shadow (falling away from the window centre), then the ship.
void draw_ship(const TGameState& g, const TPlayFrame& f);
// Step 11: nozzle glows, streaks and the two engine trails while the button is down; cuts
// both chains when it is up.
void draw_engines(TGameState& g, const TPlayFrame& f);
// Step 13: the vignette darkening the window edges.
void draw_vignette(const TGameState& g);
