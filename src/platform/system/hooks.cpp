// Hook lists: entries kept in descending priority, equal priorities in the order added;
// running a hook chains each entry's result into the next.
#include <algorithm>
#include <atomic>

#include "platform/system/detail/events_state.hpp"

int AllocHookId() {
    static std::atomic<int> next{1};
    return next++;
}

int EventEmitHook() {
    static const int id = AllocHookId();
    return id;
}

int FlipHook() {
    static const int id = AllocHookId();
    return id;
}

void AddHook(int hook_id, THookFunction function, ObjectPtr context, int priority) {
    auto& list = detail::Events().hooks[hook_id];
    const auto at = std::find_if(list.begin(), list.end(), [priority](const auto& entry) {
        return entry.priority < priority;
    });
    list.insert(at, {std::move(function), std::move(context), priority});
}

ObjectPtr RunHooks(int hook_id, ObjectPtr data) {
    const auto found = detail::Events().hooks.find(hook_id);
    if (found == detail::Events().hooks.end()) return data;
    // A copy, so an entry may add hooks (or a test reset the system) while the list runs.
    const std::vector<detail::THookEntry> entries = found->second;
    for (const auto& entry : entries)
        data = entry.function(hook_id, data, entry.context);
    return data;
}
