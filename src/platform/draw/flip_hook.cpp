// The one place where presenting a frame tells the rest of the program: the flip hook.
#include "platform/system/events.hpp"

// Runs the flip hook before every present (Flip).
void EmitFlipHook() {
    RunHooks(FlipHook(), nullptr);
}
