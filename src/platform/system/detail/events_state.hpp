// Private to the platform: the event system's state in one plain record, so a test can
// start from a fresh one. Depends on events.hpp and input.hpp.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <vector>

#include "platform/system/events.hpp"
#include "platform/system/input.hpp"

namespace detail {

struct THookEntry {
    THookFunction function;
    ObjectPtr context;
    int priority = 0;
};

struct TEventSystem {
    std::map<int, std::vector<THookEntry>> hooks;
    std::array<EventPtr, kEventQueueSize> queue;
    uint32_t queue_get = 0;  // events taken
    uint32_t queue_put = 0;  // events posted
    EventPtr current;
    std::deque<TEvent> injected;
    bool pumping = false;
    bool input_enabled = false;
    TInputState input;
};

// The process's event system.
TEventSystem& Events();

}  // namespace detail
