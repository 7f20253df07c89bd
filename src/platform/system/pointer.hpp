// The mouse pointer: moving it inside the game window and hiding it over the window.
// Depends on input.hpp and system_driver.hpp.
#pragma once

// Puts the pointer at client position (x, y) and records (x, y) as the polled pointer position
// at once, while the game window has the input focus; without it (a running game never takes
// the mouse from another program) does nothing.
void MoveMouse(int x, int y);
// Hides the pointer while it is over the game window.
void HidePointer();
// Shows the pointer again.
void ShowPointer();
// False after HidePointer until ShowPointer.
bool PointerVisible();
// The pointer's client position read now rather than from the last message; false where the
// platform has no real pointer (headless runs), and the positions of messages are then all
// there is.
bool ReadPointerNow(int* x, int* y);
