// Choosing the drawing driver, opening and closing the game's graphics, and the current driver.
// Depends on the window layer (window_graphics.hpp) for the window and its OpenGL context.
#include <cstdlib>
#include <exception>

#include "platform/draw/graphics.hpp"

namespace {
std::shared_ptr<TVorn2DDriver> g_driver;
int g_default_flags = 0;
std::unique_ptr<TGraphics> g_graphics;
std::shared_ptr<TVorn2DGraphics> g_record;
std::string g_error;
int g_screen_w = 0, g_screen_h = 0;
bool g_exit_registered = false;

void CloseAtExit() {
    if (!WindowSystemRunning()) {
        // The window system is already shut down, and the context with it: nothing is left to
        // release through OpenGL, so only forget the graphics.
        if (g_driver) g_driver->AbandonGraphics();
        TVorn2DGraphics::ClearCurrent();
        g_record.reset();
        g_graphics.reset();
        return;
    }
    CloseGraphics();
}

// Everything of OpenGraphics that may fail; true when the graphics are open and current.
bool TryOpen(int width, int height, int depth, int hertz, int flags) {
    g_graphics =
        CreateWindowGraphics(width, height, depth, hertz, flags | g_default_flags, &g_error);
    if (!g_graphics) return false;
    if (!g_driver->AttachGraphics(g_graphics.get())) {
        g_error = "the OpenGL drawing driver could not be set up";
        g_graphics.reset();
        return false;
    }
    g_screen_w = width, g_screen_h = height;
    g_record = TVorn2DGraphics::Create(g_graphics.get(), g_driver.get());
    g_record->MakeCurrent();
    return true;
}
}  // namespace

TVorn2DDriver* CurrentDriver() {
    return g_driver.get();
}

void SelectGraphicsDriver(std::shared_ptr<TVorn2DDriver> driver, int default_flags) {
    if (driver != g_driver) CloseGraphics();
    g_driver = std::move(driver);
    g_default_flags = default_flags;
    AdvanceGraphicsGeneration();
}

TGraphics* OpenGraphics(int width, int height, int depth, int hertz, int flags) {
    CloseGraphics();
    g_error.clear();
    if (!g_driver) SelectGraphicsDriver(CreateGLDriver(), 0);
    bool ok = false;
    try {
        ok = TryOpen(width, height, depth, hertz, flags);
    } catch (const std::exception& e) {
        g_error = std::string("graphics could not be opened: ") + e.what();
    }
    if (!ok) {
        CloseGraphics();
        if (g_error.empty()) g_error = "graphics could not be opened";
        return nullptr;
    }
    AdvanceGraphicsGeneration();
    OnGraphicsOpened();
    if (!g_exit_registered) g_exit_registered = std::atexit(CloseAtExit) == 0;
    return g_graphics.get();
}

const std::string& LastGraphicsError() {
    return g_error;
}

void CloseGraphics() {
    if (!g_graphics && !g_record) return;
    if (g_driver) g_driver->DetachGraphics();
    TVorn2DGraphics::ClearCurrent();
    g_record.reset();
    AdvanceGraphicsGeneration();  // textures of this context go with it
    g_graphics.reset();
    g_screen_w = g_screen_h = 0;
}

void ResetDrawingState() {
    CloseGraphics();
    if (g_driver) AdvanceGraphicsGeneration();  // as choosing another driver would
    g_driver.reset();
    g_default_flags = 0;
    ResetImageDefaults();
}

int ScreenWidth() {
    return g_screen_w;
}

int ScreenHeight() {
    return g_screen_h;
}
