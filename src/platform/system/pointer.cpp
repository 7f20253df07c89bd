// Pointer operations over the system driver; without one (tests) only the visibility flag
// changes.
#include "platform/system/pointer.hpp"

#include "platform/system/input.hpp"
#include "platform/system/system_driver.hpp"

namespace {
bool g_visible = true;

void SetVisible(bool visible) {
    g_visible = visible;
    if (auto* system = CurrentSystemDriver()) system->SetPointerVisible(visible);
}
}  // namespace

void MoveMouse(int x, int y) {
    auto* system = CurrentSystemDriver();
    // Without the focus nothing moves, so nothing is recorded: the polled position keeps
    // following the real pointer, and the ship turns only by the pointer's own motion.
    if (!system || !system->HasFocus()) return;
    system->WarpPointer(x, y);
    // The warp's own motion event may come later; the game reads the position right away.
    SetPolledPointer(x, y);
}

void HidePointer() {
    SetVisible(false);
}

void ShowPointer() {
    SetVisible(true);
}

bool PointerVisible() {
    return g_visible;
}

bool ReadPointerNow(int* x, int* y) {
    const auto* system = CurrentSystemDriver();
    return system && system->PointerNow(x, y);
}
