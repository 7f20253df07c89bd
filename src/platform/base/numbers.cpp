// The process-wide random generator and the numeric helpers of numbers.hpp.
#include "platform/base/numbers.hpp"

#include <cmath>

#include "platform/base/elementary.hpp"

namespace {
int32_t g_state = kRandomStartState;

int32_t Step() {
    g_state = RandomNext(g_state);
    return g_state;
}
}  // namespace

int32_t RandomNext(int32_t state) {
    constexpr int32_t q = 44488;  // modulus / multiplier
    constexpr int32_t r = 3399;   // modulus % multiplier
    int32_t next = (state % q) * kRandomMultiplier - (state / q) * r;
    if (next < 0) next += kRandomModulus;
    return next;
}

int32_t RandomJump(int32_t state, uint64_t n) {
    uint64_t result = static_cast<uint64_t>(state);
    uint64_t factor = kRandomMultiplier;
    while (n != 0) {
        if (n & 1) result = result * factor % kRandomModulus;
        factor = factor * factor % kRandomModulus;
        n >>= 1;
    }
    return static_cast<int32_t>(result);
}

float RandomFloat() {
    return RandomFloatOf(Step());
}

double RandomDouble() {
    const int32_t s1 = Step();
    const int32_t s2 = Step();
    const double hi = s1 & 0x1FFFFFFC;
    const double lo = s2 & 0x1FFFFFF8;
    return (hi + lo / 134217728.0) / 536870912.0;
}

double RandomRange(double a, double b) {
    const double r = RandomDouble();
    if (b > a) return r * (b - a) + a;
    return r * (a - b) + b;
}

int RandomInt(int a, int b) {
    // 32-bit wrap-around of the difference, as the integer arithmetic it models.
    const int32_t range = static_cast<int32_t>(static_cast<uint32_t>(b) - static_cast<uint32_t>(a));
    const double r = RandomDouble();
    // The offset is added with 32-bit wrap-around, so no argument pair overflows.
    const auto offset_from = [](int offset, int base) {
        return static_cast<int>(static_cast<uint32_t>(offset) + static_cast<uint32_t>(base));
    };
    if (range > 0) return offset_from(FloatToInt(r * (static_cast<double>(range) + 1)), a);
    return offset_from(FloatToInt(r * (1 - static_cast<double>(range))), b);
}

void SeedRandom(int seed) {
    g_state = seed & 0x7FFFFFFF;
    if (g_state == 0 || g_state == 0x7FFFFFFF) g_state = kRandomStartState;
}

int RandomState() {
    return g_state;
}

int FloatToInt(double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return 2147483647;
    if (x <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(x);
}

double Sin(double degrees) {
    return elementary::Sin(degrees * kDegToRad);
}
double Cos(double degrees) {
    return elementary::Cos(degrees * kDegToRad);
}
double ASin(double x) {
    return elementary::ASin(x) * kRadToDeg;
}
double Sqrt(double x) {
    return std::sqrt(x);
}
double Floor(double x) {
    return std::floor(x);
}
double Abs(double x) {
    return std::fabs(x);
}
double Pow(double x, double y) {
    return elementary::Pow(x, y);
}
double FMod(double x, double y) {
    return std::fmod(x, y);
}
