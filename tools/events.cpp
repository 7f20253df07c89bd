// orbitrants-events: opens a window as the game does and prints every event the platform
// emits, one line each, as the game's own hook would see it, until Escape. For checking key
// codes under a keyboard layout, focus and clicks on a desktop. Depends on the platform.
#include <cstdio>
#include <cstring>

#include "platform/draw/draw.hpp"

namespace {
constexpr int kWidth = 640, kHeight = 400;
constexpr int kBackBuffered = 2;
constexpr int kEscape = 27;

const char* NameOf(int id) {
    switch (id) {
        case EVENT_DEACTIVATE:
            return "deactivate";
        case EVENT_ACTIVATE:
            return "activate";
        case EVENT_CLOSE:
            return "close";
        case EVENT_KEY_DOWN:
            return "key-down";
        case EVENT_KEY_UP:
            return "key-up";
        case EVENT_KEY_REPEAT:
            return "key-repeat";
        case EVENT_MOUSE_DOWN:
            return "mouse-down";
        case EVENT_MOUSE_UP:
            return "mouse-up";
        case EVENT_MOUSE_MOVE:
            return "mouse-move";
        case EVENT_MOUSE_WHEEL:
            return "mouse-wheel";
        case EVENT_MOUSE_ENTER:
            return "mouse-enter";
        default:
            return "other";
    }
}

// Runs after the polled-input hook, as the game's does: `left` is the left button as the game
// would read it while handling the event.
ObjectPtr PrintEvent(int, const ObjectPtr& data, const ObjectPtr&) {
    if (const auto* e = dynamic_cast<const TEvent*>(data.get())) {
        std::printf("0x%03x %-11s data=%d x=%d y=%d mods=%d left=%d\n", e->id, NameOf(e->id),
                    e->data, e->x, e->y, e->mods, IsButtonDown(1));
        std::fflush(stdout);
    }
    return data;
}
}  // namespace

int main(int argc, char**) {
    if (argc > 1) {
        std::fprintf(stderr, "usage: orbitrants-events (Escape in its window ends it)\n");
        return 2;
    }
    // Below the polled-input hook that opening the graphics adds (priority 0), and in place
    // before the window opens, so the activation it gets on opening is printed too.
    AddHook(EventEmitHook(), PrintEvent, nullptr, -1);
    SelectGraphicsDriver(CreateGLDriver(), kBackBuffered);
    SetAppTitle("orbitrants-events");
    if (!OpenGraphics(kWidth, kHeight, 0, 60, 0)) {
        std::fprintf(stderr, "orbitrants-events: %s\n", LastGraphicsError().c_str());
        return 1;
    }
    SetClsColor(52, 84, 145);
    while (TakeKeyHits(kEscape) == 0) {
        NextEvent();
        Cls();
        Flip(1);
    }
    return 0;
}
