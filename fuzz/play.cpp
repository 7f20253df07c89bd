// Fuzzes the started game with arbitrary input: the bytes become platform events (some as
// hand-made SDL events through the SDL translation), delivered through the pump and the
// game's hooks over up to a few hundred passes of the main loop. Start-up runs once per
// process; each input starts play afresh. Every real of the game must stay finite.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "game/game_state.hpp"
#include "game/main_loop.hpp"
#include "game/startup.hpp"
#include "objects/object_state.hpp"
#include "platform/system/detail/sdl_events.hpp"
#include "platform/system/system.hpp"
#include "support/soak.hpp"
#include "support/tool_args.hpp"

namespace {
constexpr size_t kMaxPasses = 300;
constexpr size_t kMaxEvents = 20000;
constexpr int kKeyQ = 'Q';

// Reads the fuzz input front to back; zeros once it runs out.
class TBytes {
  public:
    TBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool More() const { return at_ < size_; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    int32_t Int() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | Byte();
        return static_cast<int32_t>(v);
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

using Pass = std::vector<TEvent>;

TEvent Make(int id, int data, int x = 0, int y = 0) {
    TEvent e;
    e.id = id, e.data = data, e.x = x, e.y = y;
    return e;
}

// A hand-made SDL event of one of the kinds the window translates, filled from the bytes.
void AddSdlEvent(TBytes& in, TSdlTranslation& sdl, Pass& pass) {
    static constexpr uint32_t kTypes[] = {SDL_WINDOWEVENT, SDL_KEYDOWN,         SDL_KEYUP,
                                          SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP,
                                          SDL_MOUSEWHEEL,  SDL_TEXTINPUT};
    SDL_Event e;
    uint8_t raw[sizeof e];
    for (uint8_t& b : raw)
        b = in.Byte();
    std::memcpy(&e, raw, sizeof e);
    e.type = kTypes[in.Byte() % std::size(kTypes)];
    TEvent out[kMaxTranslatedEvents];
    const int n = TranslateSdlEvent(e, sdl, out);
    pass.insert(pass.end(), out, out + n);
}

// Splits the bytes into passes of events.
std::vector<Pass> ReadPasses(TBytes& in) {
    static constexpr int kIds[] = {EVENT_DEACTIVATE,  EVENT_ACTIVATE,   EVENT_CLOSE,
                                   EVENT_KEY_DOWN,    EVENT_KEY_UP,     EVENT_KEY_REPEAT,
                                   EVENT_MOUSE_DOWN,  EVENT_MOUSE_UP,   EVENT_MOUSE_MOVE,
                                   EVENT_MOUSE_WHEEL, EVENT_MOUSE_ENTER};
    std::vector<Pass> passes(1);
    TSdlTranslation sdl;
    size_t events = 0;
    while (in.More() && passes.size() < kMaxPasses && events < kMaxEvents) {
        const size_t before = passes.back().size();
        const uint8_t op = in.Byte();
        if (op < 64) {
            passes.emplace_back();  // the next pass
            continue;
        }
        if (op < 96) {
            AddSdlEvent(in, sdl, passes.back());
        } else if (op < 160) {
            const int data = op & 1 ? in.Int() : in.Byte();
            const int x = in.Int();
            passes.back().push_back(Make(kIds[op % std::size(kIds)], data, x, in.Int()));
        } else {  // a small move, the most common input in play
            const int x = in.Byte() * 5;
            passes.back().push_back(Make(EVENT_MOUSE_MOVE, 0, x, in.Byte() * 2));
        }
        events += passes.back().size() - before;
    }
    return passes;
}

// Play afresh: the started window and content kept, everything else as start-up leaves it.
void FreshPlay() {
    while (QueuedEvents() > 0)
        NextEvent();
    TGameState fresh;
    fresh.window_handle = Game().window_handle;
    Game() = fresh;
    ResetObjects();
    StartPlay();
    FlushKeys();
    FlushMouse();
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("GALLIUM_NOOP", "1", 0);
    RunHeadless(kDefaultToolClock);
    if (!StartUp()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TBytes in(data, size);
    const std::vector<Pass> passes = ReadPasses(in);
    FreshPlay();
    size_t done = 0;
    TLoopSteps steps = GameLoopSteps();
    steps.idle = nullptr;
    steps.before_pass = [&](int) {
        // Q floods stop at the soak's cap, so an input cannot grow without bound.
        int q_budget = kSoakEnemyCap - Objects().enemies.Count();
        for (const TEvent& e : passes[done]) {
            const bool q = e.id == EVENT_KEY_DOWN && e.data == kKeyQ;
            if (q && q_budget-- <= 0) continue;
            InjectEvent(e);
        }
        PumpMessages();
    };
    steps.after_pass = [&](int) {
        ++done;
        if (!FirstNonFiniteReal().empty()) std::abort();
    };
    while (done < passes.size()) {
        steps.max_passes = static_cast<int>(passes.size() - done);
        RunMainLoop(steps);
    }
    return 0;
}
