// Translation of the canvas's pointer-lock, pointer, button, key and wheel reports.
#include "platform/system/detail/canvas_input.hpp"

#include <algorithm>
#include <cstdint>

namespace {
constexpr int kDomLeft = 0, kDomMiddle = 1, kDomRight = 2;

// Client positions are signed 16-bit, as on the desktop, so summed deltas never overflow.
int ClampCoordinate(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX));
}
}  // namespace

void TCanvasInput::Push(int id, int data, int mods) {
    TEvent e;
    e.id = id;
    e.data = data;
    e.mods = mods;
    e.x = x_;
    e.y = y_;
    pending_.push_back(e);
}

void TCanvasInput::Lock(bool locked) {
    if (locked == locked_) return;
    locked_ = locked;
    Push(locked ? EVENT_ACTIVATE : EVENT_DEACTIVATE, 0);
}

void TCanvasInput::Motion(int canvas_x, int canvas_y, int dx, int dy) {
    if (locked_) {
        x_ = ClampCoordinate(int64_t{x_} + dx);
        y_ = ClampCoordinate(int64_t{y_} + dy);
    } else {
        x_ = ClampCoordinate(canvas_x);
        y_ = ClampCoordinate(canvas_y);
    }
    if (!inside_) Push(EVENT_MOUSE_ENTER, 0);
    inside_ = true;
    Push(EVENT_MOUSE_MOVE, 0);
}

void TCanvasInput::Leave() {
    if (!locked_) inside_ = false;
}

void TCanvasInput::Button(int dom_button, bool down) {
    int button = 0;
    if (dom_button == kDomLeft) button = 1;
    if (dom_button == kDomRight) button = 2;
    if (dom_button == kDomMiddle) button = 3;
    if (button) Push(down ? EVENT_MOUSE_DOWN : EVENT_MOUSE_UP, button);
}

bool TCanvasInput::Key(int key_code, bool down, bool repeat, int mods) {
    if (key_code < 1 || key_code > 255) return false;
    Push(down ? (repeat ? EVENT_KEY_REPEAT : EVENT_KEY_DOWN) : EVENT_KEY_UP, key_code, mods);
    return true;
}

void TCanvasInput::Wheel(double delta_y) {
    // Browsers scale a notch differently (lines, pixels, 100 or 53 of them): one step a report.
    if (delta_y != 0) Push(EVENT_MOUSE_WHEEL, delta_y < 0 ? 1 : -1);
}

void TCanvasInput::Warp(int x, int y) {
    x_ = x;
    y_ = y;
}

std::vector<TEvent> TCanvasInput::Take() {
    std::vector<TEvent> out;
    out.swap(pending_);
    return out;
}

int CanvasModifiers(bool shift, bool control, bool alt, bool meta) {
    return (shift ? MODIFIER_SHIFT : 0) | (control ? MODIFIER_CONTROL : 0) |
           (alt ? MODIFIER_ALT : 0) | (meta ? MODIFIER_SYSTEM : 0);
}

bool IsGameKey(int key_code) {
    switch (key_code) {
        case 27:  // Escape
        case 32:  // space
        case 33:  // Page Up
        case 34:  // Page Down
        case 35:  // End
        case 36:  // Home
        case 37:  // the arrows
        case 38:
        case 39:
        case 40:
        case 80:  // P
        case 81:  // Q
            return true;
        default:
            return false;
    }
}
