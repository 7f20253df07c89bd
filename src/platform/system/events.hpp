// Platform events: the TEvent record, hooks, the 256-event queue and the message pump.
// Platform-independent; the system driver (system_driver.hpp) feeds the pump.
#pragma once

#include <functional>
#include <memory>

// Base of every object that can travel through a hook.
class TObject {
  public:
    virtual ~TObject() = default;
};
using ObjectPtr = std::shared_ptr<TObject>;

// Event ids.
constexpr int EVENT_DEACTIVATE = 0x101;  // the window lost activation
constexpr int EVENT_ACTIVATE = 0x102;    // the window regained activation
constexpr int EVENT_CLOSE = 0x103;       // close request; the game does not act on it
constexpr int EVENT_KEY_DOWN = 0x201;    // first press of a key
constexpr int EVENT_KEY_UP = 0x202;
constexpr int EVENT_KEY_REPEAT = 0x204;  // auto-repeat while held
constexpr int EVENT_MOUSE_DOWN = 0x401;  // data 1 left, 2 right, 3 middle
constexpr int EVENT_MOUSE_UP = 0x402;
constexpr int EVENT_MOUSE_MOVE = 0x403;
constexpr int EVENT_MOUSE_WHEEL = 0x404;  // data: wheel steps, positive away from the user
constexpr int EVENT_MOUSE_ENTER = 0x405;  // first motion after the pointer was outside

// Modifier bits of TEvent::mods.
constexpr int MODIFIER_SHIFT = 1;
constexpr int MODIFIER_CONTROL = 2;
constexpr int MODIFIER_ALT = 4;
constexpr int MODIFIER_SYSTEM = 8;

constexpr int kEventQueueSize = 256;
constexpr int kEventQueuePriority = -10000;

class TEvent : public TObject {
  public:
    int id = 0;
    ObjectPtr source;
    int data = 0;
    int mods = 0;
    int x = 0;
    int y = 0;
    ObjectPtr extra;

    // A new event record with the given fields.
    static std::shared_ptr<TEvent> Create(int id, int data = 0, int mods = 0, int x = 0, int y = 0);
};
using EventPtr = std::shared_ptr<TEvent>;

// A hook entry's function: gets the hook id, the data and its context; returns the data
// for the next entry.
using THookFunction =
    std::function<ObjectPtr(int hook_id, const ObjectPtr& data, const ObjectPtr& context)>;

// A new hook id, never 0.
int AllocHookId();
// The hook run with every emitted event.
int EventEmitHook();
// The hook the drawing front end runs just before each present.
int FlipHook();
// Inserts an entry after every entry whose priority is >= `priority`.
void AddHook(int hook_id, THookFunction function, ObjectPtr context, int priority);
// Calls the entries in order, each with the previous result; returns the last result.
ObjectPtr RunHooks(int hook_id, ObjectPtr data);

// Runs the event-emission hook with `event`.
void EmitEvent(const EventPtr& event);
// Pops the oldest queued event (pumping first when the queue is empty); its id, or 0.
int NextEvent();
// The event last popped by NextEvent, or null.
EventPtr CurrentEvent();
// Number of events waiting in the queue.
int QueuedEvents();

// Takes every pending platform message and emits it; returns at once inside a pump.
void PumpMessages();
// True while a pump is running (hooks are being called from it).
bool Pumping();
// Queues a translated event for the next pump, ahead of the system's own messages. The
// system driver observes it as it is emitted.
void InjectEvent(const TEvent& event);
// Waits up to `timeout_ms` for platform messages without taking them; returns at once when
// some are pending or injected. An idle loop sleeps here instead of spinning.
void WaitForMessages(int timeout_ms);

// Fresh hooks (only the queue entry), empty queue, polled input off. For tests and tools.
void ResetEvents();
