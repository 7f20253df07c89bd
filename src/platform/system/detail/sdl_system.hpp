// Private to the platform: the system driver over one SDL window (message pump, focus,
// pointer, relative mouse mode, style and placement). Depends on SDL2 and sdl_events.hpp.
#pragma once

#include <SDL2/SDL.h>

#include "platform/system/detail/sdl_events.hpp"
#include "platform/system/detail/x11_frame.hpp"
#include "platform/system/system_driver.hpp"

class SdlSystem : public TSystemDriver {
  public:
    // `headless`: the offscreen or dummy video driver, where nothing else can have the
    // focus and there is no pointer to move.
    SdlSystem(SDL_Window* window, bool headless);

    void Poll(const std::function<void(const TEvent&)>& emit) override;
    void WaitMessage(int timeout_ms) override;
    void Observe(const TEvent& event) override { Track(event); }
    TWindowHandle Window() const override;
    bool HasFocus() const override { return translation_.focused; }
    void WarpPointer(int x, int y) override;
    void SetPointerVisible(bool visible) override;
    int GetStyle() const override { return style_; }
    void SetStyle(int style) override;
    void SetClientSize(int width, int height) override;
    void SetTitle(const std::string& text) override;
    TWindowRect GetRect() const override;
    void Move(int left, int top, int width, int height) override;
    bool PointerNow(int* x, int* y) const override;

  private:
    void Track(const TEvent& event);
    void EmitUnreportedMotion(bool reported, const std::function<void(const TEvent&)>& emit);
    void ClientOf(const TPointerNow& now, int* x, int* y) const;
    void UpdateRelativeMode();
    void Borders(int* left, int* top, int* right, int* bottom) const;

    SDL_Window* window_;
    bool headless_;
    bool can_warp_;
    bool pointer_visible_ = true;
    int buttons_down_ = 0;
    int screen_x_ = INT32_MIN, screen_y_ = INT32_MIN;  // the pointer on screen at the last Poll
    int style_;
    TSdlTranslation translation_;
};
