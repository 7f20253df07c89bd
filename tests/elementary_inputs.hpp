// The arguments the elementary functions are checked on: the game's own (whole and fractional
// degrees, the dome's and the ship's powers), edges (multiples of 90 degrees, asin near +-1,
// pow near base 1) and random arguments over each domain, from a fixed seed. Shared by the
// accuracy test and the build-comparison driver.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/base/numbers.hpp"

namespace elementary_inputs {

inline double TwoTo(int e) {  // 2^e, for e in [-1074, 1023]
    if (e < -1000) return TwoTo(e + 100) * TwoTo(-100);
    const uint64_t bits = static_cast<uint64_t>(e + 1023) << 52;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

inline double Next(double v, int steps) {  // `steps` doubles away from v (same sign, finite)
    int64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    bits += v < 0 ? -steps : steps;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// SplitMix64: a fixed, library-free source of test arguments.
class Source {
  public:
    explicit Source(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1p-53; }  // [0, 1)
    double Range(double a, double b) { return a + (b - a) * Unit(); }
    // 2^e with e drawn from [lo, hi), times a random mantissa in [1, 2).
    double LogUniform(int lo, int hi) {
        last_exponent = lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo));
        return (1 + Unit()) * TwoTo(last_exponent);
    }
    int last_exponent = 0;
    double Sign(double v) { return (Next() & 1) ? -v : v; }

  private:
    uint64_t state_;
};

// Radian arguments of sin and cos, about `count` of them.
inline std::vector<double> TrigArguments(int count) {
    std::vector<double> out;
    for (int d = -720; d <= 720; ++d) {  // whole degrees, and sixteenths as floats
        out.push_back(d * kDegToRad);
        for (int s = 1; s < 16; ++s)
            out.push_back(static_cast<double>(static_cast<float>(d + s / 16.0)) * kDegToRad);
    }
    for (int k = -40; k <= 40; ++k)  // near multiples of 90 degrees, in degrees and radians
        for (int j = -20; j <= 20; ++j) {
            out.push_back(Next(90.0 * k, j) * kDegToRad);
            out.push_back(Next(k * 1.5707963267948966, j));
            out.push_back((90.0 * k + j * 1e-9) * kDegToRad);
        }
    out.push_back(0x1.6ac5b262ca1ffp+849);  // hard to reduce: close to a multiple of pi/2
    out.push_back(-0x1.8p1023);
    Source src(1);
    const size_t fixed = out.size();
    for (size_t i = fixed; i < static_cast<size_t>(count); ++i) {
        switch (i % 4) {
            case 0:
                out.push_back(src.Range(-1e6, 1e6) * kDegToRad);
                break;
            case 1:
                out.push_back(static_cast<double>(static_cast<float>(src.Range(-720, 720))) *
                              kDegToRad);
                break;
            case 2:
                out.push_back(src.Sign(src.LogUniform(-40, 24)));
                break;
            default:
                out.push_back(src.Sign(src.LogUniform(20, 1024)));
                break;
        }
    }
    return out;
}

// Arguments of asin in [-1, 1].
inline std::vector<double> AsinArguments(int count) {
    std::vector<double> out;
    for (int k = -1000; k <= 1000; ++k) {
        out.push_back(k / 1000.0);
        out.push_back(static_cast<double>(static_cast<float>(k / 1000.0)));
    }
    for (int j = 0; j < 2000; ++j) {  // next to +-1 and +-1/2
        out.push_back(Next(1.0, -j));
        out.push_back(-Next(1.0, -j));
        out.push_back(Next(0.5, j - 1000));
    }
    Source src(2);
    for (size_t i = out.size(); i < static_cast<size_t>(count); ++i) {
        switch (i % 4) {
            case 0:
                out.push_back(src.Range(-1, 1));
                break;
            case 1:
                out.push_back(src.Sign(1 - src.LogUniform(-60, -1)));
                break;
            case 2:
                out.push_back(src.Sign(src.LogUniform(-40, -1)));
                break;
            default:
                out.push_back(static_cast<double>(static_cast<float>(src.Range(-1, 1))));
        }
    }
    return out;
}

struct PowArgs {
    double x, y;
};

// Arguments of pow: the game's exponents over its bases, then general bases and exponents.
inline std::vector<PowArgs> PowArguments(int count) {
    const double game_exponents[] = {2,
                                     0.5,
                                     4,
                                     5,
                                     1.5,
                                     2.5,
                                     static_cast<float>(0.75f),
                                     static_cast<float>(0.3f),
                                     static_cast<float>(0.2f),
                                     static_cast<float>(0.5f)};
    std::vector<PowArgs> out;
    Source src(3);
    for (double y : game_exponents) {
        const int grid = count / 500;
        for (int k = 0; k <= grid; ++k) {
            out.push_back({static_cast<double>(k) / grid, y});
            out.push_back(
                {static_cast<double>(static_cast<float>(static_cast<double>(k) / grid)), y});
            out.push_back({static_cast<double>(k), y});
        }
        for (int j = 0; j < count / 100; ++j) {
            out.push_back({src.Range(0, 1), y});
            out.push_back({static_cast<double>(static_cast<float>(src.Range(-1, 1))), y});
            out.push_back({src.Range(0, 5000), y});
        }
    }
    for (int j = -500; j <= 500; ++j)  // bases next to 1
        for (double y : {0.3, 2.5, -7.0, 1000.0})
            out.push_back({Next(1.0, j), y});
    for (size_t i = out.size(); i < static_cast<size_t>(count); ++i) {
        switch (i % 5) {
            case 0:
                out.push_back({src.Range(0, 5000), src.Range(-4, 4)});
                break;
            case 1: {  // bases next to 1, with |y log x| up to about 700: log x must keep its
                       // relative precision on both sides of 1
                const double x = 1 + src.Sign(src.LogUniform(-53, -4));
                out.push_back({x, src.Range(-700, 700) / (x > 1 ? x - 1 : 1 - x)});
                break;
            }
            case 2: {  // any base, with |y log x| up to about 700
                const double x = src.LogUniform(-1074, 1024);
                const int e = src.last_exponent < 0 ? -src.last_exponent : src.last_exponent;
                out.push_back({x, src.Range(-1, 1) * 700 / ((e + 1) * 0.6931)});
                break;
            }
            case 3: {  // integer exponents, negative bases included
                const double y = static_cast<double>(static_cast<int>(src.Next() % 129) - 64);
                out.push_back({src.Sign(src.LogUniform(-10, 10)), y});
                break;
            }
            default:
                out.push_back({src.LogUniform(-20, 20), src.Range(-20, 20)});
                break;
        }
    }
    return out;
}

}  // namespace elementary_inputs
