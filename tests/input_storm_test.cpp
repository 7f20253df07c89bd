// Every kind of input a window can deliver, through SDL translation, the pump and the started
// game's hooks: extra buttons, the wheel, text input, keys without a code, thousands of events
// in one frame and focus flapping. Nothing indexes past an array and no Escape or P is lost.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "game_fixture.hpp"
#include "platform/system/detail/sdl_events.hpp"

namespace {
std::vector<TEvent> Translate(const SDL_Event& e, TSdlTranslation& state) {
    TEvent out[kMaxTranslatedEvents];
    const int n = TranslateSdlEvent(e, state, out);
    return std::vector<TEvent>(out, out + n);
}

SDL_Event Button(Uint32 type, Uint8 button) {
    SDL_Event e{};
    e.button.type = type;
    e.button.button = button;
    e.button.x = 10, e.button.y = 20;
    return e;
}

TEST(SdlInputEdges, ExtraButtonsKeepTheirNumbersAndPollAsNothing) {
    TSdlTranslation state;
    ResetEvents();
    EnablePolledInput();
    for (int b = 4; b <= 255; ++b) {
        for (const Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            const auto events = Translate(Button(type, static_cast<Uint8>(b)), state);
            ASSERT_EQ(events.size(), 1u);
            EXPECT_EQ(events[0].data, b);
            InjectEvent(events[0]);
        }
    }
    PumpMessages();
    for (int b = 1; b <= 3; ++b)
        EXPECT_EQ(IsButtonDown(b) + TakeButtonHits(b), 0) << b;
    EXPECT_EQ(IsButtonDown(255), 0);
    EXPECT_EQ(TakeButtonHits(255), 0);
    ResetEvents();
}

TEST(SdlInputEdges, WheelExtremesClampAndZeroGivesNothing) {
    TSdlTranslation state;
    SDL_Event e{};
    e.wheel.type = SDL_MOUSEWHEEL;
    e.wheel.y = INT_MIN;
    e.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    auto events = Translate(e, state);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].data, INT_MAX);
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    events = Translate(e, state);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].data, INT_MIN + 1);  // negates safely
    e.wheel.y = 0;
    e.wheel.x = 5;  // sideways only
    EXPECT_TRUE(Translate(e, state).empty());
}

TEST(SdlInputEdges, TextInputAndKeysWithoutACodeGiveNothing) {
    TSdlTranslation state;
    SDL_Event text{};
    text.text.type = SDL_TEXTINPUT;
    std::snprintf(text.text.text, sizeof text.text.text, "%s", "\xc3\xa9Q");
    EXPECT_TRUE(Translate(text, state).empty());
    SDL_Event key{};
    for (const Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
        key.key.type = type;
        for (const int scancode :
             {-1, 0, int{SDL_NUM_SCANCODES}, SDL_NUM_SCANCODES + 100, INT_MAX}) {
            std::memcpy(&key.key.keysym.scancode, &scancode, sizeof scancode);  // any stored int
            for (const SDL_Keycode sym : {0, 0x40000FFF, -5, 0x7FFFFFFF}) {
                key.key.keysym.sym = sym;
                EXPECT_TRUE(Translate(key, state).empty()) << scancode << " " << sym;
            }
        }
    }
}

class InputStormTest : public GameTest {
  protected:
    // Queues `count` events of every kind the hooks may see, none of them Escape or P.
    static void InjectStorm(int count) {
        TEvent e;
        for (int i = 0; i < count; ++i) {
            const int ids[] = {EVENT_KEY_DOWN,    EVENT_KEY_UP,     EVENT_KEY_REPEAT,
                               EVENT_MOUSE_DOWN,  EVENT_MOUSE_UP,   EVENT_MOUSE_MOVE,
                               EVENT_MOUSE_WHEEL, EVENT_DEACTIVATE, EVENT_ACTIVATE};
            e.id = ids[i % 9];
            e.data = (i * 7919) % 300 - 20;  // keys and buttons in and out of range
            if (e.id == EVENT_KEY_DOWN && (e.data == 27 || e.data == 'P' || e.data == 'Q'))
                e.data = 0;
            e.x = (i % 3 == 0) ? INT_MIN + i : (i * 13) % 1400 - 60;
            e.y = (i % 5 == 0) ? INT_MAX - i : (i * 17) % 600 - 50;
            InjectEvent(e);
        }
    }
    static void InjectKey(int key) {
        TEvent e;
        e.id = EVENT_KEY_DOWN;
        e.data = key;
        InjectEvent(e);
    }
};

TEST_F(InputStormTest, AnEscapeAfterThousandsOfEventsInOneFrameStillEndsTheGame) {
    InjectStorm(5000);
    InjectKey(27);
    EXPECT_EQ(Replay("", 10).size(), 1u);
}

TEST_F(InputStormTest, APAfterThousandsOfEventsInOneFrameStillPauses) {
    InjectStorm(5000);
    InjectKey('P');
    const auto rows = Replay("", 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(G().pause_image);
    InjectStorm(3000);
    InjectKey('P');
    Replay("", 1);
    EXPECT_FALSE(G().pause_image);
}

TEST_F(InputStormTest, FocusFlappingLeavesNothingHeldAndPlayGoesOn) {
    const auto rows = Replay(
        "0 down 1\n0 keydown 38\n"
        "1 focus-out\n1 focus-in\n1 focus-out\n1 focus-in\n1 focus-out\n"
        "2 focus-in\n2 focus-out\n2 focus-in\n",
        5);
    EXPECT_EQ(rows.size(), 5u);
    EXPECT_EQ(PolledInput().button_down[1], false);
    EXPECT_EQ(PolledInput().key_down[38], false);
}
}  // namespace
