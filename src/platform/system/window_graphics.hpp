// TGraphics: the game window with its OpenGL 3.3 core context, as the system layer makes it.
// The drawing driver draws into its own back buffer and asks this object to show it.
#pragma once

#include <functional>
#include <memory>
#include <string>

class TGraphics {
  public:
    int width = 0;   // client width in window pixels
    int height = 0;  // client height in window pixels
    int depth = 0;
    int hertz = 0;
    int flags = 0;

    virtual ~TGraphics() = default;
    // The mode it was opened with, as OpenGraphics was asked for it.
    void SetMode(int w, int h, int d, int hz, int f) {
        width = w, height = h, depth = d, hertz = hz, flags = f;
    }
    // Size in pixels of the window's OpenGL drawable (larger than width x height on HiDPI).
    virtual void GetDrawableSize(int* w, int* h) const = 0;
    // Shows a frame: `draw_frame` draws it into the window's default framebuffer, then the
    // buffers are swapped. sync 1 waits for the retrace where the platform allows and never
    // presents more than 60 times a second; sync 0 presents at once. While the retrace is
    // measured the same frame is drawn and presented a few times in a row. While the window
    // is unseen nothing is drawn or swapped, but the pacing is the same.
    virtual void Present(int sync, const std::function<void()>& draw_frame) = 0;
    // True while nothing of the window can be seen (minimised or hidden): the driver may then
    // skip the drawing work, though never the calls that record it.
    virtual bool Unseen() const { return false; }
};

// Opens the window (client area width x height, centred, captioned with the application
// title) with an OpenGL 3.3 core context made current. Returns null and fills `error` with a
// message naming what is missing when that cannot be done.
std::unique_ptr<TGraphics> CreateWindowGraphics(int width, int height, int depth, int hertz,
                                                int flags, std::string* error);

// True while the window system is up; false once it has been shut down (at exit, say).
bool WindowSystemRunning();

// Called by OpenGraphics once the graphics are current: enables polled input and flushes it.
void OnGraphicsOpened();
