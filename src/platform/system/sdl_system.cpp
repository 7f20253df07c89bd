// The SDL system driver: pumps SDL's queue through the translation, tracks focus and held
// buttons (the mouse is captured while one is down), moves and hides the pointer, and
// models the window's style word over SDL's bordered flag.
#include "platform/system/detail/sdl_system.hpp"

#include "platform/system/detail/x11_frame.hpp"
#include "platform/system/input.hpp"

namespace {
constexpr int kFramedStyle =
    WINDOW_STYLE_VISIBLE | WINDOW_STYLE_CAPTION | WINDOW_STYLE_SYSMENU | WINDOW_STYLE_MINIMIZEBOX;

bool HasCaption(int style) {
    return (style & WINDOW_STYLE_CAPTION) == WINDOW_STYLE_CAPTION;
}

int ButtonBit(int button) {
    return button > 0 && button < 31 ? 1 << button : 0;
}
}  // namespace

SdlSystem::SdlSystem(SDL_Window* window, bool headless)
    : window_(window), headless_(headless), style_(kFramedStyle) {
    const char* driver = SDL_GetCurrentVideoDriver();
    // Wayland lets no client move the pointer; relative mode stands in for the warp there.
    can_warp_ = !(driver && SDL_strcmp(driver, "wayland") == 0);
    const Uint32 flags = SDL_GetWindowFlags(window);
    translation_.focused = headless || (flags & SDL_WINDOW_INPUT_FOCUS) != 0;
    translation_.window_id = SDL_GetWindowID(window);
    translation_.pointer_inside = headless || (flags & SDL_WINDOW_MOUSE_FOCUS) != 0;
    if (headless) {  // a headless run starts with the pointer resting at the centre
        int w, h;
        SDL_GetWindowSize(window, &w, &h);
        translation_.pointer_x = w / 2;
        translation_.pointer_y = h / 2;
        SetPolledPointer(w / 2, h / 2);
    }
}

void SdlSystem::Poll(const std::function<void(const TEvent&)>& emit) {
    SDL_Event event;
    TEvent out[kMaxTranslatedEvents];
    bool moved = false;
    while (SDL_PollEvent(&event)) {
        translation_.mods = ModifiersOf(SDL_GetModState());
        // SDL has read the window system's messages ahead of the one being translated.
        translation_.system_focus =
            headless_ ? translation_.focused
                      : (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
        const int n = TranslateSdlEvent(event, translation_, out);
        for (int i = 0; i < n; ++i) {
            moved = moved || out[i].id == EVENT_MOUSE_MOVE;
            Track(out[i]);
            emit(out[i]);
        }
    }
    EmitUnreportedMotion(moved, emit);
    UpdateRelativeMode();
}

// A window moved under a still pointer changes the pointer's client position without a
// message, and SDL then drops the next motion that brings the client position back to the one
// it last reported: dragging the window in equal steps lost every other step. While a button
// is held over the shown pointer (the paused game's drag), a change of the pointer's screen
// position that no message reported is emitted as a motion.
void SdlSystem::EmitUnreportedMotion(bool reported,
                                     const std::function<void(const TEvent&)>& emit) {
    TPointerNow now;
    if (headless_ || translation_.relative || !pointer_visible_ || buttons_down_ == 0 ||
        !X11PointerNow(window_, &now)) {
        screen_x_ = screen_y_ = INT32_MIN;
        return;
    }
    const bool unreported = !reported && screen_x_ != INT32_MIN &&
                            (now.screen_x != screen_x_ || now.screen_y != screen_y_);
    screen_x_ = now.screen_x, screen_y_ = now.screen_y;
    if (!unreported) return;
    TEvent motion;
    motion.id = EVENT_MOUSE_MOVE;
    ClientOf(now, &motion.x, &motion.y);
    translation_.pointer_x = motion.x;
    translation_.pointer_y = motion.y;
    motion.mods = translation_.mods;
    emit(motion);
}

bool SdlSystem::PointerNow(int* x, int* y) const {
    TPointerNow now;
    if (headless_ || translation_.relative || !X11PointerNow(window_, &now)) return false;
    ClientOf(now, x, y);
    return true;
}

// The pointer's screen position less the client area's place as GetRect has it. The server's
// own client position would be taken against a place that a window manager may not have
// confirmed yet, or that SDL has not heard of yet; added to a GetRect of the other time it put
// the dragged window one step behind the pointer, and there it stayed.
void SdlSystem::ClientOf(const TPointerNow& now, int* x, int* y) const {
    int left, top;
    SDL_GetWindowPosition(window_, &left, &top);
    *x = now.screen_x - left, *y = now.screen_y - top;
}

void SdlSystem::WaitMessage(int timeout_ms) {
    SDL_WaitEventTimeout(nullptr, timeout_ms);
}

void SdlSystem::Track(const TEvent& event) {
    switch (event.id) {
        case EVENT_ACTIVATE:  // translation has set this already; injected events have not
            translation_.focused = true;
            break;
        case EVENT_DEACTIVATE:
            translation_.focused = false;
            buttons_down_ = 0;
            if (!headless_) SDL_CaptureMouse(SDL_FALSE);
            break;
        case EVENT_MOUSE_DOWN:
            // Held buttons keep reporting to this window even outside it, until released.
            if (buttons_down_ == 0 && !headless_) SDL_CaptureMouse(SDL_TRUE);
            buttons_down_ |= ButtonBit(event.data);
            break;
        case EVENT_MOUSE_UP:
            buttons_down_ &= ~ButtonBit(event.data);
            if (buttons_down_ == 0 && !headless_) SDL_CaptureMouse(SDL_FALSE);
            break;
        default:
            break;
    }
}

// Relative mode is held only while the pointer is hidden over the focused window, and only
// where the pointer cannot be warped.
void SdlSystem::UpdateRelativeMode() {
    const bool want = !can_warp_ && !headless_ && !pointer_visible_ && translation_.focused;
    if (want == translation_.relative) return;
    if (SDL_SetRelativeMouseMode(want ? SDL_TRUE : SDL_FALSE) == 0 || !want) {
        translation_.relative = want;
    }
}

TWindowHandle SdlSystem::Window() const {
    return reinterpret_cast<TWindowHandle>(window_);
}

void SdlSystem::WarpPointer(int x, int y) {
    // Relative positions continue from here, as they would after a real warp.
    translation_.pointer_x = x;
    translation_.pointer_y = y;
    if (headless_ || translation_.relative) return;
    SDL_WarpMouseInWindow(window_, x, y);
}

void SdlSystem::SetPointerVisible(bool visible) {
    pointer_visible_ = visible;
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    UpdateRelativeMode();
}

// The frame as SDL last read it; none where SDL cannot tell (headless).
void SdlSystem::Borders(int* left, int* top, int* right, int* bottom) const {
    if (SDL_GetWindowBordersSize(window_, top, left, bottom, right) != 0)
        *left = *top = *right = *bottom = 0;
}

void SdlSystem::SetStyle(int style) {
    const bool had_caption = HasCaption(style_);
    if (had_caption == HasCaption(style)) {
        style_ = style;
        return;
    }
    // The outer top-left corner stays where it is; the client area moves into it. A window
    // manager redraws the frame in its own time, and only then are the new extents known.
    const TWindowRect before = GetRect();
    const TFrameExtents frame = CurrentFrameExtents(window_);
    style_ = style;
    SDL_SetWindowBordered(window_, had_caption ? SDL_FALSE : SDL_TRUE);
    AwaitFrameExtents(window_, frame);
    int left, top, right, bottom;
    Borders(&left, &top, &right, &bottom);
    SDL_SetWindowPosition(window_, before.left + left, before.top + top);
}

void SdlSystem::SetClientSize(int width, int height) {
    int w, h;
    SDL_GetWindowSize(window_, &w, &h);
    // SDL moves a fixed-size window as it resizes it; a size that is right already is left be.
    if (width > 0 && height > 0 && (width != w || height != h))
        SDL_SetWindowSize(window_, width, height);
}

void SdlSystem::SetTitle(const std::string& text) {
    SDL_SetWindowTitle(window_, text.c_str());
}

TWindowRect SdlSystem::GetRect() const {
    int x, y, w, h, left, top, right, bottom;
    SDL_GetWindowPosition(window_, &x, &y);
    SDL_GetWindowSize(window_, &w, &h);
    Borders(&left, &top, &right, &bottom);
    return {x - left, y - top, x + w + right, y + h + bottom};
}

void SdlSystem::Move(int left, int top, int width, int height) {
    int bl, bt, br, bb;
    Borders(&bl, &bt, &br, &bb);
    SDL_SetWindowPosition(window_, left + bl, top + bt);
    SetClientSize(width - bl - br, height - bt - bb);
}
