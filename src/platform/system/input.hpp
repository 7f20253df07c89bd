// Polled keyboard and mouse state, kept current by a hook on the event-emission hook.
// Every query pumps the platform messages first. Depends on events.hpp.
#pragma once

#include <array>

constexpr int kKeyCount = 256;   // virtual-key codes 1..255
constexpr int kButtonCount = 4;  // buttons 1 left, 2 right, 3 middle

struct TInputState {
    std::array<bool, kKeyCount> key_down{};
    std::array<int, kKeyCount> key_hits{};
    std::array<bool, kButtonCount> button_down{};
    std::array<int, kButtonCount> button_hits{};
    int pointer_x = 0;
    int pointer_y = 0;
};

// Adds the polled-input hook (once, priority 0) and flushes keys and mouse.
void EnablePolledInput();
// The polled state as the hooks left it, without pumping. For tests and tools.
const TInputState& PolledInput();

// The key's hit count since the last call; resets it to 0.
int TakeKeyHits(int key);
// 1 while the key is down.
int KeyDown(int key);
// The button's hit count since the last call; resets it to 0.
int TakeButtonHits(int button);
// 1 while the button is down.
int IsButtonDown(int button);
// Last pointer position in client (window) pixels.
int PointerX();
int PointerY();
// Clears every key flag and hit count.
void FlushKeys();
// Clears every button flag and hit count.
void FlushMouse();
// Records a pointer position in the polled state (used by MoveMouse).
void SetPolledPointer(int x, int y);
