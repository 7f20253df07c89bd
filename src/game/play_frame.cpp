// The play frame. Flight, scene drawing and the play rules come with the content; until
// then a frame leaves the back buffer as it is.
#include "game/play_frame.hpp"

void play_frame() {}
