// The browser's system driver: html5.h callbacks translate the canvas's events as they come
// (between animation frames) and Poll hands them to the pump. The first click takes the
// pointer lock; the game's keys, the wheel and the right button keep their page actions away.
#include "platform/system/detail/web_system.hpp"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include "platform/system/input.hpp"

namespace {
constexpr const char* kCanvasTarget = "#canvas";

WebSystem* Self(void* user) {
    return static_cast<WebSystem*>(user);
}

EM_BOOL OnMove(int, const EmscriptenMouseEvent* e, void* user) {
    double sx, sy;
    Self(user)->Scale(&sx, &sy);
    const int x = int(double(e->targetX) * sx), y = int(double(e->targetY) * sy);
    Self(user)->input().Motion(x, y, int(e->movementX), int(e->movementY));
    return EM_FALSE;
}

EM_BOOL OnDown(int, const EmscriptenMouseEvent* e, void* user) {
    // A lock may only be asked for while the page handles the player's own click.
    if (!Self(user)->input().locked()) emscripten_request_pointerlock(kCanvasTarget, EM_TRUE);
    Self(user)->input().Button(e->button, true);
    return EM_TRUE;  // no text selection, no middle-button scrolling
}

EM_BOOL OnUp(int, const EmscriptenMouseEvent* e, void* user) {
    Self(user)->input().Button(e->button, false);
    return EM_FALSE;
}

EM_BOOL OnLeave(int, const EmscriptenMouseEvent*, void* user) {
    Self(user)->input().Leave();
    return EM_FALSE;
}

EM_BOOL OnWheel(int, const EmscriptenWheelEvent* e, void* user) {
    Self(user)->input().Wheel(e->deltaY);
    return EM_TRUE;  // the page does not scroll
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* e, void* user) {
    const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    const int mods = CanvasModifiers(e->shiftKey, e->ctrlKey, e->altKey, e->metaKey);
    const int code = int(e->keyCode);
    Self(user)->input().Key(code, down, e->repeat, mods);
    return IsGameKey(code) ? EM_TRUE : EM_FALSE;
}

EM_BOOL OnLockChange(int, const EmscriptenPointerlockChangeEvent* e, void* user) {
    Self(user)->input().Lock(e->isActive);
    return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* e, void* user) {
    if (e->hidden) Self(user)->input().Hidden();
    return EM_FALSE;
}

EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void* user) {
    Self(user)->input().Hidden();  // another window took the keyboard, and the lock with it
    return EM_FALSE;
}

const char* const kDocument = EMSCRIPTEN_EVENT_TARGET_DOCUMENT;
const char* const kWindow = EMSCRIPTEN_EVENT_TARGET_WINDOW;

void Listen(void* self) {
    emscripten_set_mousemove_callback(kCanvasTarget, self, EM_TRUE, OnMove);
    emscripten_set_mousedown_callback(kCanvasTarget, self, EM_TRUE, OnDown);
    emscripten_set_mouseup_callback(kWindow, self, EM_TRUE, OnUp);  // also released outside
    emscripten_set_mouseleave_callback(kCanvasTarget, self, EM_TRUE, OnLeave);
    emscripten_set_wheel_callback(kCanvasTarget, self, EM_TRUE, OnWheel);
    emscripten_set_keydown_callback(kWindow, self, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(kWindow, self, EM_TRUE, OnKey);
    emscripten_set_pointerlockchange_callback(kDocument, self, EM_TRUE, OnLockChange);
    emscripten_set_visibilitychange_callback(self, EM_TRUE, OnVisibility);
    emscripten_set_blur_callback(kWindow, self, EM_TRUE, OnBlur);
}
}  // namespace

WebSystem::WebSystem(int width, int height, bool headless)
    : width_(width),
      height_(height),
      style_(WINDOW_STYLE_VISIBLE | WINDOW_STYLE_CAPTION | WINDOW_STYLE_SYSMENU |
             WINDOW_STYLE_MINIMIZEBOX),
      focused_(headless) {
    // Until the first move the pointer rests at the centre, as in a headless run.
    input_.Warp(width / 2, height / 2);
    SetPolledPointer(width / 2, height / 2);
    Listen(this);
}

WebSystem::~WebSystem() {
    emscripten_html5_remove_all_event_listeners();
    if (input_.locked()) emscripten_exit_pointerlock();
}

void WebSystem::Poll(const std::function<void(const TEvent&)>& emit) {
    for (const TEvent& event : input_.Take()) {
        Track(event);
        emit(event);
    }
}

void WebSystem::Track(const TEvent& event) {
    if (event.id == EVENT_ACTIVATE) focused_ = true;
    if (event.id == EVENT_DEACTIVATE) focused_ = false;
}

void WebSystem::SetPointerVisible(bool visible) {
    EM_ASM({ document.getElementById("canvas").style.cursor = $0 ? "" : "none"; }, visible);
}

void WebSystem::SetTitle(const std::string& text) {
    emscripten_set_window_title(text.c_str());
}

void WebSystem::Scale(double* sx, double* sy) const {
    double css_w = 0, css_h = 0;
    emscripten_get_element_css_size(kCanvasTarget, &css_w, &css_h);
    *sx = css_w > 0 ? width_ / css_w : 1.0;
    *sy = css_h > 0 ? height_ / css_h : 1.0;
}
