// Private to the platform: keeps SDL off a Wayland compositor that offers no input seat,
// where SDL 2.26's Wayland driver crashes while starting (it uses its seat unchecked).
// Depends on libwayland-client and SDL's hints.
#pragma once

#include <string>

enum class TWaylandSeat {
    kNoCompositor,  // none reachable, or probing could disturb SDL's own connection
    kSeat,
    kNoSeat,
};

enum class TWaylandRoute {
    kAsIs,     // let SDL choose or honour the request as it stands
    kX11Only,  // SDL's own choice would fall through to the seatless compositor
    kRefuse,   // the user asked for the seatless compositor
};

// Connects to the compositor SDL's Wayland driver would use and looks for a wl_seat.
TWaylandSeat ProbeWaylandSeat();

// True when the video driver request `asked` (SDL_VIDEODRIVER, a comma-separated list, or
// null/empty when unset) may lead SDL to its Wayland driver.
bool MayPickWayland(const char* asked);

// What to do before starting SDL's video, given the request and what the probe found.
TWaylandRoute ChooseWaylandRoute(const char* asked, TWaylandSeat seat);

// Applies the route before SDL's video starts. False refuses the start, `note` saying why;
// otherwise `note` is empty, or names the compositor passed over for a later failure message.
bool AvoidSeatlessWayland(std::string* note);

// While held, libwayland's client messages are dropped (the game reports a failure to start in
// its own words); released, they print on standard error as libwayland prints them.
void HoldWaylandLog(bool hold);
