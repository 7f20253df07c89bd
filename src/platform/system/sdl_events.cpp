// SDL event translation: the one place that knows SDL's event layout and key numbering.
// Keys without a virtual-key code and events the game has no id for give no event.
#include "platform/system/detail/sdl_events.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {
using KeyTable = std::array<uint8_t, SDL_NUM_SCANCODES>;

void MapRange(KeyTable& t, int first_scancode, int last_scancode, int first_vk) {
    for (int s = first_scancode; s <= last_scancode; ++s)
        t[s] = first_vk + (s - first_scancode);
}

// Virtual-key codes of the keys as SDL numbers them by scancode. Indexed by a key's position
// (US layout) when its symbol names nothing, and by the scancode a symbol stands for when
// the symbol names a key that types no character (Caps Lock, the arrows, the modifiers).
KeyTable BuildScancodeTable() {
    KeyTable t{};
    MapRange(t, SDL_SCANCODE_A, SDL_SCANCODE_Z, 'A');
    MapRange(t, SDL_SCANCODE_1, SDL_SCANCODE_9, '1');
    MapRange(t, SDL_SCANCODE_F1, SDL_SCANCODE_F12, 112);
    MapRange(t, SDL_SCANCODE_F13, SDL_SCANCODE_F24, 124);
    MapRange(t, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_9, 97);
    t[SDL_SCANCODE_0] = '0';
    t[SDL_SCANCODE_RETURN] = 13, t[SDL_SCANCODE_ESCAPE] = 27, t[SDL_SCANCODE_BACKSPACE] = 8;
    t[SDL_SCANCODE_TAB] = 9, t[SDL_SCANCODE_SPACE] = 32, t[SDL_SCANCODE_CAPSLOCK] = 20;
    t[SDL_SCANCODE_MINUS] = 189, t[SDL_SCANCODE_EQUALS] = 187, t[SDL_SCANCODE_LEFTBRACKET] = 219;
    t[SDL_SCANCODE_RIGHTBRACKET] = 221, t[SDL_SCANCODE_BACKSLASH] = 220;
    t[SDL_SCANCODE_NONUSHASH] = 220, t[SDL_SCANCODE_SEMICOLON] = 186;
    t[SDL_SCANCODE_APOSTROPHE] = 222, t[SDL_SCANCODE_GRAVE] = 192, t[SDL_SCANCODE_COMMA] = 188;
    t[SDL_SCANCODE_PERIOD] = 190, t[SDL_SCANCODE_SLASH] = 191;
    t[SDL_SCANCODE_NONUSBACKSLASH] = 226, t[SDL_SCANCODE_APPLICATION] = 93;
    t[SDL_SCANCODE_PRINTSCREEN] = 44, t[SDL_SCANCODE_SCROLLLOCK] = 145, t[SDL_SCANCODE_PAUSE] = 19;
    t[SDL_SCANCODE_INSERT] = 45, t[SDL_SCANCODE_HOME] = 36, t[SDL_SCANCODE_PAGEUP] = 33;
    t[SDL_SCANCODE_DELETE] = 46, t[SDL_SCANCODE_END] = 35, t[SDL_SCANCODE_PAGEDOWN] = 34;
    t[SDL_SCANCODE_RIGHT] = 39, t[SDL_SCANCODE_LEFT] = 37, t[SDL_SCANCODE_DOWN] = 40;
    t[SDL_SCANCODE_UP] = 38, t[SDL_SCANCODE_NUMLOCKCLEAR] = 144, t[SDL_SCANCODE_KP_DIVIDE] = 111;
    t[SDL_SCANCODE_KP_MULTIPLY] = 106, t[SDL_SCANCODE_KP_MINUS] = 109;
    t[SDL_SCANCODE_KP_PLUS] = 107, t[SDL_SCANCODE_KP_ENTER] = 13, t[SDL_SCANCODE_KP_0] = 96;
    t[SDL_SCANCODE_KP_PERIOD] = 110, t[SDL_SCANCODE_CLEAR] = 12, t[SDL_SCANCODE_SELECT] = 41;
    t[SDL_SCANCODE_EXECUTE] = 43, t[SDL_SCANCODE_HELP] = 47, t[SDL_SCANCODE_SLEEP] = 95;
    // Left and right modifiers are told apart, each with its own code.
    t[SDL_SCANCODE_LSHIFT] = 160, t[SDL_SCANCODE_RSHIFT] = 161, t[SDL_SCANCODE_LCTRL] = 162;
    t[SDL_SCANCODE_RCTRL] = 163, t[SDL_SCANCODE_LALT] = 164, t[SDL_SCANCODE_RALT] = 165;
    t[SDL_SCANCODE_LGUI] = 91, t[SDL_SCANCODE_RGUI] = 92;
    return t;
}

const KeyTable& ScancodeTable() {
    static const KeyTable table = BuildScancodeTable();
    return table;
}

int ByScancode(uint32_t scancode) {
    return scancode < SDL_NUM_SCANCODES ? ScancodeTable()[scancode] : 0;
}

// Keys that type a character: letters, digits and punctuation follow the keyboard layout,
// as virtual keys do; Escape, Return, Tab, Backspace, Space and Delete are characters too.
int VirtualKeyOfCharacter(SDL_Keycode sym) {
    if (sym >= 'a' && sym <= 'z') return static_cast<int>(sym - 'a' + 'A');
    if (sym >= '0' && sym <= '9') return static_cast<int>(sym);
    switch (sym) {
        case SDLK_ESCAPE:
            return 27;
        case SDLK_RETURN:
            return 13;
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_SPACE:
            return 32;
        case SDLK_DELETE:
            return 46;
        case ';':
            return 186;
        case '=':
            return 187;
        case ',':
            return 188;
        case '-':
            return 189;
        case '.':
            return 190;
        case '/':
            return 191;
        case '`':
            return 192;
        case '[':
            return 219;
        case '\\':
            return 220;
        case ']':
            return 221;
        case '\'':
            return 222;
        default:
            return 0;
    }
}

// The code of the key a symbol names, or 0. Symbols of keys without a character are the
// scancode of the key they mean, so a key remapped to Escape or Control gives that key's code.
int VirtualKeyOfSymbol(SDL_Keycode sym) {
    const auto bits = static_cast<uint32_t>(sym);
    if (bits & SDLK_SCANCODE_MASK) return ByScancode(bits & ~uint32_t{SDLK_SCANCODE_MASK});
    return VirtualKeyOfCharacter(sym);
}

// With NumLock off the keypad digits and point are the cursor keys printed under them.
int KeypadWithoutNumLock(int key) {
    // Keypad 0..9 (codes 96..105), then the keypad point (110).
    static constexpr uint8_t kCursor[] = {45, 35, 40, 34, 37, 12, 39, 36, 38, 33};
    if (key >= 96 && key <= 105) return kCursor[key - 96];
    return key == 110 ? 46 : key;
}

// SDL gives window id 0 to input that arrives while no window has its focus (a key pressed
// just as the window gets the focus): that input is the game's.
bool OtherWindow(uint32_t window_id, const TSdlTranslation& state) {
    return state.window_id != 0 && window_id != 0 && window_id != state.window_id;
}

TEvent Make(int id, int data, const TSdlTranslation& state) {
    TEvent event;
    event.id = id;
    event.data = data;
    event.mods = state.mods;
    event.x = state.pointer_x;
    event.y = state.pointer_y;
    return event;
}

int TranslateWindow(const SDL_WindowEvent& w, TSdlTranslation& state, TEvent* out) {
    switch (w.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (!state.focused) return 0;
            state.focused = false;
            out[0] = Make(EVENT_DEACTIVATE, 0, state);
            return 1;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (state.focused) return 0;  // already reported, ahead of a click (below)
            state.focused = true;
            out[0] = Make(EVENT_ACTIVATE, 0, state);
            return 1;
        case SDL_WINDOWEVENT_CLOSE:
            out[0] = Make(EVENT_CLOSE, 0, state);
            return 1;
        case SDL_WINDOWEVENT_LEAVE:
            state.pointer_inside = false;
            return 0;
        default:
            return 0;
    }
}

int TranslateKey(const SDL_KeyboardEvent& k, TSdlTranslation& state, TEvent* out) {
    const int key = VirtualKeyOf(k.keysym);
    state.mods = ModifiersOf(k.keysym.mod);
    if (key == 0) return 0;
    int id = EVENT_KEY_UP;
    if (k.type == SDL_KEYDOWN) id = k.repeat ? EVENT_KEY_REPEAT : EVENT_KEY_DOWN;
    out[0] = Make(id, key, state);
    return 1;
}

// Client positions are signed 16-bit, so summed deltas never overflow.
int ClampCoordinate(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX));
}

int TranslateMotion(const SDL_MouseMotionEvent& m, TSdlTranslation& state, TEvent* out) {
    if (state.relative) {
        state.pointer_x = ClampCoordinate(static_cast<int64_t>(state.pointer_x) + m.xrel);
        state.pointer_y = ClampCoordinate(static_cast<int64_t>(state.pointer_y) + m.yrel);
    } else {
        state.pointer_x = m.x;
        state.pointer_y = m.y;
    }
    int n = 0;
    if (!state.pointer_inside) out[n++] = Make(EVENT_MOUSE_ENTER, 0, state);
    state.pointer_inside = true;
    out[n++] = Make(EVENT_MOUSE_MOVE, 0, state);
    return n;
}

// SDL numbers the middle button 2 and the right 3; the game's are the other way round.
int ButtonOf(uint8_t sdl_button) {
    if (sdl_button == SDL_BUTTON_RIGHT) return 2;
    if (sdl_button == SDL_BUTTON_MIDDLE) return 3;
    return sdl_button;
}

int TranslateButton(const SDL_MouseButtonEvent& b, TSdlTranslation& state, TEvent* out) {
    if (!state.relative) {
        state.pointer_x = b.x;
        state.pointer_y = b.y;
    }
    const bool down = b.type == SDL_MOUSEBUTTONDOWN;
    int n = 0;
    // The click that gives the window the focus may come before the focus event. Activation
    // releases every button, so it is reported first, or it would cancel the click.
    if (down && !state.focused && state.system_focus) {
        state.focused = true;
        out[n++] = Make(EVENT_ACTIVATE, 0, state);
    }
    out[n++] = Make(down ? EVENT_MOUSE_DOWN : EVENT_MOUSE_UP, ButtonOf(b.button), state);
    return n;
}

int TranslateWheel(const SDL_MouseWheelEvent& w, const TSdlTranslation& state, TEvent* out) {
    const int64_t raw = w.direction == SDL_MOUSEWHEEL_FLIPPED ? -static_cast<int64_t>(w.y) : w.y;
    const int steps = static_cast<int>(std::clamp<int64_t>(raw, INT32_MIN + 1, INT32_MAX));
    if (steps == 0) return 0;
    out[0] = Make(EVENT_MOUSE_WHEEL, steps, state);
    return 1;
}
}  // namespace

int VirtualKeyOf(const SDL_Keysym& key) {
    int code = VirtualKeyOfSymbol(key.sym);
    if (code == 0) {
        // Read as the int it is stored as: a number outside the enumeration (a newer SDL, a
        // damaged event) must reach the range check, not be undefined as an enumerator.
        int scancode = 0;
        static_assert(sizeof scancode == sizeof key.scancode);
        std::memcpy(&scancode, &key.scancode, sizeof scancode);
        code = scancode < 0 ? 0 : ByScancode(static_cast<uint32_t>(scancode));
    }
    return (key.mod & KMOD_NUM) ? code : KeypadWithoutNumLock(code);
}

int ModifiersOf(uint16_t sdl_mods) {
    int mods = 0;
    if (sdl_mods & KMOD_SHIFT) mods |= MODIFIER_SHIFT;
    if (sdl_mods & KMOD_CTRL) mods |= MODIFIER_CONTROL;
    if (sdl_mods & KMOD_ALT) mods |= MODIFIER_ALT;
    if (sdl_mods & KMOD_GUI) mods |= MODIFIER_SYSTEM;
    return mods;
}

int TranslateSdlEvent(const SDL_Event& event, TSdlTranslation& state, TEvent* out) {
    switch (event.type) {
        case SDL_WINDOWEVENT:
            if (OtherWindow(event.window.windowID, state)) return 0;
            return TranslateWindow(event.window, state, out);
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (OtherWindow(event.key.windowID, state)) return 0;
            return TranslateKey(event.key, state, out);
        case SDL_MOUSEMOTION:
            if (OtherWindow(event.motion.windowID, state)) return 0;
            return TranslateMotion(event.motion, state, out);
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (OtherWindow(event.button.windowID, state)) return 0;
            return TranslateButton(event.button, state, out);
        case SDL_MOUSEWHEEL:
            if (OtherWindow(event.wheel.windowID, state)) return 0;
            return TranslateWheel(event.wheel, state, out);
        default:
            return 0;  // text input, quit requests from the system and the rest
    }
}
