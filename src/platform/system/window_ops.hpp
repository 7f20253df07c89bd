// The window operations the game calls itself: the active window, its style word, size,
// caption text and screen rectangle. Depends on system_driver.hpp.
#pragma once

#include <string>

#include "platform/system/system_driver.hpp"

// The game's window while it is open (it is activated when it opens), else 0.
TWindowHandle ActiveWindow();
// The window's style word; 0 for an unknown window.
int GetWindowStyle(TWindowHandle window);
// Writes the style word; flipping the caption bits adds or removes the frame.
void SetWindowStyle(TWindowHandle window, int style);
// Sets the client size without moving the window or changing its z-order.
void SetWindowClientSize(TWindowHandle window, int width, int height);
// Sets the caption text from a byte string.
void SetWindowText(TWindowHandle window, const char* text);
// The window's outer rectangle in screen pixels; all zero for an unknown window.
TWindowRect GetWindowRect(TWindowHandle window);
// Moves the window's outer top-left to (left, top) with an outer size of width x height.
void MoveWindow(TWindowHandle window, int left, int top, int width, int height);
// The text given to the window the platform opens (the game sets its title here).
void SetAppTitle(const std::string& title);
const std::string& AppTitle();
