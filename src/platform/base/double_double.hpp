// Double-double arithmetic for the elementary functions: a value carried as an unevaluated sum
// hi + lo with |lo| <= ulp(hi) / 2, about 106 bits. Built from IEEE additions and products
// alone (products split by Veltkamp's method) so that every build rounds the same way; no
// fused multiply-add. Private to the base library.
#pragma once

#include <cmath>

namespace dd {

struct DD {
    double hi;
    double lo;
};

// a + b exactly, for any a, b.
inline DD TwoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// a + b exactly, when |a| >= |b| or a is zero.
inline DD FastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// The upper 26 bits of a, and the rest; |a| must stay below 2^995.
inline DD Split(double a) {
    const double c = 134217729.0 * a;  // 2^27 + 1
    const double hi = c - (c - a);
    return {hi, a - hi};
}

// a * b exactly (barring underflow).
inline DD TwoProd(double a, double b) {
    const double p = a * b;
    const DD x = Split(a), y = Split(b);
    return {p, ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

inline DD Add(DD a, DD b) {
    const DD s = TwoSum(a.hi, b.hi);
    const DD t = TwoSum(a.lo, b.lo);
    const DD u = FastTwoSum(s.hi, s.lo + t.hi);
    return FastTwoSum(u.hi, u.lo + t.lo);
}

inline DD Add(DD a, double b) {
    const DD s = TwoSum(a.hi, b);
    return FastTwoSum(s.hi, s.lo + a.lo);
}

inline DD Neg(DD a) {
    return {-a.hi, -a.lo};
}

inline DD Mul(DD a, DD b) {
    const DD p = TwoProd(a.hi, b.hi);
    return FastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

inline DD Mul(DD a, double b) {
    const DD p = TwoProd(a.hi, b);
    return FastTwoSum(p.hi, p.lo + a.lo * b);
}

inline DD Div(DD a, DD b) {
    const double q = a.hi / b.hi;
    const DD r = Add(a, Neg(Mul(b, q)));  // the remainder a - q * b, nearly exact
    return FastTwoSum(q, r.hi / b.hi);
}

// sqrt t for t >= 0, from the correctly rounded root and its remainder.
inline DD Sqrt(double t) {
    const double r = std::sqrt(t);
    if (r == 0) return {0.0, 0.0};
    const DD sq = TwoProd(r, r);
    return FastTwoSum(r, ((t - sq.hi) - sq.lo) / (2 * r));
}

}  // namespace dd
