// Caption removal and window text, through the platform's window operations.
#include "game/window_title.hpp"

#include <string>

#include "game/game_state.hpp"
#include "platform/system/system.hpp"

void strip_caption() {
    const TWindowHandle window = ActiveWindow();
    SetWindowStyle(window, GetWindowStyle(window) ^ WINDOW_STYLE_CAPTION);
    // The graphics were opened at the screen size; the frame is recomputed around it.
    SetWindowClientSize(window, Game().screen_w, Game().screen_h);
}

void set_window_title(TWindowHandle window) {
    const std::string bytes = Game().app_title;
    SetWindowText(window, bytes.c_str());
}
