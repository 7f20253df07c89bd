// What the browser reports about the game's canvas, translated into TEvents: pointer lock as
// the window's activation, motion deltas while locked moving a virtual pointer (a page cannot
// move the real one), DOM buttons and key codes as the game's. Pure, so the desktop suite
// tests it; the browser's system driver feeds it. Depends on events.hpp.
#pragma once

#include <vector>

#include "platform/system/events.hpp"

class TCanvasInput {
  public:
    // The pointer lock was taken (true) or lost: activation 0x102 or deactivation 0x101.
    void Lock(bool locked);
    // Pointer motion: the position over the canvas in canvas pixels (used while unlocked) and
    // the motion since the last event (used while locked).
    void Motion(int canvas_x, int canvas_y, int dx, int dy);
    // The pointer left the canvas (no lock held): the next motion enters again.
    void Leave();
    // A DOM button (0 left, 1 middle, 2 right) pressed or released.
    void Button(int dom_button, bool down);
    // A key with its DOM keyCode, which is the virtual-key code; false when it is not one.
    bool Key(int key_code, bool down, bool repeat, int mods);
    // Wheel motion; `delta_y` negative turns away from the user.
    void Wheel(double delta_y);
    // The page was hidden: the lock, and with it the focus, goes.
    void Hidden() { Lock(false); }
    // Moves the virtual pointer (the game's warp); no event.
    void Warp(int x, int y);

    bool locked() const { return locked_; }
    int pointer_x() const { return x_; }
    int pointer_y() const { return y_; }
    // Takes the events translated since the last call, oldest first.
    std::vector<TEvent> Take();

  private:
    void Push(int id, int data, int mods = 0);  // pointer events carry no modifiers

    bool locked_ = false;
    bool inside_ = false;
    int x_ = 0, y_ = 0;
    std::vector<TEvent> pending_;
};

// DOM modifier flags as MODIFIER_* bits.
int CanvasModifiers(bool shift, bool control, bool alt, bool meta);
// Whether the browser's own action for a key must be kept from the page: the game's keys and
// the ones that would scroll it.
bool IsGameKey(int key_code);
