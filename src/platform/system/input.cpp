// Polled input: the first entry on the emission hook records keys, buttons and the pointer;
// the queries pump first so the state is current. Codes outside the arrays are ignored.
#include "platform/system/input.hpp"

#include "platform/system/detail/events_state.hpp"

namespace {
TInputState& State() {
    return detail::Events().input;
}

bool ValidKey(int key) {
    return key > 0 && key < kKeyCount;
}

bool ValidButton(int button) {
    return button > 0 && button < kButtonCount;
}

void Press(bool& down, int& hits) {
    if (down) return;
    down = true;
    ++hits;
}

void ClearKeys(TInputState& s) {
    s.key_down.fill(false);
    s.key_hits.fill(0);
}

void ClearMouse(TInputState& s) {
    s.button_down.fill(false);
    s.button_hits.fill(0);
}

void Apply(const TEvent& e) {
    auto& s = State();
    switch (e.id) {
        case EVENT_DEACTIVATE:
        case EVENT_ACTIVATE:
            // A key or button held while the focus changes counts as released.
            ClearKeys(s);
            ClearMouse(s);
            break;
        case EVENT_KEY_DOWN:
            if (ValidKey(e.data)) Press(s.key_down[e.data], s.key_hits[e.data]);
            break;
        case EVENT_KEY_UP:
            if (ValidKey(e.data)) s.key_down[e.data] = false;
            break;
        case EVENT_MOUSE_DOWN:
            if (ValidButton(e.data)) Press(s.button_down[e.data], s.button_hits[e.data]);
            break;
        case EVENT_MOUSE_UP:
            if (ValidButton(e.data)) s.button_down[e.data] = false;
            break;
        case EVENT_MOUSE_MOVE:
            s.pointer_x = e.x;
            s.pointer_y = e.y;
            break;
        default:
            break;
    }
}

ObjectPtr InputHook(int, const ObjectPtr& data, const ObjectPtr&) {
    if (const auto* event = dynamic_cast<const TEvent*>(data.get())) Apply(*event);
    return data;
}

int Take(int& hits) {
    const int n = hits;
    hits = 0;
    return n;
}
}  // namespace

void EnablePolledInput() {
    auto& s = detail::Events();
    if (!s.input_enabled) {
        s.input_enabled = true;
        AddHook(EventEmitHook(), InputHook, nullptr, 0);
    }
    FlushKeys();
    FlushMouse();
}

const TInputState& PolledInput() {
    return State();
}

int TakeKeyHits(int key) {
    PumpMessages();
    return ValidKey(key) ? Take(State().key_hits[key]) : 0;
}

int KeyDown(int key) {
    PumpMessages();
    return ValidKey(key) && State().key_down[key] ? 1 : 0;
}

int TakeButtonHits(int button) {
    PumpMessages();
    return ValidButton(button) ? Take(State().button_hits[button]) : 0;
}

int IsButtonDown(int button) {
    PumpMessages();
    return ValidButton(button) && State().button_down[button] ? 1 : 0;
}

int PointerX() {
    PumpMessages();
    return State().pointer_x;
}

int PointerY() {
    PumpMessages();
    return State().pointer_y;
}

void FlushKeys() {
    PumpMessages();
    ClearKeys(State());
}

void FlushMouse() {
    PumpMessages();
    ClearMouse(State());
}

void SetPolledPointer(int x, int y) {
    State().pointer_x = x;
    State().pointer_y = y;
}
