// TSystemDriver: everything the platform layer needs of the window system, behind one narrow
// interface (the SDL window implements it; tests use a fake). Depends on events.hpp.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/system/events.hpp"

// A window of the program; 0 means none.
using TWindowHandle = std::uintptr_t;

// A window's outer rectangle in screen pixels (right and bottom exclusive).
struct TWindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Style-word bits the game reads and writes.
constexpr int WINDOW_STYLE_CAPTION = 0x00C00000;
constexpr int WINDOW_STYLE_SYSMENU = 0x00080000;
constexpr int WINDOW_STYLE_MINIMIZEBOX = 0x00020000;
constexpr int WINDOW_STYLE_VISIBLE = 0x10000000;

class TSystemDriver {
  public:
    virtual ~TSystemDriver() = default;
    // Takes every pending message without waiting and emits each translated event.
    virtual void Poll(const std::function<void(const TEvent&)>& emit) = 0;
    // Waits up to `timeout_ms` for a message, leaving it for the next Poll; returns at once
    // when one is pending. The default does not wait.
    virtual void WaitMessage(int timeout_ms) { (void)timeout_ms; }
    // Sees an event injected into the pump just before it is emitted, so that the driver's
    // own state (focus, held buttons) follows injected input as it follows its messages.
    virtual void Observe(const TEvent& event) { (void)event; }
    // The program's window.
    virtual TWindowHandle Window() const = 0;
    // True while the program's window has the input focus.
    virtual bool HasFocus() const = 0;
    // Puts the pointer at a client position of the window (called only while focused).
    virtual void WarpPointer(int x, int y) = 0;
    // Shows or hides the pointer while it is over the window.
    virtual void SetPointerVisible(bool visible) = 0;
    virtual int GetStyle() const = 0;
    // Applies a style word; the caption bits decide whether the window has a frame.
    virtual void SetStyle(int style) = 0;
    // Resizes the client area without moving the window's top-left corner.
    virtual void SetClientSize(int width, int height) = 0;
    virtual void SetTitle(const std::string& text) = 0;
    virtual TWindowRect GetRect() const = 0;
    // Moves the window's outer top-left to (left, top) and sets its outer size.
    virtual void Move(int left, int top, int width, int height) = 0;
    // The pointer's client position as it is now, worked out from its screen position and
    // the window's place as GetRect reports it, so that the two add up to where the pointer is
    // (a message's position predates any later move of the window); false where there is no
    // real pointer to read. The default has none.
    virtual bool PointerNow(int* x, int* y) const {
        (void)x, (void)y;
        return false;
    }
};

// Makes `driver` the source of platform messages (null: none). The driver outlives its use.
void SetSystemDriver(TSystemDriver* driver);
TSystemDriver* CurrentSystemDriver();
