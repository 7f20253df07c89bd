// The game's event hook. It runs inside the platform's pump, possibly in the middle of a play
// frame, and may itself run a play frame.
#include "game/event_hook.hpp"

#include <algorithm>
#include <cstdint>

#include "game/game_state.hpp"
#include "game/play_frame.hpp"
#include "game/play_rules.hpp"
#include "generate/generate_util.hpp"
#include "objects/object_state.hpp"
#include "platform/draw/draw.hpp"

using gen::Single;

namespace {
constexpr int kLeftButton = 1;
constexpr int kPauseImageFlags = IMAGE_MASKED | IMAGE_FILTERED | IMAGE_DYNAMIC;

// Raises `value` by `step` unless it has reached `limit` (tested before adding, in single
// precision).
void Raise(float& value, float step, float limit) {
    if (!(value >= limit)) value = static_cast<float>(value + Single(step));
}

void Lower(float& value, float step) {
    value = static_cast<float>(value - Single(step));
}

void OnKeyDown(int key) {
    TObjectState& o = Objects();
    switch (key) {
        case kKeyQ:
            spawn_enemy(Game());
            break;
        case kKeyPageUp:
            Raise(o.trail_fade, 0.01f, 0.98f);
            break;
        case kKeyPageDown:
            Lower(o.trail_fade, 0.01f);
            break;
        case kKeyUp:
            Raise(o.trail_speed, 0.05f, 1.0f);
            break;
        case kKeyDown:
            Lower(o.trail_speed, 0.05f);
            break;
        case kKeyP:
            toggle_pause();
            break;
        default:
            break;
    }
}

// Desktops place windows at signed 16-bit positions; the sum is taken wide, so no pointer
// position an event carries can overflow it.
int WindowCoordinate(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX));
}

// The window has no caption to drag by: while paused with the button down its centre
// follows the pointer. The pointer is read where it is now: the event's client position was
// taken against the window's place before the last moves, and would put the window behind.
void DragWindow(const TEvent& event) {
    const TGameState& g = Game();
    if (!g.pause_image || !IsButtonDown(kLeftButton)) return;
    int x, y;
    if (!ReadPointerNow(&x, &y)) x = event.x, y = event.y;
    const TWindowRect r = GetWindowRect(g.window_handle);
    MoveWindow(g.window_handle, WindowCoordinate(int64_t{r.left} + x - g.half_w),
               WindowCoordinate(int64_t{r.top} + y - g.half_h), g.screen_w, g.screen_h);
}
}  // namespace

void toggle_pause() {
    TGameState& g = Game();
    if (g.pause_image) {
        g.pause_image = nullptr;
        HidePointer();
        return;
    }
    Flip(0);
    g.pause_image = CreateImage(g.screen_w, g.screen_h, 1, kPauseImageFlags);
    // The back buffer keeps the frame just shown; its pure black pixels become transparent.
    CaptureImage(g.pause_image, 0, 0, 0);
    play_frame();  // now the pause view, presented
    ShowPointer();
}

ObjectPtr event_hook(int, const ObjectPtr& data, const ObjectPtr&) {
    const auto* event = dynamic_cast<const TEvent*>(data.get());
    if (!event) return nullptr;
    switch (event->id) {
        case EVENT_KEY_DOWN:
            OnKeyDown(event->data);
            break;
        case EVENT_MOUSE_MOVE:
            DragWindow(*event);
            break;
        case EVENT_MOUSE_ENTER:
            play_frame();
            break;
        default:
            break;
    }
    return data;
}
