// The soak's random input and its run over the game's own main loop.
#include "support/soak.hpp"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "game/game_state.hpp"
#include "game/main_loop.hpp"
#include "platform/system/system.hpp"
#include "support/replay.hpp"

namespace {
constexpr int kKeyEscape = 27, kKeyP = 'P', kKeyQ = 'Q';
constexpr int kScreenW = 1280, kScreenH = 500;
constexpr int kMemoryEvery = 64;        // passes between resident-memory readings
constexpr int kProgressEvery = 50'000;  // passes between progress lines of a long run

TReplayAction Action(TReplayKind kind, int a = 0, int b = 0) {
    TReplayAction action;
    action.kind = kind;
    action.a = a;
    action.b = b;
    return action;
}

// Stops the running loop the way a player would: an Escape press.
void PressEscape() {
    TEvent event;
    event.id = EVENT_KEY_DOWN;
    event.data = kKeyEscape;
    InjectEvent(event);
}
// One line on standard error, so a long run shows how it goes and what it reached.
void Progress(int done, long events, long kib) {
    const TObjectCounts now = CountObjects();
    std::fprintf(stderr, "soak: pass %d, %ld events, %d enemies, %d trails, %ld KiB resident\n",
                 done, events, now.enemies, now.trails, kib);
}
// Keeps the higher resident memory reading with the live enemies at that reading.
void Peak(long& kib, int& enemies, long now) {
    if (now < kib) return;
    kib = now;
    enemies = CountObjects().enemies;
}
}  // namespace

int TSoakInput::AnyInt() {
    switch (Below(6)) {
        case 0:
            return INT_MIN;
        case 1:
            return INT_MAX;
        case 2:
            return -1;
        default:
            return static_cast<int>(rng_());
    }
}

void TSoakInput::Move(TReplayScript& out) {
    const uint32_t r = Below(10);
    int x = static_cast<int>(Below(kScreenW + 200)) - 100;
    int y = static_cast<int>(Below(kScreenH + 200)) - 100;
    if (r == 0) x = AnyInt(), y = AnyInt();
    if (r == 1 || r == 2)
        x = static_cast<int>(Below(65536)) - 32768, y = static_cast<int>(Below(65536)) - 32768;
    out.push_back(Action(TReplayKind::kMove, x, y));
}

// Mostly the three buttons and the side ones (4, 5), sometimes any number a window's button
// byte can carry, sometimes any int.
int TSoakInput::Button() {
    const uint32_t r = Below(8);
    if (r == 0) return AnyInt();
    if (r == 1) return static_cast<int>(Below(256));
    return static_cast<int>(Below(7));  // 0..6
}

void TSoakInput::ButtonStorm(TReplayScript& out) {
    for (uint32_t n = 1 + Below(40); n > 0; --n) {
        out.push_back(Action(Below(2) ? TReplayKind::kDown : TReplayKind::kUp, Button()));
        if (Below(4) == 0) Move(out);
        if (Below(8) == 0) Wheel(out);
    }
}

// A few notches either way, or any int a damaged event could carry.
void TSoakInput::Wheel(TReplayScript& out) {
    for (uint32_t n = 1 + Below(8); n > 0; --n) {
        const int steps = Below(4) == 0 ? AnyInt() : static_cast<int>(Below(11)) - 5;
        out.push_back(Action(TReplayKind::kWheel, steps));
    }
}

void TSoakInput::Key(TReplayScript& out, TReplayKind kind, int key) {
    const bool presses = kind == TReplayKind::kKey || kind == TReplayKind::kKeyDown;
    if (key == kKeyQ && presses) {
        if (q_budget_ <= 0) return;
        --q_budget_;
    }
    out.push_back(Action(kind, key));
}

void TSoakInput::KeyStorm(TReplayScript& out) {
    static constexpr TReplayKind kKinds[] = {TReplayKind::kKey, TReplayKind::kKeyDown,
                                             TReplayKind::kKeyUp, TReplayKind::kRepeat};
    for (uint32_t n = 1 + Below(40); n > 0; --n) {
        const int key = Below(16) == 0 ? AnyInt() : static_cast<int>(Below(256));
        Key(out, kKinds[Below(4)], key);
    }
}

// Thousands of actions of every kind in one pass.
void TSoakInput::Flood(TReplayScript& out, int count) {
    while (static_cast<int>(out.size()) < count) {
        const uint32_t r = Below(5);
        if (r == 0) Move(out);
        if (r == 1) ButtonStorm(out);
        if (r == 2) KeyStorm(out);
        if (r == 3)
            out.push_back(Action(Below(2) ? TReplayKind::kFocusOut : TReplayKind::kFocusIn));
        if (r == 4) Wheel(out);
    }
}

TReplayScript TSoakInput::Next(int live_enemies, bool paused) {
    q_budget_ = std::max(0, kSoakEnemyCap - live_enemies);
    TReplayScript out;
    // A paused game soon plays again, so most passes run play frames.
    if (paused && Below(20) == 0) out.push_back(Action(TReplayKind::kKey, kKeyP));
    const uint32_t r = Below(1000);
    if (r < 500) return out;
    if (r < 720)
        Move(out);
    else if (r < 750)
        Wheel(out);
    else if (r < 820)
        ButtonStorm(out);
    else if (r < 900)
        KeyStorm(out);
    else if (r < 930)
        for (uint32_t n = 1 + Below(6); n > 0; --n)
            Key(out, TReplayKind::kKey, kKeyP);
    else if (r < 950)
        for (uint32_t n = 1 + Below(50); n > 0; --n)
            Key(out, TReplayKind::kKeyDown, kKeyQ);
    else if (r < 970)
        for (uint32_t n = 1 + Below(4); n > 0; --n)
            out.push_back(Action(Below(2) ? TReplayKind::kFocusOut : TReplayKind::kFocusIn));
    else if (r < 990)
        out.push_back(Action(TReplayKind::kLeave));
    else if (r < 997)
        Key(out, TReplayKind::kKey, kKeyEscape);
    else
        Flood(out, 1000 + static_cast<int>(Below(4000)));
    return out;
}

TSoakReport RunSoak(int passes, uint32_t seed) {
    TSoakReport report;
    TSoakInput random(seed);
    TReplayInput input({});
    const int quarter = std::max(1, passes / 4);
    int done = 0;
    TLoopSteps steps = GameLoopSteps();
    steps.idle = nullptr;  // nothing arrives by waiting
    steps.before_pass = [&](int) {
        const TReplayScript actions =
            random.Next(CountObjects().enemies, Game().pause_image != nullptr);
        report.events += static_cast<long>(actions.size());
        input.DeliverNow(actions);
    };
    steps.after_pass = [&](int) {
        ++done;
        if (Game().pause_image) ++report.paused_passes;
        KeepPeaks(report.peak, CountObjects());
        if (report.failure.empty()) {
            const std::string bad = FirstNonFiniteReal();
            if (!bad.empty())
                report.failure = "pass " + std::to_string(done - 1) + ": " + bad + " is not finite";
            if (!report.failure.empty()) PressEscape();
        }
        if (done % kMemoryEvery == 0 || done == passes) {
            const long kib = ResidentKiB();
            if (done <= quarter) Peak(report.first_quarter_kib, report.first_quarter_enemies, kib);
            if (done > passes - quarter)
                Peak(report.last_quarter_kib, report.last_quarter_enemies, kib);
        }
        if (done % kProgressEvery == 0) Progress(done, report.events, ResidentKiB());
    };
    while (done < passes && report.failure.empty()) {
        steps.max_passes = passes - done;
        ++report.loops;
        RunMainLoop(steps);
    }
    report.passes = done;
    return report;
}
