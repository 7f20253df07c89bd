// Translation of SDL events into TEvent records (ids 0x101..0x405, Windows virtual-key
// codes). Pure: no SDL call, so tests feed it hand-made SDL events. Depends on SDL2.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>

#include "platform/system/events.hpp"

// What translation remembers between events.
struct TSdlTranslation {
    uint32_t window_id = 0;       // events of other windows are ignored (0: take all)
    bool focused = false;         // activation as last reported to the game
    bool system_focus = false;    // the window system gives the window the focus by now
    bool pointer_inside = false;  // false: the next motion over the window is an entry
    bool relative = false;        // relative mouse mode: positions are summed from deltas
    int pointer_x = 0;            // last pointer position reported, in window pixels
    int pointer_y = 0;
    int mods = 0;  // MODIFIER_* bits current at the event (mouse events carry none)
};

constexpr int kMaxTranslatedEvents = 2;

// Translates one SDL event into at most two TEvents in `out`; returns how many.
int TranslateSdlEvent(const SDL_Event& event, TSdlTranslation& state, TEvent* out);
// The Windows virtual-key code of a key, or 0 when it has none: the key its symbol names under
// the active layout, else the key at its position; the keypad follows NumLock (key.mod).
int VirtualKeyOf(const SDL_Keysym& key);
// MODIFIER_* bits of an SDL modifier state.
int ModifiersOf(uint16_t sdl_mods);
