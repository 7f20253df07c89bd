// hole: the portal the token is delivered into, lit per pixel from the generated opening
// stages. `holes` holds at most the newest one. Depends on the records, the generated content
// and the drawing layer.
#pragma once

#include <cstdint>
#include <memory>

#include "objects/records.hpp"
#include "platform/base/base.hpp"

struct hole {
    ms pos;
    int open = 0;  // stage of the opening, 0 (closed) to 63
    float light_x = 0, light_y = 0, light_z = 0;
    color col;
    float alpha = 0;
    uint8_t stillopen = 0;
    // This hole's own link in `holes`; weak, so link and hole never keep each other alive.
    std::weak_ptr<TList<hole>::TLink> list_link;

    // Empties `holes`, then a new hole at (x, y), lit, appended to `holes`.
    static std::shared_ptr<hole> Create(int x, int y);
    // Light and tint for the current position, then a relight.
    int generate();
    // Draws the hole (with its under-glow and bloom while open); relights while it opens.
    int draw();
    // Takes this hole out of `holes`.
    int remove();
    // Lights opening stage `open` into the shared `hole_img` through `work_pix`.
    void relight();
};
using HolePtr = std::shared_ptr<hole>;
