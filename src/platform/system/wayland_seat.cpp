// Probes the Wayland compositor for an input seat before SDL's video starts, and narrows or
// refuses the driver choice when there is none. Depends on libwayland-client and SDL hints.
#include "platform/system/detail/wayland_seat.hpp"

#include <SDL2/SDL.h>
#include <wayland-client.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {
void OnGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
    if (std::strcmp(interface, "wl_seat") == 0) *static_cast<bool*>(data) = true;
}

void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

// libwayland's own rules: an absolute WAYLAND_DISPLAY, or a socket in XDG_RUNTIME_DIR.
// Without either, connecting only prints an error, and SDL could not connect either.
bool SocketNameable() {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    return (name && name[0] == '/') || std::getenv("XDG_RUNTIME_DIR");
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool NamesWayland(std::string_view list) {
    while (true) {
        const size_t comma = list.find(',');
        const std::string_view item = Trim(list.substr(0, comma));
        if (item.size() == 7 && SDL_strncasecmp(item.data(), "wayland", 7) == 0) return true;
        if (comma == std::string_view::npos) return false;
        list.remove_prefix(comma + 1);
    }
}
}  // namespace

TWaylandSeat ProbeWaylandSeat() {
    // A socket handed over in WAYLAND_SOCKET serves one connection: it is SDL's to take.
    if (std::getenv("WAYLAND_SOCKET") || !SocketNameable()) return TWaylandSeat::kNoCompositor;
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return TWaylandSeat::kNoCompositor;
    bool seat = false;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &seat);
    // The first roundtrip delivers every global the compositor has at connection time.
    const bool answered = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    if (!answered) return TWaylandSeat::kNoCompositor;
    return seat ? TWaylandSeat::kSeat : TWaylandSeat::kNoSeat;
}

bool MayPickWayland(const char* asked) {
    return !asked || Trim(asked).empty() || NamesWayland(asked);
}

TWaylandRoute ChooseWaylandRoute(const char* asked, TWaylandSeat seat) {
    if (seat != TWaylandSeat::kNoSeat || !MayPickWayland(asked)) return TWaylandRoute::kAsIs;
    // SDL tries X11 before Wayland on its own, so narrowing its choice to X11 changes
    // nothing where X11 works and turns a crash into a message where it does not.
    return asked && !Trim(asked).empty() ? TWaylandRoute::kRefuse : TWaylandRoute::kX11Only;
}

bool AvoidSeatlessWayland(std::string* note) {
    note->clear();
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (!MayPickWayland(asked)) return true;  // no compositor to disturb, no probe to pay
    switch (ChooseWaylandRoute(asked, ProbeWaylandSeat())) {
        case TWaylandRoute::kAsIs:
            return true;
        case TWaylandRoute::kX11Only:
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
            *note = " (the Wayland compositor was passed over: it offers no input seat)";
            return true;
        case TWaylandRoute::kRefuse:
            *note =
                "the Wayland compositor offers no input seat (no pointer or keyboard); connect "
                "one, or leave 'wayland' out of SDL_VIDEODRIVER to use X11";
            return false;
    }
    return true;
}

namespace {
void DropLine(const char*, va_list) {}

// libwayland's own handler: the message on standard error.
void PrintLine(const char* format, va_list args) {
    std::vfprintf(stderr, format, args);
}
}  // namespace

void HoldWaylandLog(bool hold) {
    wl_log_set_handler_client(hold ? DropLine : PrintLine);
}
