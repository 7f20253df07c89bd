// The game's event hook. Pause, dragging and tuning keys arrive with the play rules; for
// now it only passes events on.
#include "game/event_hook.hpp"

ObjectPtr event_hook(int, const ObjectPtr& data, const ObjectPtr&) {
    if (!std::dynamic_pointer_cast<TEvent>(data)) return nullptr;
    return data;
}
