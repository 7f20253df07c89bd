// The event queue: a ring of 256 events fed by the lowest-priority entry of the emission
// hook; a full ring drops new events (the hooks before it have still seen them).
#include "platform/system/detail/events_state.hpp"

namespace detail {
// Posts every emitted TEvent into the ring unless it is full; returns the data unchanged.
ObjectPtr QueueHook(int, const ObjectPtr& data, const ObjectPtr&) {
    auto event = std::dynamic_pointer_cast<TEvent>(data);
    auto& s = Events();
    if (event && s.queue_put - s.queue_get < static_cast<uint32_t>(kEventQueueSize)) {
        s.queue[s.queue_put % kEventQueueSize] = std::move(event);
        ++s.queue_put;
    }
    return data;
}
}  // namespace detail

void EmitEvent(const EventPtr& event) {
    RunHooks(EventEmitHook(), event);
}

int QueuedEvents() {
    const auto& s = detail::Events();
    return static_cast<int>(s.queue_put - s.queue_get);
}

int NextEvent() {
    if (QueuedEvents() == 0) PumpMessages();
    auto& s = detail::Events();
    if (QueuedEvents() == 0) {
        s.current = nullptr;
        return 0;
    }
    auto& slot = s.queue[s.queue_get % kEventQueueSize];
    s.current = std::move(slot);
    slot = nullptr;
    ++s.queue_get;
    return s.current->id;
}

EventPtr CurrentEvent() {
    return detail::Events().current;
}
