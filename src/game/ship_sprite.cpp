// Relighting the ship sprite: one dot product per pixel, written through the pixmap.
#include "game/ship_sprite.hpp"

#include "generate/content.hpp"

uint32_t ship_pixel(const Content& c, int k, float a, float b, float lz) {
    float v = static_cast<float>(a * static_cast<double>(c.player_normx[k]) +
                                 b * static_cast<double>(c.player_normy[k]) +
                                 lz * static_cast<double>(c.player_normz[k]));
    if (v < 0) v = 0;
    if (v > 1) v = 1;
    const uint32_t shade = static_cast<uint32_t>(FloatToInt(v * 255.0));
    const double bump = c.player_bump[k];
    const uint32_t alpha = static_cast<uint32_t>(FloatToInt(bump * bump * 255));
    return alpha << 24 | shade << 16 | shade << 8 | shade;
}

void relight_ship_sprite(const TPlayFrame& f) {
    const Content& c = Generated();
    const int size = c.player_size;
    // The light turned into the sprite's own frame.
    const float a =
        static_cast<float>(static_cast<double>(f.lx) * f.c + static_cast<double>(f.ly) * f.s);
    const float b =
        static_cast<float>(static_cast<double>(f.ly) * f.c - static_cast<double>(f.lx) * f.s);
    const PixmapPtr pix = LockImage(c.player_ship, 0, 1, 1);
    if (!pix) return;
    for (int i = 0; i < size; ++i) {
        for (int j = 0; j < size; ++j)
            pix->WritePixel(i, j, ship_pixel(c, i + j * size, a, b, f.lz));
    }
    UnlockImage(c.player_ship, 0);
}
