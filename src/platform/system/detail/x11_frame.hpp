// Private to the platform: the frame a window manager puts around the game window on X11, read
// from the X server itself, and waiting for the window manager to set it; and the pointer as
// the server has it. Elsewhere (Wayland,
// headless, no window manager) there is no frame to wait for. Depends on SDL2.
#pragma once

#include <SDL2/SDL.h>

// A window's frame extents as the window manager reports them (known false: none reported).
struct TFrameExtents {
    bool known = false;
    long left = 0, right = 0, top = 0, bottom = 0;

    bool operator==(const TFrameExtents&) const = default;
};

// The frame extents the window manager reports for the window now.
TFrameExtents CurrentFrameExtents(SDL_Window* window);
// Waits until a window manager that frames the window reports extents other than `before`
// (any, when `before` is unknown), for a second at most, then lets SDL read what has arrived so
// that its own frame and position agree. Returns at once where no window manager frames windows.
void AwaitFrameExtents(SDL_Window* window, const TFrameExtents& before);

// The pointer's screen position and its position relative to the window's client area, as the
// X server has them now (SDL's copies follow its messages, and it keeps none for a window that
// moved under a still pointer). False off X11.
struct TPointerNow {
    int screen_x = 0, screen_y = 0;
    int x = 0, y = 0;
};
bool X11PointerNow(SDL_Window* window, TPointerNow* out);
