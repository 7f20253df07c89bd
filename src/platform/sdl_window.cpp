// The SDL2 window and OpenGL context behind TGraphics.
#include <SDL2/SDL.h>

#include "platform/window_graphics.hpp"

namespace {
class SdlGraphics : public TGraphics {
  public:
    SdlGraphics(SDL_Window* window, SDL_GLContext context) : window_(window), context_(context) {}
    ~SdlGraphics() override {
        SDL_GL_DeleteContext(context_);
        SDL_DestroyWindow(window_);
    }
    void GetDrawableSize(int* w, int* h) const override { SDL_GL_GetDrawableSize(window_, w, h); }
    void SwapBuffers(int) override { SDL_GL_SwapWindow(window_); }

  private:
    SDL_Window* window_;
    SDL_GLContext context_;
};
}  // namespace

std::unique_ptr<TGraphics> CreateWindowGraphics(int width, int height, int depth, int hertz,
                                                int flags, std::string* error) {
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error) *error = std::string("cannot start the video system: ") + SDL_GetError();
        return nullptr;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* window =
        SDL_CreateWindow("Orbitrants", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                         height, SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!window) {
        if (error) *error = std::string("cannot open a window: ") + SDL_GetError();
        return nullptr;
    }
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        if (error) *error = std::string("no OpenGL 3.3 core context: ") + SDL_GetError();
        SDL_DestroyWindow(window);
        return nullptr;
    }
    auto graphics = std::make_unique<SdlGraphics>(window, context);
    graphics->width = width;
    graphics->height = height;
    graphics->depth = depth;
    graphics->hertz = hertz;
    graphics->flags = flags;
    return graphics;
}

void OnGraphicsOpened() {}
