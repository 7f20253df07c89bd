// Value records every game object carries: `ms` (2D position, velocity or direction),
// `normal3d` (3D vector) and `color` (channels as doubles). Depends on nothing.
#pragma once

#include <memory>

struct ms {
    double x = 0;
    double y = 0;
    float scl_x = 0;
    float scl_y = 0;
    double speed = 0;

    // A new record with every field zero.
    static std::shared_ptr<ms> Create() { return std::make_shared<ms>(); }
    // Scales (x, y) to unit length; returns the length it had (0 for the zero vector).
    double normalize();
};

struct normal3d {
    double x = 0;
    double y = 0;
    double z = 0;

    // Scales to unit length; a zero vector is left unchanged. Returns 0.
    int normalize();
    static std::shared_ptr<normal3d> Create() { return std::make_shared<normal3d>(); }
};

struct color {
    double r = 0;
    double g = 0;
    double b = 0;
    double a = 0;

    // Sets every channel to 0. Returns 0.
    int Clear();
    // Scales (r, g, b) to unit length as normal3d does; `a` untouched. Returns 0.
    int normalize();
    // Multiplies r, g and b by 255; `a` untouched. Returns 0.
    int up();
    static std::shared_ptr<color> Create() { return std::make_shared<color>(); }
};
