// Numbers the whole game agrees on: the one random generator, degree trigonometry and the
// truncating real-to-integer conversion. Depends on nothing.
#pragma once

#include <cstdint>

// Park-Miller generator constants (multiplier 48271, modulus 2^31 - 1).
constexpr int32_t kRandomModulus = 2147483647;
constexpr int32_t kRandomMultiplier = 48271;
constexpr int32_t kRandomStartState = 0x1234;

// Degree conversion factors, exactly these doubles.
constexpr double kDegToRad = 0.017453292519943295;
constexpr double kRadToDeg = 57.29577951308232;

// One generator step from `state` (Schrage's method, no 64-bit product needed).
int32_t RandomNext(int32_t state);
// The state n steps after `state`, in O(log n): state * 48271^n mod (2^31 - 1).
int32_t RandomJump(int32_t state, uint64_t n);

// Float in [0, 1), one step.
float RandomFloat();
// Double in [0, 1), two steps.
double RandomDouble();
// Double from the smaller bound (included) toward the larger (excluded).
double RandomRange(double a, double b);
// Int between a and b, both included, in either order; always two steps.
int RandomInt(int a, int b);
// Sets the state; 0 and 0x7FFFFFFF (fixed points) fall back to 0x1234.
void SeedRandom(int seed);
// The current state, unchanged.
int RandomState();

// Truncation toward zero, defined for every input: NaN gives 0, out-of-range saturates.
int FloatToInt(double x);

// The float reading of a generator state: (state & 0x0FFFFFF0) / 2^28.
inline float RandomFloatOf(int32_t state) {
    return static_cast<float>(static_cast<double>(state & 0x0FFFFFF0) / 268435456.0);
}

double Sin(double degrees);
double Cos(double degrees);
double ASin(double x);  // result in degrees
double Sqrt(double x);
double Floor(double x);
double Abs(double x);
double Pow(double x, double y);
double FMod(double x, double y);

// The bits of `from` read as a `To` of the same size: std::bit_cast, which the browser
// build's standard library lacks.
template <class To, class From>
constexpr To BitCast(const From& from) {
    static_assert(sizeof(To) == sizeof(From));
    return __builtin_bit_cast(To, from);
}
