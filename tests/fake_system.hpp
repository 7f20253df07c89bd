// A scripted system driver for tests: messages to deliver on the next poll, a focus flag,
// and a record of every pointer and window call. Installed for the life of the object.
#pragma once

#include <string>
#include <vector>

#include "platform/system/system_driver.hpp"

class FakeSystem : public TSystemDriver {
  public:
    std::vector<TEvent> pending;  // delivered, in order, by the next Poll
    bool focused = true;
    int polls = 0;
    std::vector<std::pair<int, int>> warps;
    std::vector<bool> visibility;
    std::vector<int> observed;  // ids of injected events, as the pump showed them
    std::vector<int> waits;     // timeouts of WaitMessage calls
    int style = WINDOW_STYLE_VISIBLE | WINDOW_STYLE_CAPTION | WINDOW_STYLE_SYSMENU;
    TWindowRect rect{100, 80, 1390, 610};
    std::string title;
    bool real_pointer = false;  // PointerNow reads `pointer_screen` against `rect`
    std::pair<int, int> pointer_screen{0, 0};

    FakeSystem() : previous_(CurrentSystemDriver()) { SetSystemDriver(this); }
    ~FakeSystem() override { SetSystemDriver(previous_); }

    void Poll(const std::function<void(const TEvent&)>& emit) override {
        ++polls;
        const std::vector<TEvent> now = std::move(pending);
        pending.clear();
        for (const TEvent& e : now)
            emit(e);
    }
    void WaitMessage(int timeout_ms) override { waits.push_back(timeout_ms); }
    void Observe(const TEvent& event) override { observed.push_back(event.id); }
    TWindowHandle Window() const override { return 0x51; }
    bool HasFocus() const override { return focused; }
    void WarpPointer(int x, int y) override { warps.emplace_back(x, y); }
    void SetPointerVisible(bool visible) override { visibility.push_back(visible); }
    int GetStyle() const override { return style; }
    void SetStyle(int s) override { style = s; }
    void SetClientSize(int w, int h) override {
        rect.right = rect.left + w;
        rect.bottom = rect.top + h;
    }
    void SetTitle(const std::string& text) override { title = text; }
    TWindowRect GetRect() const override { return rect; }
    void Move(int left, int top, int w, int h) override { rect = {left, top, left + w, top + h}; }
    bool PointerNow(int* x, int* y) const override {
        if (!real_pointer) return false;
        *x = pointer_screen.first - rect.left, *y = pointer_screen.second - rect.top;
        return true;
    }

  private:
    TSystemDriver* previous_;
};

// A translated event with the given fields.
inline TEvent MakeEvent(int id, int data = 0, int x = 0, int y = 0) {
    TEvent e;
    e.id = id;
    e.data = data;
    e.x = x;
    e.y = y;
    return e;
}
