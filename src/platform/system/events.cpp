// The event record and the event system's state: created with the queue entry on the
// emission hook, and resettable for tests and tools.
#include "platform/system/detail/events_state.hpp"

namespace detail {
ObjectPtr QueueHook(int hook_id, const ObjectPtr& data, const ObjectPtr& context);
}

namespace {
detail::TEventSystem Fresh() {
    detail::TEventSystem system;
    system.hooks[EventEmitHook()].push_back({detail::QueueHook, nullptr, kEventQueuePriority});
    return system;
}
}  // namespace

std::shared_ptr<TEvent> TEvent::Create(int id, int data, int mods, int x, int y) {
    auto event = std::make_shared<TEvent>();
    event->id = id;
    event->data = data;
    event->mods = mods;
    event->x = x;
    event->y = y;
    return event;
}

detail::TEventSystem& detail::Events() {
    static TEventSystem system = Fresh();
    return system;
}

void ResetEvents() {
    detail::Events() = Fresh();
}
