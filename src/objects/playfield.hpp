// The playfield the objects live on: its size, its centre and the height of the light that
// shades them. The game's own window state holds the same numbers; the objects sit below it.
#pragma once

constexpr int kScreenW = 1280;
constexpr int kScreenH = 500;
constexpr int kHalfW = 640;
constexpr int kHalfH = 250;
// Height of the light above the screen centre, in pixels.
constexpr int kLightHeight = 900;
