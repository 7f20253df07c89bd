// The browser's TGraphics: a WebGL 2 context on the page's canvas, whose drawing buffer the
// browser shows when control returns to it. Pacing is the page loop's (TAnimationPacer):
// here a present only copies the frame into the drawing buffer.
#include <emscripten/html5.h>

#include <cstdlib>
#include <cstring>

#include "platform/system/detail/web_system.hpp"
#include "platform/system/input.hpp"
#include "platform/system/window_graphics.hpp"

namespace {
constexpr const char* kCanvasTarget = "#canvas";

class WebGraphics : public TGraphics {
  public:
    WebGraphics(EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context, int width, int height, bool headless)
        : context_(context), system_(width, height, headless) {
        SetSystemDriver(&system_);
    }
    ~WebGraphics() override {
        if (CurrentSystemDriver() == &system_) SetSystemDriver(nullptr);
        emscripten_webgl_destroy_context(context_);
    }
    void GetDrawableSize(int* w, int* h) const override {
        emscripten_get_canvas_element_size(kCanvasTarget, w, h);
    }
    void Present(int, const std::function<void()>& draw_frame) override { draw_frame(); }

  private:
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context_;
    WebSystem system_;
};

// WebGL 2 without what the driver does itself: its back buffer is a framebuffer of its own
// that keeps its content, so the canvas needs no alpha, depth, stencil, multisampling or
// preserved buffer.
EMSCRIPTEN_WEBGL_CONTEXT_HANDLE CreateContext() {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.preserveDrawingBuffer = EM_FALSE;
    return emscripten_webgl_create_context(kCanvasTarget, &attributes);
}

// The tools ask for a headless run as on the desktop (SDL_VIDEODRIVER=offscreen); the page
// never does.
bool AskedHeadless() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    return driver && std::strcmp(driver, "offscreen") == 0;
}
}  // namespace

std::unique_ptr<TGraphics> CreateWindowGraphics(int width, int height, int depth, int hertz,
                                                int flags, std::string* error) {
    std::string ignored;
    if (!error) error = &ignored;
    emscripten_set_canvas_element_size(kCanvasTarget, width, height);
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = CreateContext();
    if (context <= 0) {
        *error = "this browser offers no WebGL 2";
        return nullptr;
    }
    emscripten_webgl_make_context_current(context);
    auto graphics = std::make_unique<WebGraphics>(context, width, height, AskedHeadless());
    graphics->SetMode(width, height, depth, hertz, flags);
    return graphics;
}

bool WindowSystemRunning() {
    return true;  // the page outlives the module
}

void OnGraphicsOpened() {
    EnablePolledInput();
}
