// Helpers private to the generators: single-precision constants, a local copy of the random
// generator for column-parallel passes, and running a loop over column ranges on threads.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/numbers.hpp"

namespace gen {

// A single-precision constant as it enters double arithmetic (0.95f -> 0.949999988079071).
constexpr double Single(float v) {
    return v;
}

// One generator step as state * 48271 mod (2^31 - 1), reduced without a division; equal to
// RandomNext for every valid state and cheap enough to inline into pixel loops.
inline int32_t FastRandomNext(int32_t state) {
    const uint64_t product = static_cast<uint64_t>(state) * kRandomMultiplier;
    uint64_t r = (product & kRandomModulus) + (product >> 31);
    if (r >= static_cast<uint64_t>(kRandomModulus)) r -= kRandomModulus;
    return static_cast<int32_t>(r);
}

// The game's generator stepped on a private state: same sequence, no shared writes.
struct LocalRandom {
    int32_t state;
    float Float() {
        state = FastRandomNext(state);
        return RandomFloatOf(state);
    }
};

// Packs alpha and colour bytes into ARGB; the alpha is shifted as a 32-bit value.
inline uint32_t Argb(int a, uint32_t rgb) {
    return static_cast<uint32_t>(a) << 24 | rgb;
}

// Calls fn(begin, end) on `threads` contiguous slices of [0, n); the calling thread runs the
// last slice. With threads <= 1 it is a plain call of fn(0, n).
void ForSlices(int n, int threads, const std::function<void(int, int)>& fn);

}  // namespace gen
