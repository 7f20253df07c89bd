// The game's own window operations at start-up: removing the caption and setting the
// window text. Depends on platform window operations and the game state.
#pragma once

#include "platform/system/system.hpp"

// Flips the active window's caption bits off and restores its client size to the screen
// size, leaving a borderless window whose outer size is the client size.
void strip_caption();
// Sets `app_title` as the text of `window`.
void set_window_title(TWindowHandle window);
