// One frame of play, drawn into the back buffer; while paused, the pause view instead.
// Depends on the game state.
#pragma once

// Computes and draws the next frame (the main loop presents it on its next pass); while
// paused draws and presents the pause view.
void play_frame();
