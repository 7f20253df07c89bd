// Content: every image, pixmap and field the generation phase fills, under the game's names.
// Depends on platform images and pixmaps only; filled by the generators of this folder.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/base.hpp"
#include "platform/draw/draw.hpp"

// A flat row-major field of single-precision floats, sample (x, y) at x + y * width.
using FloatField = std::vector<float, LargeAllocator<float>>;

struct Content {
    // Screen-sized backdrop layers.
    ImagePtr vignette;
    PixmapPtr vignette_pix;  // frame 0 of `vignette`, kept locked
    ImagePtr backdrop;
    PixmapPtr backdrop_pix;  // frame 0 of `backdrop` as locked for the lattice
    std::vector<int> grid_gaps;
    FloatField walk_map;
    ImagePtr maze;

    // Player ship relief, normals and shadow.
    int player_size = 64;
    int player_half = 0;
    FloatField player_bump;
    FloatField player_normx, player_normy, player_normz;
    FloatField player_soft, player_silhouette;
    ImagePtr player_ship;
    ImagePtr player_shadow;

    // Glows and rings.
    ImagePtr glow_blue;
    ImagePtr glow_red;
    int ring_size = 128;
    float ring_half = 0;
    ImagePtr ring;
    ImagePtr ring_segments;

    // Hole stages and glow.
    int hole_size = 80;
    float hole_half = 0;
    int hole_glow_size = 0;
    ImagePtr hole_glow;
    int hole_spokes = 6;
    float hole_spoke_angle = 0;
    FloatField hole_height;
    std::vector<uint8_t> hole_mask;
    FloatField hole_normx, hole_normy, hole_normz;
    ImagePtr hole_img;

    int glow_white_size = 128;
    ImagePtr glow_white;
    PixmapPtr glow_white_pix;  // frame 0 of `glow_white`, kept locked

    // One shared pixmap handle; ends holding `hole_glow`'s pixmap.
    PixmapPtr work_pix;
};

// Number of stages of the hole opening.
constexpr int kHoleStages = 64;

// The process's generated content, filled once by start-up and read by the game.
Content& Generated();
// Replaces the process's content with a fresh, empty record (for tests).
void ResetGenerated();
