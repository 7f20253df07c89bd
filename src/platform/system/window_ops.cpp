// Window operations forwarded to the system driver when the handle names its window;
// anything else is ignored, as a stale handle should be.
#include "platform/system/window_ops.hpp"

namespace {
std::string g_app_title = "Orbitrants";

TSystemDriver* DriverFor(TWindowHandle window) {
    auto* system = CurrentSystemDriver();
    if (!system || window == 0 || system->Window() != window) return nullptr;
    return system;
}
}  // namespace

TWindowHandle ActiveWindow() {
    const auto* system = CurrentSystemDriver();
    return system ? system->Window() : 0;
}

int GetWindowStyle(TWindowHandle window) {
    const auto* system = DriverFor(window);
    return system ? system->GetStyle() : 0;
}

void SetWindowStyle(TWindowHandle window, int style) {
    if (auto* system = DriverFor(window)) system->SetStyle(style);
}

void SetWindowClientSize(TWindowHandle window, int width, int height) {
    if (auto* system = DriverFor(window)) system->SetClientSize(width, height);
}

void SetWindowText(TWindowHandle window, const char* text) {
    if (auto* system = DriverFor(window)) system->SetTitle(text ? text : "");
}

TWindowRect GetWindowRect(TWindowHandle window) {
    const auto* system = DriverFor(window);
    return system ? system->GetRect() : TWindowRect{};
}

void MoveWindow(TWindowHandle window, int left, int top, int width, int height) {
    if (auto* system = DriverFor(window)) system->Move(left, top, width, height);
}

void SetAppTitle(const std::string& title) {
    g_app_title = title;
}

const std::string& AppTitle() {
    return g_app_title;
}
