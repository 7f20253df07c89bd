// One frame of play, drawn into the back buffer. Depends on the game state.
#pragma once

// Computes and draws the next frame; the main loop presents it on its next pass.
void play_frame();
