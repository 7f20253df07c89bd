// Private to the platform: the system driver over the page's canvas (element id "canvas"),
// through emscripten's html5.h. Browser build only. Depends on canvas_input.hpp.
#pragma once

#include "platform/system/detail/canvas_input.hpp"
#include "platform/system/system_driver.hpp"

class WebSystem : public TSystemDriver {
  public:
    // Listens to the canvas, the document and the window. A headless run (the tools') has no
    // player to click the canvas: it starts focused, as the desktop's headless window does.
    WebSystem(int width, int height, bool headless);
    ~WebSystem() override;
    WebSystem(const WebSystem&) = delete;
    WebSystem& operator=(const WebSystem&) = delete;

    void Poll(const std::function<void(const TEvent&)>& emit) override;
    void Observe(const TEvent& event) override { Track(event); }
    TWindowHandle Window() const override { return kCanvas; }
    // Focused from the pointer lock's gain to its loss, or between injected activations.
    bool HasFocus() const override { return focused_; }
    void WarpPointer(int x, int y) override { input_.Warp(x, y); }
    void SetPointerVisible(bool visible) override;
    int GetStyle() const override { return style_; }
    // Only the word changes: a canvas has no frame.
    void SetStyle(int style) override { style_ = style; }
    // The canvas keeps the game's size; the page scales it.
    void SetClientSize(int, int) override {}
    void SetTitle(const std::string& text) override;
    TWindowRect GetRect() const override { return {0, 0, width_, height_}; }
    // There is no window to move: the paused drag does nothing.
    void Move(int, int, int, int) override {}

    TCanvasInput& input() { return input_; }
    // Canvas pixels per CSS pixel, as the page scales the canvas.
    void Scale(double* sx, double* sy) const;

  private:
    void Track(const TEvent& event);

    static constexpr TWindowHandle kCanvas = 1;
    int width_, height_;
    int style_;
    bool focused_;
    TCanvasInput input_;
};
