// The fatal-message report over SDL's simple message box.
#include "platform/system/message_box.hpp"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>

namespace {
// A box needs a display; asking SDL for one without it only adds noise.
bool DesktopExists() {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (display && *display) || (wayland && *wayland);
}
}  // namespace

void ShowFatalMessage(const std::string& title, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
    if (!DesktopExists()) return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
}
