// Window-manager frames on X11: whether a window manager frames the window (it names itself on
// the root window and reports frame extents), the extents it reports, and an event-driven wait
// for them; and the pointer as the server has it now. SDL's own copy of the extents and of the
// position lags until its next pump; the X server's answer does not. Depends on SDL2 and Xlib.
#include "platform/system/detail/x11_frame.hpp"

#include <SDL2/SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11) && ORB_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>
#include <vector>

namespace {
constexpr int kFrameWaitMs = 1000;  // a window manager that never answers holds us no longer

struct TX11Window {
    Display* display = nullptr;
    Window window = 0;
};

TX11Window X11Of(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return {};
    return {info.info.x11.display, info.info.x11.window};
}

bool g_x_error = false;

int NoteXError(Display*, XErrorEvent*) {
    g_x_error = true;
    return 0;
}

// Reads up to `count` 32-bit items of a window property of the given type; how many were read
// (0 when it is missing, of another type, or the window is gone).
int ReadProperty(Display* d, Window w, const char* name, Atom type, long* out, int count) {
    const Atom atom = XInternAtom(d, name, True);
    if (atom == None) return 0;
    g_x_error = false;
    auto* previous = XSetErrorHandler(NoteXError);  // a vanished window must not end the game
    Atom actual = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(d, w, atom, 0, count, False, type, &actual, &format,
                                          &items, &after, &data);
    XSync(d, False);  // its error, if any, arrives before the handler is put back
    XSetErrorHandler(previous);
    int read = 0;
    if (status == Success && !g_x_error && data && format == 32 && actual == type) {
        const auto* values = reinterpret_cast<const long*>(data);
        for (; read < static_cast<int>(items) && read < count; ++read)
            out[read] = values[read];
    }
    if (data) XFree(data);
    return read;
}

// True when a live window manager names itself on the root window (a stale name left by one
// that has gone does not count) and says it reports frame extents.
bool WindowManagerReportsFrames(Display* d) {
    long wm = 0, self = 0;
    if (ReadProperty(d, DefaultRootWindow(d), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, &wm, 1) != 1)
        return false;
    const auto check = static_cast<Window>(wm);
    if (ReadProperty(d, check, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, &self, 1) != 1 || self != wm)
        return false;
    const Atom extents = XInternAtom(d, "_NET_FRAME_EXTENTS", True);
    constexpr int kMaxSupported = 1024;
    std::vector<long> supported(kMaxSupported);
    const int n = ReadProperty(d, DefaultRootWindow(d), "_NET_SUPPORTED", XA_ATOM, supported.data(),
                               kMaxSupported);
    for (int i = 0; i < n; ++i)
        if (extents != None && static_cast<Atom>(supported[i]) == extents) return true;
    return false;
}

TFrameExtents ReadExtents(const TX11Window& x) {
    long v[4];
    TFrameExtents e;
    if (ReadProperty(x.display, x.window, "_NET_FRAME_EXTENTS", XA_CARDINAL, v, 4) != 4) return e;
    e.known = true;
    e.left = v[0], e.right = v[1], e.top = v[2], e.bottom = v[3];
    return e;
}

// Sleeps until the X server sends something or `ms` pass, and queues what came for SDL.
void WaitForXTraffic(Display* d, int ms) {
    pollfd p{ConnectionNumber(d), POLLIN, 0};
    if (poll(&p, 1, ms) > 0) XEventsQueued(d, QueuedAfterReading);
}

int MillisSince(std::chrono::steady_clock::time_point start) {
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}
}  // namespace

TFrameExtents CurrentFrameExtents(SDL_Window* window) {
    const TX11Window x = X11Of(window);
    return x.display ? ReadExtents(x) : TFrameExtents{};
}

void AwaitFrameExtents(SDL_Window* window, const TFrameExtents& before) {
    const TX11Window x = X11Of(window);
    if (!x.display || !WindowManagerReportsFrames(x.display)) return;
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        const TFrameExtents now = ReadExtents(x);  // a round trip: what was sent is queued
        if (now.known && (!before.known || now != before)) break;
        const int left = kFrameWaitMs - MillisSince(start);
        if (left <= 0) break;
        WaitForXTraffic(x.display, left);
    }
    SDL_PumpEvents();
}

bool X11PointerNow(SDL_Window* window, TPointerNow* out) {
    const TX11Window x = X11Of(window);
    if (!x.display) return false;
    Window root, child;
    int root_x, root_y, win_x, win_y;
    unsigned int mask;
    if (!XQueryPointer(x.display, x.window, &root, &child, &root_x, &root_y, &win_x, &win_y, &mask))
        return false;  // the pointer is on another screen
    *out = {root_x, root_y, win_x, win_y};
    return true;
}

#else

TFrameExtents CurrentFrameExtents(SDL_Window*) {
    return {};
}

void AwaitFrameExtents(SDL_Window*, const TFrameExtents&) {}

bool X11PointerNow(SDL_Window*, TPointerNow*) {
    return false;
}

#endif
