// Replay: script actions become injected events; the game's loop runs over them.
#include "support/replay.hpp"

#include "game/main_loop.hpp"
#include "platform/system/system.hpp"

TReplayInput::TReplayInput(TReplayScript script)
    : script_(std::move(script)), x_(PolledInput().pointer_x), y_(PolledInput().pointer_y) {}

void TReplayInput::Inject(int id, int data) const {
    TEvent event;
    event.id = id;
    event.data = data;
    event.x = x_;
    event.y = y_;
    InjectEvent(event);
}

void TReplayInput::Apply(const TReplayAction& action) {
    switch (action.kind) {
        case TReplayKind::kMove:
            x_ = action.a, y_ = action.b;
            // The first motion after the pointer was outside enters the window first.
            if (!inside_) Inject(EVENT_MOUSE_ENTER, 0);
            inside_ = true;
            Inject(EVENT_MOUSE_MOVE, 0);
            break;
        case TReplayKind::kDown:
            Inject(EVENT_MOUSE_DOWN, action.a);
            break;
        case TReplayKind::kUp:
            Inject(EVENT_MOUSE_UP, action.a);
            break;
        case TReplayKind::kKey:
            Inject(EVENT_KEY_DOWN, action.a);
            Inject(EVENT_KEY_UP, action.a);
            break;
        case TReplayKind::kKeyDown:
            Inject(EVENT_KEY_DOWN, action.a);
            break;
        case TReplayKind::kKeyUp:
            Inject(EVENT_KEY_UP, action.a);
            break;
        case TReplayKind::kRepeat:
            Inject(EVENT_KEY_REPEAT, action.a);
            break;
        case TReplayKind::kLeave:
            inside_ = false;  // a window reports no event of its own for this
            break;
        case TReplayKind::kFocusOut:
            Inject(EVENT_DEACTIVATE, 0);
            break;
        case TReplayKind::kFocusIn:
            Inject(EVENT_ACTIVATE, 0);
            break;
        case TReplayKind::kWheel:
            Inject(EVENT_MOUSE_WHEEL, action.a);
            break;
    }
}

void TReplayInput::Deliver(int pass) {
    bool any = false;
    for (; next_ < script_.size() && script_[next_].pass <= pass; ++next_) {
        if (script_[next_].pass == pass) Apply(script_[next_]), any = true;
    }
    if (any) PumpMessages();
}

void TReplayInput::DeliverNow(const TReplayScript& actions) {
    for (const TReplayAction& action : actions)
        Apply(action);
    if (!actions.empty()) PumpMessages();
}

int RunReplay(const TReplayScript& script, int passes,
              const std::function<void(int pass)>& after_pass) {
    TReplayInput input(script);
    TLoopSteps steps = GameLoopSteps();
    steps.idle = nullptr;  // nothing arrives by waiting in a replay
    steps.before_pass = [&input](int pass) { input.Deliver(pass); };
    steps.after_pass = after_pass;
    steps.max_passes = passes;
    return RunMainLoop(steps);
}
