// The game's reaction to discrete events, run on the event-emission hook: pause, dragging
// the window while paused, adding an enemy, tuning the trails, redrawing on mouse entry.
// Depends on platform events, the game state and the play frame.
#pragma once

#include "platform/system/system.hpp"

// Key codes the game reacts to.
constexpr int kKeyEscape = 27;
constexpr int kKeyPageUp = 33;
constexpr int kKeyPageDown = 34;
constexpr int kKeyUp = 38;
constexpr int kKeyDown = 40;
constexpr int kKeyP = 80;
constexpr int kKeyQ = 81;

// Reacts to `data` when it is an event and passes it on; null for anything else.
ObjectPtr event_hook(int id, const ObjectPtr& data, const ObjectPtr& context);
// Playing -> paused (grabs the screen, shows the pause view and the pointer), or back.
void toggle_pause();
