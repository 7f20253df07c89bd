// Interim stand-ins for the drawing front end (OpenGraphics, Flip and the few drawing calls
// start-up makes), so the game opens its window before the OpenGL driver lands. Delete
// this file when graphics.cpp arrives: it defines the same functions.
#include <epoxy/gl.h>

#include <cstdlib>

#include "platform/events.hpp"
#include "platform/graphics.hpp"

namespace {
std::unique_ptr<TGraphics> g_graphics;
std::string g_error;
float g_clear[3] = {0, 0, 0};
}  // namespace

void SelectGraphicsDriver(std::shared_ptr<TVorn2DDriver>, int) {}

std::shared_ptr<TVorn2DDriver> CreateGLDriver() {
    return nullptr;
}

TGraphics* OpenGraphics(int width, int height, int depth, int hertz, int flags) {
    CloseGraphics();
    g_graphics = CreateWindowGraphics(width, height, depth, hertz, flags, &g_error);
    if (!g_graphics) return nullptr;
    OnGraphicsOpened();
    static bool registered = false;
    if (!registered) registered = std::atexit(CloseGraphics) == 0;
    return g_graphics.get();
}

const std::string& LastGraphicsError() {
    return g_error;
}

void CloseGraphics() {
    g_graphics.reset();
}

int ScreenWidth() {
    return g_graphics ? g_graphics->width : 0;
}

int ScreenHeight() {
    return g_graphics ? g_graphics->height : 0;
}

void SetBlend(int) {}

void SetClsColor(int r, int g, int b) {
    g_clear[0] = r / 255.0f;
    g_clear[1] = g / 255.0f;
    g_clear[2] = b / 255.0f;
}

void Cls() {
    if (!g_graphics) return;
    glClearColor(g_clear[0], g_clear[1], g_clear[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void Flip(int sync) {
    if (!g_graphics) return;
    RunHooks(FlipHook(), nullptr);
    g_graphics->SwapBuffers(sync);
    Cls();  // the window's own back buffer is not kept; show the clear colour meanwhile
}
