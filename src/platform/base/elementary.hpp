// The game's own sine, cosine, arc sine (radians) and power, computed from IEEE basic operations
// only, so that every compiler and C library gives the same bits. Each is within one ulp of
// the exact result and correctly rounded nearly always.
#pragma once

namespace elementary {

double Sin(double x);
double Cos(double x);
double ASin(double x);           // NaN outside [-1, 1]
double Pow(double x, double y);  // the special cases of IEEE pow

}  // namespace elementary
