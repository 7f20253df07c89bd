// The message pump: delivers injected events, then the system driver's messages, through
// the emission hook. A pump started from a hook returns at once.
#include "platform/system/detail/events_state.hpp"
#include "platform/system/system_driver.hpp"

namespace {
TSystemDriver* g_system = nullptr;

void Emit(const TEvent& event) {
    EmitEvent(std::make_shared<TEvent>(event));
}

// Clears the re-entrancy flag however the pump is left.
struct PumpGuard {
    PumpGuard() { detail::Events().pumping = true; }
    ~PumpGuard() { detail::Events().pumping = false; }
    PumpGuard(const PumpGuard&) = delete;
    PumpGuard& operator=(const PumpGuard&) = delete;
};
}  // namespace

void SetSystemDriver(TSystemDriver* driver) {
    g_system = driver;
}

TSystemDriver* CurrentSystemDriver() {
    return g_system;
}

void PumpMessages() {
    if (detail::Events().pumping) return;
    PumpGuard guard;
    auto& injected = detail::Events().injected;
    while (!injected.empty()) {
        const TEvent event = injected.front();
        injected.pop_front();
        if (g_system) g_system->Observe(event);
        Emit(event);
    }
    if (g_system) g_system->Poll(Emit);
}

bool Pumping() {
    return detail::Events().pumping;
}

void InjectEvent(const TEvent& event) {
    detail::Events().injected.push_back(event);
}

void WaitForMessages(int timeout_ms) {
    if (!detail::Events().injected.empty() || !g_system) return;
    g_system->WaitMessage(timeout_ms);
}
