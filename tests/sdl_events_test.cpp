// SDL event translation: ids, virtual-key codes, button numbers, pointer entry, focus,
// relative mode, and that nothing the platform reports yields a key code outside 1..255.
#include <gtest/gtest.h>

#include <vector>

#include "platform/system/detail/sdl_events.hpp"

namespace {
constexpr uint32_t kWindow = 7;

class SdlEventsTest : public ::testing::Test {
  protected:
    TSdlTranslation state;
    void SetUp() override {
        state.window_id = kWindow;
        state.pointer_inside = true;
        state.focused = true;
    }
    std::vector<TEvent> Translate(const SDL_Event& e) {
        TEvent out[kMaxTranslatedEvents];
        const int n = TranslateSdlEvent(e, state, out);
        return std::vector<TEvent>(out, out + n);
    }
};

SDL_Event Key(Uint32 type, SDL_Scancode scancode, SDL_Keycode sym, Uint8 repeat = 0,
              Uint16 mod = KMOD_NONE) {
    SDL_Event e{};
    e.key.type = type;
    e.key.windowID = kWindow;
    e.key.repeat = repeat;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

SDL_Event Motion(int x, int y, int xrel = 0, int yrel = 0) {
    SDL_Event e{};
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.windowID = kWindow;
    e.motion.x = x, e.motion.y = y, e.motion.xrel = xrel, e.motion.yrel = yrel;
    return e;
}

SDL_Event Button(Uint32 type, Uint8 button, int x, int y) {
    SDL_Event e{};
    e.button.type = type;
    e.button.windowID = kWindow;
    e.button.button = button;
    e.button.x = x, e.button.y = y;
    return e;
}

SDL_Event Window(SDL_WindowEventID id, uint32_t window = kWindow) {
    SDL_Event e{};
    e.window.type = SDL_WINDOWEVENT;
    e.window.windowID = window;
    e.window.event = id;
    return e;
}

// The code of a key that means what its position means (NumLock on).
int KeyCode(SDL_Scancode scancode) {
    SDL_Keysym k{};
    k.scancode = scancode;
    k.sym = SDL_SCANCODE_TO_KEYCODE(scancode);
    k.mod = KMOD_NUM;
    return VirtualKeyOf(k);
}

TEST_F(SdlEventsTest, KeysGiveTheirVirtualKeyCodes) {
    EXPECT_EQ(KeyCode(SDL_SCANCODE_ESCAPE), 27);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_PAGEUP), 33);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_PAGEDOWN), 34);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_LEFT), 37);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_UP), 38);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_RIGHT), 39);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_DOWN), 40);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_SPACE), 32);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_RETURN), 13);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_F1), 112);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_0), 48);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_KP_0), 96);
    SDL_Keysym letter{};
    for (char c = 'a'; c <= 'z'; ++c) {
        letter.scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_A + (c - 'a'));
        letter.sym = c;
        EXPECT_EQ(VirtualKeyOf(letter), c - 'a' + 65) << c;
    }
}

TEST_F(SdlEventsTest, LeftAndRightModifiersAreToldApart) {
    EXPECT_EQ(KeyCode(SDL_SCANCODE_LSHIFT), 160);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_RSHIFT), 161);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_LCTRL), 162);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_RCTRL), 163);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_LALT), 164);
    EXPECT_EQ(KeyCode(SDL_SCANCODE_RALT), 165);
    EXPECT_EQ(ModifiersOf(KMOD_RSHIFT | KMOD_LCTRL), MODIFIER_SHIFT | MODIFIER_CONTROL);
    EXPECT_EQ(ModifiersOf(KMOD_RALT | KMOD_LGUI), MODIFIER_ALT | MODIFIER_SYSTEM);
}

struct KeyCase {
    const char* what;
    SDL_Scancode scancode;  // where the key is
    SDL_Keycode sym;        // what the active layout makes of it
    Uint16 mod;
    int code;
};

// Keys are told by their meaning under the active layout and NumLock; the position counts only
// where the symbol names no key.
constexpr KeyCase kKeyCases[] = {
    {"Caps Lock remapped to Escape", SDL_SCANCODE_CAPSLOCK, SDLK_ESCAPE, KMOD_NONE, 27},
    {"Caps Lock remapped to Control", SDL_SCANCODE_CAPSLOCK, SDLK_LCTRL, KMOD_NONE, 162},
    {"Escape remapped to Caps Lock", SDL_SCANCODE_ESCAPE, SDLK_CAPSLOCK, KMOD_NONE, 20},
    {"Caps Lock", SDL_SCANCODE_CAPSLOCK, SDLK_CAPSLOCK, KMOD_CAPS, 20},
    {"keypad 8, NumLock on", SDL_SCANCODE_KP_8, SDLK_KP_8, KMOD_NUM, 104},
    {"keypad 8, NumLock off", SDL_SCANCODE_KP_8, SDLK_KP_8, KMOD_NONE, 38},
    {"keypad 9, NumLock on", SDL_SCANCODE_KP_9, SDLK_KP_9, KMOD_NUM, 105},
    {"keypad 9, NumLock off", SDL_SCANCODE_KP_9, SDLK_KP_9, KMOD_NONE, 33},
    {"keypad 2, NumLock on", SDL_SCANCODE_KP_2, SDLK_KP_2, KMOD_NUM | KMOD_LSHIFT, 98},
    {"keypad 2, NumLock off", SDL_SCANCODE_KP_2, SDLK_KP_2, KMOD_LSHIFT, 40},
    {"keypad 3, NumLock on", SDL_SCANCODE_KP_3, SDLK_KP_3, KMOD_NUM, 99},
    {"keypad 3, NumLock off", SDL_SCANCODE_KP_3, SDLK_KP_3, KMOD_NONE, 34},
    {"keypad 0, NumLock off", SDL_SCANCODE_KP_0, SDLK_KP_0, KMOD_NONE, 45},
    {"keypad 5, NumLock off", SDL_SCANCODE_KP_5, SDLK_KP_5, KMOD_NONE, 12},
    {"keypad point, NumLock on", SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, KMOD_NUM, 110},
    {"keypad point, NumLock off", SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, KMOD_NONE, 46},
    {"keypad Enter, NumLock off", SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, KMOD_NONE, 13},
    {"keypad plus, NumLock off", SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, KMOD_NONE, 107},
    {"keypad 8 the system already made Up", SDL_SCANCODE_KP_8, SDLK_UP, KMOD_NONE, 38},
    {"Page Up", SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, KMOD_NONE, 33},
    {"Down", SDL_SCANCODE_DOWN, SDLK_DOWN, KMOD_NONE, 40},
    {"French layout: Q where US has A", SDL_SCANCODE_A, 'q', KMOD_NONE, 81},
    {"French layout: digit row types &", SDL_SCANCODE_1, '&', KMOD_NONE, '1'},
    {"Dvorak: P where US has R", SDL_SCANCODE_R, 'p', KMOD_NONE, 80},
    {"Dvorak: apostrophe where US has Q", SDL_SCANCODE_Q, '\'', KMOD_NONE, 222},
    {"Russian layout: a letter outside ASCII", SDL_SCANCODE_F, 0x430, KMOD_NONE, 'F'},
    {"Return", SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_NONE, 13},
    {"Delete", SDL_SCANCODE_DELETE, SDLK_DELETE, KMOD_NONE, 46},
    {"F12", SDL_SCANCODE_F12, SDLK_F12, KMOD_NONE, 123},
    {"left Shift", SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, KMOD_NONE, 0xA0},
    {"right Shift", SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, KMOD_NONE, 0xA1},
    {"left Control", SDL_SCANCODE_LCTRL, SDLK_LCTRL, KMOD_NONE, 0xA2},
    {"right Control", SDL_SCANCODE_RCTRL, SDLK_RCTRL, KMOD_NONE, 0xA3},
    {"left Alt", SDL_SCANCODE_LALT, SDLK_LALT, KMOD_NONE, 0xA4},
    {"right Alt", SDL_SCANCODE_RALT, SDLK_RALT, KMOD_NONE, 0xA5},
    {"AltGr, a symbol naming no key", SDL_SCANCODE_RALT, SDLK_MODE, KMOD_NONE, 0xA5},
    {"neither symbol nor position known", SDL_SCANCODE_UNKNOWN, SDLK_UNKNOWN, KMOD_NONE, 0},
};

TEST_F(SdlEventsTest, KeysAreToldByTheirMeaningBeforeTheirPosition) {
    for (const KeyCase& c : kKeyCases) {
        SDL_Keysym key{};
        key.scancode = c.scancode;
        key.sym = c.sym;
        key.mod = c.mod;
        EXPECT_EQ(VirtualKeyOf(key), c.code) << c.what;
    }
}

TEST_F(SdlEventsTest, LettersFollowTheLayoutAndFallBackToThePosition) {
    SDL_Keysym k{};
    k.scancode = SDL_SCANCODE_A;  // the key where a French layout has Q
    k.sym = 'q';
    EXPECT_EQ(VirtualKeyOf(k), 81);
    k.sym = 0x444;  // a letter outside ASCII on that key
    EXPECT_EQ(VirtualKeyOf(k), 65);
}

TEST_F(SdlEventsTest, PressRepeatAndReleaseHaveTheirOwnIds) {
    auto down = Translate(Key(SDL_KEYDOWN, SDL_SCANCODE_P, 'p', 0, KMOD_LSHIFT));
    ASSERT_EQ(down.size(), 1u);
    EXPECT_EQ(down[0].id, EVENT_KEY_DOWN);
    EXPECT_EQ(down[0].data, 80);
    EXPECT_EQ(down[0].mods, MODIFIER_SHIFT);
    auto repeat = Translate(Key(SDL_KEYDOWN, SDL_SCANCODE_P, 'p', 1));
    ASSERT_EQ(repeat.size(), 1u);
    EXPECT_EQ(repeat[0].id, EVENT_KEY_REPEAT);
    auto up = Translate(Key(SDL_KEYUP, SDL_SCANCODE_P, 'p'));
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].id, EVENT_KEY_UP);
    EXPECT_EQ(up[0].data, 80);
}

TEST_F(SdlEventsTest, NoKeyEverGivesACodeOutsideOneTo255) {
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s) {
        for (SDL_Keycode sym :
             {SDL_SCANCODE_TO_KEYCODE(s), SDL_Keycode(0), SDL_Keycode(0x10FFFF), SDL_Keycode(-5)}) {
            auto events = Translate(Key(SDL_KEYDOWN, static_cast<SDL_Scancode>(s), sym));
            for (const TEvent& e : events) {
                ASSERT_GE(e.data, 1) << s;
                ASSERT_LE(e.data, 255) << s;
            }
        }
    }
    // A key with no virtual-key code gives no event at all.
    EXPECT_TRUE(Translate(Key(SDL_KEYDOWN, SDL_SCANCODE_UNKNOWN, 0)).empty());
    EXPECT_TRUE(Translate(Key(SDL_KEYDOWN, SDL_SCANCODE_MUTE, SDLK_MUTE)).empty());
}

TEST_F(SdlEventsTest, ButtonsAreNumberedLeftRightMiddle) {
    const std::pair<Uint8, int> cases[] = {
        {SDL_BUTTON_LEFT, 1}, {SDL_BUTTON_RIGHT, 2}, {SDL_BUTTON_MIDDLE, 3}, {SDL_BUTTON_X1, 4}};
    for (const auto& [sdl, game] : cases) {
        auto down = Translate(Button(SDL_MOUSEBUTTONDOWN, sdl, 30, 40));
        auto up = Translate(Button(SDL_MOUSEBUTTONUP, sdl, 31, 41));
        ASSERT_EQ(down.size(), 1u);
        ASSERT_EQ(up.size(), 1u);
        EXPECT_EQ(down[0].id, EVENT_MOUSE_DOWN);
        EXPECT_EQ(down[0].data, game);
        EXPECT_EQ(down[0].x, 30);
        EXPECT_EQ(up[0].id, EVENT_MOUSE_UP);
        EXPECT_EQ(up[0].data, game);
        EXPECT_EQ(up[0].y, 41);
    }
}

TEST_F(SdlEventsTest, FirstMotionAfterThePointerWasOutsideEntersFirst) {
    state.pointer_inside = false;
    auto first = Translate(Motion(12, 34));
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].id, EVENT_MOUSE_ENTER);
    EXPECT_EQ(first[1].id, EVENT_MOUSE_MOVE);
    EXPECT_EQ(first[0].x, 12);
    EXPECT_EQ(first[1].y, 34);
    EXPECT_EQ(Translate(Motion(13, 34)).size(), 1u);
    EXPECT_TRUE(Translate(Window(SDL_WINDOWEVENT_LEAVE)).empty());
    auto again = Translate(Motion(-3, 600));  // negative while captured outside
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[0].id, EVENT_MOUSE_ENTER);
    EXPECT_EQ(again[1].x, -3);
}

TEST_F(SdlEventsTest, FocusCloseAndInputOfThisWindowOnly) {
    auto lost = Translate(Window(SDL_WINDOWEVENT_FOCUS_LOST));
    auto gained = Translate(Window(SDL_WINDOWEVENT_FOCUS_GAINED));
    auto close = Translate(Window(SDL_WINDOWEVENT_CLOSE));
    ASSERT_EQ(lost.size(), 1u);
    ASSERT_EQ(gained.size(), 1u);
    ASSERT_EQ(close.size(), 1u);
    EXPECT_EQ(lost[0].id, EVENT_DEACTIVATE);
    EXPECT_EQ(gained[0].id, EVENT_ACTIVATE);
    EXPECT_EQ(close[0].id, EVENT_CLOSE);
    EXPECT_TRUE(Translate(Window(SDL_WINDOWEVENT_EXPOSED)).empty());
    EXPECT_TRUE(Translate(Window(SDL_WINDOWEVENT_FOCUS_LOST, kWindow + 1)).empty());
    SDL_Event unfocused = Key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    unfocused.key.windowID = 0;  // pressed before the window had the focus: still ours
    EXPECT_EQ(Translate(unfocused).size(), 1u);
    unfocused.key.windowID = kWindow + 1;
    EXPECT_TRUE(Translate(unfocused).empty());
    SDL_Event other{};
    for (Uint32 type : {Uint32(SDL_QUIT), Uint32(SDL_TEXTINPUT), Uint32(SDL_TEXTEDITING),
                        Uint32(SDL_KEYMAPCHANGED), Uint32(SDL_USEREVENT)}) {
        other.type = type;
        EXPECT_TRUE(Translate(other).empty()) << type;
    }
}

// Activation releases every button, so the click that gives the window the focus must come
// after it, whichever order the window system reports them in.
TEST_F(SdlEventsTest, TheClickThatGivesTheFocusComesAfterTheActivation) {
    auto ids = [&](const SDL_Event& e) {
        std::vector<int> out;
        for (const TEvent& t : Translate(e))
            out.push_back(t.id);
        return out;
    };
    using Ids = std::vector<int>;
    const SDL_Event press = Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 6);
    const SDL_Event release = Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 5, 6);
    // The focus first, then the click.
    state.focused = false;
    EXPECT_EQ(ids(Window(SDL_WINDOWEVENT_FOCUS_GAINED)), Ids{EVENT_ACTIVATE});
    EXPECT_EQ(ids(press), Ids{EVENT_MOUSE_DOWN});
    // The click first, while the system already gives the window the focus.
    EXPECT_EQ(ids(Window(SDL_WINDOWEVENT_FOCUS_LOST)), Ids{EVENT_DEACTIVATE});
    state.system_focus = true;
    EXPECT_EQ(ids(press), (Ids{EVENT_ACTIVATE, EVENT_MOUSE_DOWN}));
    EXPECT_TRUE(state.focused);
    EXPECT_EQ(ids(Window(SDL_WINDOWEVENT_FOCUS_GAINED)), Ids{});  // told already
    EXPECT_EQ(ids(release), Ids{EVENT_MOUSE_UP});
    // A click on a window that does not get the focus (no window manager) activates nothing.
    EXPECT_EQ(ids(Window(SDL_WINDOWEVENT_FOCUS_LOST)), Ids{EVENT_DEACTIVATE});
    EXPECT_EQ(ids(Window(SDL_WINDOWEVENT_FOCUS_LOST)), Ids{});
    state.system_focus = false;
    EXPECT_EQ(ids(press), Ids{EVENT_MOUSE_DOWN});
    EXPECT_FALSE(state.focused);
}

TEST_F(SdlEventsTest, WheelStepsKeepTheirSignAcrossFlippedDevices) {
    SDL_Event e{};
    e.wheel.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = kWindow;
    e.wheel.y = 2;
    auto normal = Translate(e);
    e.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    auto flipped = Translate(e);
    ASSERT_EQ(normal.size(), 1u);
    ASSERT_EQ(flipped.size(), 1u);
    EXPECT_EQ(normal[0].id, EVENT_MOUSE_WHEEL);
    EXPECT_EQ(normal[0].data, 2);
    EXPECT_EQ(flipped[0].data, -2);
    e.wheel.y = INT32_MIN;  // negating it must not overflow
    EXPECT_EQ(Translate(e)[0].data, INT32_MAX);
    e.wheel.y = 0;
    e.wheel.x = 1;  // sideways only: nothing the game has an id for
    EXPECT_TRUE(Translate(e).empty());
}

TEST_F(SdlEventsTest, RelativeModeSumsDeltasFromTheLastPosition) {
    state.relative = true;
    state.pointer_x = 640;
    state.pointer_y = 250;
    auto moved = Translate(Motion(0, 0, 7, -2));
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].x, 647);
    EXPECT_EQ(moved[0].y, 248);
    auto more = Translate(Motion(0, 0, -20, 0));
    EXPECT_EQ(more[0].x, 627);
    auto click = Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 0, 0));
    EXPECT_EQ(click[0].x, 627);  // buttons report the summed position too
    // Positions stay signed 16-bit however far the mouse travels without a re-centring.
    for (int i = 0; i < 3; ++i)
        Translate(Motion(0, 0, 2000000000, -2000000000));
    auto far = Translate(Motion(0, 0, 1, -1));
    EXPECT_EQ(far[0].x, 32767);
    EXPECT_EQ(far[0].y, -32768);
}

TEST_F(SdlEventsTest, MouseEventsCarryTheModifiersOfTheMoment) {
    state.mods = MODIFIER_CONTROL;
    auto e = Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 1));
    EXPECT_EQ(e[0].mods, MODIFIER_CONTROL);
}
}  // namespace
